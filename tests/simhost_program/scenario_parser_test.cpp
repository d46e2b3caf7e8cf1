// The scenario language: tokens, values, each command's arguments, and the
// line numbers of errors in whole scripts.
#include <gtest/gtest.h>

#include "scenario_parser.h"

using namespace scenario;

namespace {

std::vector<Token> tokens_of(const std::string &line)
{
    std::vector<Token> tokens;
    std::string error;
    EXPECT_TRUE(tokenize(line, &tokens, &error)) << line << ": " << error;
    return tokens;
}

std::string token_error(const std::string &line)
{
    std::vector<Token> tokens;
    std::string error;
    EXPECT_FALSE(tokenize(line, &tokens, &error)) << line;
    return error;
}

// Parses a script that must be good.
std::vector<Command> parse(const std::string &script)
{
    std::vector<Command> commands;
    ParseError error;
    EXPECT_TRUE(parse_script(script, &commands, &error)) << "line " << error.line << ": " << error.message;
    return commands;
}

// Parses one line that must be good and gives its action.
template <typename T>
T action_of(const std::string &line)
{
    std::vector<Command> commands = parse(line);
    EXPECT_EQ(commands.size(), 1u) << line;
    if (commands.size() != 1 || !std::holds_alternative<T>(commands[0].action)) {
        ADD_FAILURE() << "\"" << line << "\" did not parse to the expected command";
        return T{};
    }
    return std::get<T>(commands[0].action);
}

// Parses a script that must be bad and gives the error.
ParseError error_of(const std::string &script)
{
    std::vector<Command> commands;
    ParseError error;
    EXPECT_FALSE(parse_script(script, &commands, &error)) << script;
    return error;
}

}  // namespace

TEST(Tokenize, WordsQuotedTextsAndComments)
{
    auto t = tokens_of("  expect\tlog \"XPLMStart Complete\" \"a # not a comment\"  # a comment \"x\"");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].text, "expect");
    EXPECT_FALSE(t[0].quoted);
    EXPECT_EQ(t[1].text, "log");
    EXPECT_EQ(t[2].text, "XPLMStart Complete");
    EXPECT_TRUE(t[2].quoted);
    EXPECT_EQ(t[3].text, "a # not a comment");

    auto e = tokens_of(R"(echo "say \"hi\" to C:\\dir and \n" "")");
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[1].text, R"(say "hi" to C:\dir and \n)");
    EXPECT_EQ(e[2].text, "");
    EXPECT_TRUE(e[2].quoted);

    EXPECT_TRUE(tokens_of("   # only a comment").empty());
    EXPECT_TRUE(tokens_of("").empty());
    auto crlf = tokens_of("frames 10\r");
    ASSERT_EQ(crlf.size(), 2u);
    EXPECT_EQ(crlf[1].text, "10");
    auto glued = tokens_of("mark# comment right after");
    ASSERT_EQ(glued.size(), 1u);
    EXPECT_EQ(glued[0].text, "mark");
}

TEST(Tokenize, RejectsBrokenQuotes)
{
    EXPECT_NE(token_error("echo \"never closed").find("unterminated"), std::string::npos);
    EXPECT_NE(token_error("echo \"ends in a backslash\\\"").find("unterminated"), std::string::npos);
    EXPECT_FALSE(token_error("echo \"a\"b").empty());
    EXPECT_FALSE(token_error("echo a\"b\"").empty());
}

TEST(Values, WholeNumbers)
{
    int v = 0;
    EXPECT_TRUE(parse_int("7", &v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(parse_int("-12", &v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(parse_int("+5", &v));
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(parse_int("2147483647", &v));
    EXPECT_EQ(v, 2147483647);
    EXPECT_TRUE(parse_int("-2147483648", &v));
    EXPECT_EQ(v, -2147483647 - 1);
    v = 99;
    for (const char *bad : {"", "-", "+", "1.5", "12a", " 1", "1 ", "0x10", "2147483648", "-2147483649",
                            "99999999999999999999"}) {
        EXPECT_FALSE(parse_int(bad, &v)) << bad;
    }
    EXPECT_EQ(v, 99);
}

TEST(Values, Colours)
{
    uint32_t rgb = 0;
    EXPECT_TRUE(parse_colour("FF8000", &rgb));
    EXPECT_EQ(rgb, 0xFF8000u);
    EXPECT_TRUE(parse_colour("00ffFF", &rgb));
    EXPECT_EQ(rgb, 0x00FFFFu);
    EXPECT_TRUE(parse_colour("000000", &rgb));
    EXPECT_EQ(rgb, 0u);
    for (const char *bad : {"", "FFF", "FF800", "FF80000", "GG0000", "0xFF00", "FF 000", "-F0000"})
        EXPECT_FALSE(parse_colour(bad, &rgb)) << bad;
}

TEST(Values, Monitors)
{
    Monitor m;
    std::string error;
    ASSERT_TRUE(parse_monitor("1920x1080+0+0", &m, &error)) << error;
    EXPECT_EQ(m.width, 1920);
    EXPECT_EQ(m.height, 1080);
    EXPECT_EQ(m.left, 0);
    EXPECT_EQ(m.bottom, 0);
    ASSERT_TRUE(parse_monitor("800x600+-800+0", &m, &error)) << error;
    EXPECT_EQ(m.left, -800);
    EXPECT_EQ(m.bottom, 0);
    ASSERT_TRUE(parse_monitor("1024x768+2944+-100", &m, &error)) << error;
    EXPECT_EQ(m.left, 2944);
    EXPECT_EQ(m.bottom, -100);
    ASSERT_TRUE(parse_monitor("1x1+-5+-7", &m, &error)) << error;
    EXPECT_EQ(m.width, 1);
    EXPECT_EQ(m.bottom, -7);
    EXPECT_TRUE(m.covered);
    ASSERT_TRUE(parse_monitor("1024x768+1920+0:none", &m, &error)) << error;
    EXPECT_FALSE(m.covered) << "a monitor X-Plane does not cover";
    EXPECT_EQ(m.left, 1920);
    EXPECT_EQ(m.height, 768);
    ASSERT_TRUE(parse_monitor("800x600+-800+0", &m, &error)) << error;
    EXPECT_TRUE(m.covered) << "each parse starts covered";

    for (const char *bad : {"1024x768+0+0:", "1024x768+0+0:None", "1024x768+0+0:nonE", "1024x768+0+0none",
                            "1024x768+0+0:none:none", "1024x768+0+0 :none", ":none", "1024x768+0:none+0",
                            "", "800x600", "800x600+0", "800x600+0+", "800x600-800+0", "800x600+0-5", "x600+0+0",
                            "800x+0+0", "-800x600+0+0", "+800x600+0+0", "800x-600+0+0", "800x600+0+0+0",
                            "800X600+0+0", "800x600++0+0", "800 x600+0+0", "800x600+a+0"}) {
        error.clear();
        EXPECT_FALSE(parse_monitor(bad, &m, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_FALSE(parse_monitor("0x600+0+0", &m, &error));
    EXPECT_FALSE(parse_monitor("800x0+0+0", &m, &error));
    EXPECT_FALSE(parse_monitor("16385x600+0+0", &m, &error));
    EXPECT_TRUE(parse_monitor("16384x16384+0+0", &m, &error));
}

TEST(Commands, MonitorsReplaceTheSet)
{
    auto s = action_of<SetMonitors>("monitors 1920x1080+0+0 1024x768+1920+0 1024x768+2944+0  # cockpit");
    ASSERT_EQ(s.monitors.size(), 3u);
    EXPECT_EQ(s.monitors[2].left, 2944);
    EXPECT_EQ(s.monitors[1].width, 1024);

    std::string sixteen = "monitors";
    for (int i = 0; i < 16; i++)
        sixteen += " 100x100+" + std::to_string(i * 100) + "+0";
    EXPECT_EQ(action_of<SetMonitors>(sixteen).monitors.size(), 16u);
    EXPECT_NE(error_of(sixteen + " 100x100+1600+0").message.find("16"), std::string::npos);
    EXPECT_FALSE(error_of("monitors").message.empty());
    EXPECT_NE(error_of("monitors 1920x1080+0+0 nonsense").message.find("nonsense"), std::string::npos);

    auto partly = action_of<SetMonitors>("monitors 1920x1080+0+0 1024x768+1920+0:none 1024x768+2944+0");
    ASSERT_EQ(partly.monitors.size(), 3u);
    EXPECT_TRUE(partly.monitors[0].covered);
    EXPECT_FALSE(partly.monitors[1].covered);
    EXPECT_TRUE(partly.monitors[2].covered);
    EXPECT_NE(error_of("monitors 1024x768+0+0:none 1920x1080+1024+0").message.find("monitor 0 is the main monitor"),
              std::string::npos);
}

TEST(Commands, UiScale)
{
    for (int percent : {100, 150, 200})
        EXPECT_EQ(action_of<SetUiScale>("ui-scale " + std::to_string(percent)).percent, percent);
    for (const char *bad : {"ui-scale", "ui-scale 125", "ui-scale 0", "ui-scale -100", "ui-scale 150%",
                            "ui-scale 1.5", "ui-scale +150", "ui-scale 0150", "ui-scale 150 200"}) {
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
    }
    EXPECT_NE(error_of("ui-scale 125").message.find("100, 150 or 200"), std::string::npos);
    EXPECT_FALSE(parse("ui-scale 200")[0].is_expectation());
}

TEST(Commands, SimulatorVersionAndAircraft)
{
    EXPECT_EQ(action_of<SetXPlane>("xplane 11").version, 11);
    EXPECT_EQ(action_of<SetXPlane>("xplane 12").version, 12);
    EXPECT_TRUE(action_of<SetAircraft>("aircraft stock-g1000").stock_g1000);
    EXPECT_FALSE(action_of<SetAircraft>("aircraft panel").stock_g1000);
    EXPECT_EQ(action_of<SetRheostat>("rheostat 6 0.25").ratio, 0.25);
    EXPECT_EQ(action_of<SetBus>("bus 19 1.05").device, 19);
    EXPECT_FALSE(action_of<SetUnpoweredScreens>("unpowered-screens dark").drawn);
    for (const char *bad : {"xplane", "xplane 10", "xplane 13", "xplane 12.1", "xplane +12", "xplane 11 12",
                            "aircraft", "aircraft stock", "aircraft G1000", "aircraft \"stock-g1000\" panel",
                            "rheostat 6", "rheostat 6 1.5", "rheostat 20 1", "bus -1 1", "bus 7 -0.5",
                            "unpowered-screens off"}) {
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
    }
    EXPECT_NE(error_of("xplane 10").message.find("11 or 12"), std::string::npos);
    EXPECT_NE(error_of("aircraft c172").message.find("panel or stock-g1000"), std::string::npos);
    EXPECT_FALSE(parse("aircraft panel")[0].is_expectation());
    EXPECT_EQ(action_of<ExpectLive>("expect live avionics_callbacks 2").key, LiveKey::avionics_callbacks);
}

TEST(Commands, AnyStockDeviceSizedAndBound)
{
    const SetDevice gns = action_of<SetDevice>("device 2 640x480 bound");
    EXPECT_EQ(gns.device, 2);
    EXPECT_EQ(gns.width, 640);
    EXPECT_EQ(gns.height, 480);
    EXPECT_TRUE(gns.bound);
    const SetDevice copilot = action_of<SetDevice>("device 8 unbound");
    EXPECT_EQ(copilot.width, 0) << "the size kept";
    EXPECT_FALSE(copilot.bound);
    for (const char *bad : {"device 2", "device 20 bound", "device -1 bound", "device 2 640x480", "device 2 640 bound",
                            "device 2 640x480x2 bound", "device 2 64x480 bound", "device 2 x480 bound",
                            "device 7 640x480 bound", "device 2 640x480 on"}) {
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
    }
    EXPECT_NE(error_of("device 6 800x600 bound").message.find("1024x768"), std::string::npos);
    const ExpectMenuEnabled enabled = action_of<ExpectMenuEnabled>("expect menu-enabled \"A/B\" no");
    EXPECT_EQ(enabled.path, "A/B");
    EXPECT_FALSE(enabled.enabled);
    EXPECT_FALSE(error_of("expect menu-enabled \"A/B\" maybe").message.empty());
}

TEST(Commands, LifecycleFramesAndPanel)
{
    EXPECT_EQ(action_of<Load>("load").path, "");
    EXPECT_EQ(action_of<Load>("load \"/some where/vxr_pop.xpl\"").path, "/some where/vxr_pop.xpl");
    parse("enable\ndisable\nunload\nmark");
    EXPECT_TRUE(std::holds_alternative<Enable>(parse("enable")[0].action));
    EXPECT_TRUE(std::holds_alternative<Disable>(parse("disable")[0].action));
    EXPECT_TRUE(std::holds_alternative<Unload>(parse("unload")[0].action));
    EXPECT_TRUE(std::holds_alternative<Mark>(parse("mark")[0].action));
    EXPECT_EQ(action_of<RunFrames>("frames 60").count, 60);

    auto one = action_of<SetPanel>("panel 1");
    EXPECT_FALSE(one.both);
    EXPECT_EQ(one.value, 1);
    EXPECT_EQ(action_of<SetPanel>("panel 0").value, 0);
    EXPECT_TRUE(action_of<SetPanel>("panel both").both);

    for (const char *bad : {"load a b", "enable now", "disable 1", "unload x", "mark here", "frames", "frames 0",
                            "frames -3", "frames ten", "frames 1 2", "panel", "panel all", "panel 1 2"}) {
        ParseError e = error_of(bad);
        EXPECT_EQ(e.line, 1) << bad;
        EXPECT_FALSE(e.message.empty()) << bad;
    }
}

TEST(Commands, GlState)
{
    auto all = action_of<SetGlState>("gl-state kind");
    EXPECT_EQ(all.item, "all");
    EXPECT_FALSE(all.on);
    EXPECT_TRUE(action_of<SetGlState>("gl-state least-kind").on);
    for (const char *item : gl_state_items) {
        auto one = action_of<SetGlState>(std::string("gl-state ") + item + " off");
        EXPECT_EQ(one.item, item);
        EXPECT_FALSE(one.on);
    }
    EXPECT_TRUE(action_of<SetGlState>("gl-state multisample on").on);
    for (const char *bad : {"gl-state", "gl-state unkind", "gl-state all off", "gl-state scissor", "gl-state scissor yes",
                            "gl-state kind now"})
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
}

TEST(Commands, CostsMissingDatarefsAndStrictClicks)
{
    action_of<CostReset>("cost reset");
    action_of<CostReport>("cost report");
    auto e = action_of<ExpectCost>("expect cost window-draws 2");
    EXPECT_EQ(e.key, CostKey::window_draws);
    EXPECT_DOUBLE_EQ(e.at_most, 2);
    e = action_of<ExpectCost>("expect cost queries 0.5");
    EXPECT_EQ(e.key, CostKey::queries);
    EXPECT_DOUBLE_EQ(e.at_most, 0.5);
    EXPECT_EQ(action_of<ExpectCost>("expect cost gl-errors 0").key, CostKey::gl_errors);
    EXPECT_EQ(action_of<ExpectCost>("expect cost dispatches 3.").key, CostKey::dispatches);
    EXPECT_TRUE(parse("expect cost dispatches 1")[0].is_expectation());

    auto m = action_of<SetMissingDatarefs>("datarefs-missing viewport");
    EXPECT_FALSE(m.current_gl_fbo);
    EXPECT_TRUE(m.viewport);
    m = action_of<SetMissingDatarefs>("datarefs-missing viewport current_gl_fbo");
    EXPECT_TRUE(m.current_gl_fbo && m.viewport);
    m = action_of<SetMissingDatarefs>("datarefs-missing none");
    EXPECT_FALSE(m.current_gl_fbo || m.viewport);
    EXPECT_FALSE(action_of<SetStrictClicks>("strict-clicks off").on);
    EXPECT_TRUE(action_of<SetStrictClicks>("strict-clicks on").on);

    for (const char *bad : {"cost", "cost now", "expect cost", "expect cost queries", "expect cost fbos 1",
                            "expect cost queries -1", "expect cost queries 1.2.3", "expect cost queries .",
                            "expect cost queries 1e3", "expect cost queries 1 2", "datarefs-missing",
                            "datarefs-missing panel_render_type", "datarefs-missing none viewport",
                            "strict-clicks", "strict-clicks yes"})
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
}

TEST(Commands, CommandsAndMenus)
{
    auto once = action_of<RunCommand>("command vxr/popup/PFD_NOBEZEL");
    EXPECT_EQ(once.name, "vxr/popup/PFD_NOBEZEL");
    EXPECT_EQ(once.phase, CommandPhase::once);
    EXPECT_EQ(action_of<RunCommand>("command vxr/popup/swap once").phase, CommandPhase::once);
    EXPECT_EQ(action_of<RunCommand>("command vxr/popup/swap begin").phase, CommandPhase::begin);
    EXPECT_EQ(action_of<RunCommand>("command vxr/popup/swap end").phase, CommandPhase::end);
    EXPECT_EQ(action_of<ChooseMenu>("menu \"VXR Popups/Swap G1000 Popups\"").path, "VXR Popups/Swap G1000 Popups");

    EXPECT_NE(error_of("command x/y hold").message.find("hold"), std::string::npos);
    EXPECT_FALSE(error_of("command").message.empty());
    EXPECT_FALSE(error_of("command a b c").message.empty());
    EXPECT_FALSE(error_of("menu \"VXR Popups\"").message.empty());
    EXPECT_FALSE(error_of("menu VXR Popups/Swap").message.empty());
}

TEST(Commands, Mouse)
{
    auto move = action_of<Mouse>("mouse -10 20");
    EXPECT_EQ(move.action, MouseAction::move);
    EXPECT_EQ(move.x, -10);
    EXPECT_EQ(move.y, 20);
    auto click = action_of<Mouse>("click 100 200");
    EXPECT_EQ(click.action, MouseAction::click);
    EXPECT_EQ(click.button, Button::left);
    EXPECT_EQ(action_of<Mouse>("click 1 2 right").button, Button::right);
    EXPECT_EQ(action_of<Mouse>("click 1 2 left").button, Button::left);
    auto down = action_of<Mouse>("down 5 6 right");
    EXPECT_EQ(down.action, MouseAction::down);
    EXPECT_EQ(down.button, Button::right);
    EXPECT_EQ(action_of<Mouse>("drag 7 8").action, MouseAction::drag);
    auto up = action_of<Mouse>("up 9 10");
    EXPECT_EQ(up.action, MouseAction::up);
    EXPECT_EQ(up.x, 9);

    for (const char *bad : {"mouse 1", "mouse 1 2 left", "click 1", "click 1 2 middle", "down x 2", "drag 1 2.5",
                            "up 1 2 left extra"}) {
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
    }
}

TEST(Commands, ShotsSettingsEchoAndOsClose)
{
    EXPECT_EQ(action_of<Shot>("shot after-swap_2.v1").name, "after-swap_2.v1");
    for (const char *bad : {"shot", "shot a b", "shot \"with blank\"", "shot ../up", "shot a/b", "shot .hidden"})
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;

    auto lines = action_of<WriteSettings>("settings \"pfd_nbzl_w = 800\" \"# a comment line\" mfd_nbzl_x=3");
    EXPECT_FALSE(lines.remove);
    ASSERT_EQ(lines.lines.size(), 3u);
    EXPECT_EQ(lines.lines[0], "pfd_nbzl_w = 800");
    EXPECT_EQ(lines.lines[1], "# a comment line");
    EXPECT_EQ(lines.lines[2], "mfd_nbzl_x=3");
    auto none = action_of<WriteSettings>("settings none");
    EXPECT_TRUE(none.remove);
    EXPECT_TRUE(none.lines.empty());
    auto quoted_none = action_of<WriteSettings>("settings \"none\"");
    EXPECT_FALSE(quoted_none.remove);
    ASSERT_EQ(quoted_none.lines.size(), 1u);
    EXPECT_EQ(quoted_none.lines[0], "none");
    EXPECT_FALSE(error_of("settings").message.empty());
    EXPECT_FALSE(error_of("settings none \"a = 1\"").message.empty());

    EXPECT_EQ(action_of<Echo>("echo \"The PFD fills the left display unit.\"").text,
              "The PFD fills the left display unit.");
    EXPECT_FALSE(error_of("echo").message.empty());
    EXPECT_FALSE(error_of("echo two words").message.empty());
    EXPECT_EQ(action_of<OsClose>("os-close \"VXR G1000 MFD Bezelless\"").title, "VXR G1000 MFD Bezelless");
    EXPECT_FALSE(error_of("os-close").message.empty());
}

TEST(Commands, SettingsByHand)
{
    auto bom = action_of<WriteSettings>("settings bom \"pfd_nbzl_w = 800\" \"# mine\"");
    EXPECT_TRUE(bom.bom);
    EXPECT_FALSE(bom.remove);
    EXPECT_EQ(bom.lines, (std::vector<std::string>{"pfd_nbzl_w = 800", "# mine"}));
    auto only_mark = action_of<WriteSettings>("settings bom");
    EXPECT_TRUE(only_mark.bom);
    EXPECT_TRUE(only_mark.lines.empty());
    EXPECT_FALSE(action_of<WriteSettings>("settings \"bom\"").bom);
    EXPECT_EQ(action_of<WriteSettings>("settings \"bom\"").lines, std::vector<std::string>{"bom"});
    auto empty = action_of<WriteSettings>("settings empty");
    EXPECT_FALSE(empty.remove);
    EXPECT_FALSE(empty.bom);
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_FALSE(action_of<WriteSettings>("settings \"a = 1\"").bom);
    for (const char *bad : {"settings \"a = 1\" bom", "settings bom none", "settings empty \"a = 1\"",
                            "settings bom empty", "settings bom bom"})
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;

    auto edit = action_of<EditSettings>("edit-settings \"mfd_nbzl_fill_window = 0\" \"# why\"");
    EXPECT_EQ(edit.lines, (std::vector<std::string>{"mfd_nbzl_fill_window = 0", "# why"}));
    EXPECT_FALSE(error_of("edit-settings").message.empty());
    EXPECT_FALSE(parse("edit-settings \"a = 1\"")[0].is_expectation());
}

TEST(Expectations, LogAndNoLog)
{
    auto log = action_of<ExpectLog>("expect log \"XPLMDisable\" \"XPLMDisable Complete\" XPLMStop");
    ASSERT_EQ(log.texts.size(), 3u);
    EXPECT_EQ(log.texts[1], "XPLMDisable Complete");
    EXPECT_EQ(log.texts[2], "XPLMStop");
    auto no_log = action_of<ExpectNoLog>("expect no-log \"Window Opened\"");
    ASSERT_EQ(no_log.texts.size(), 1u);
    EXPECT_EQ(no_log.texts[0], "Window Opened");
    EXPECT_FALSE(error_of("expect log").message.empty());
    EXPECT_FALSE(error_of("expect no-log").message.empty());
    EXPECT_FALSE(error_of("expect").message.empty());
    EXPECT_NE(error_of("expect weather sunny").message.find("weather"), std::string::npos);
    EXPECT_TRUE(parse("expect log x")[0].is_expectation());
    EXPECT_FALSE(parse("frames 1")[0].is_expectation());
}

TEST(Expectations, Window)
{
    auto plain = action_of<ExpectWindow>("expect window \"VXR G1000 PFD Bezelless\" hidden");
    EXPECT_EQ(plain.title, "VXR G1000 PFD Bezelless");
    EXPECT_EQ(plain.visibility, Visibility::hidden);
    EXPECT_FALSE(plain.mode);
    EXPECT_FALSE(plain.monitor);
    EXPECT_FALSE(plain.rect);

    auto full = action_of<ExpectWindow>("expect window \"T\" visible rect=-10,768,1014,0 monitor=2 mode=fullscreen");
    EXPECT_EQ(full.visibility, Visibility::visible);
    ASSERT_TRUE(full.mode);
    EXPECT_EQ(*full.mode, WindowMode::fullscreen);
    ASSERT_TRUE(full.monitor);
    EXPECT_EQ(*full.monitor, 2);
    ASSERT_TRUE(full.rect);
    EXPECT_EQ(full.rect->left, -10);
    EXPECT_EQ(full.rect->top, 768);
    EXPECT_EQ(full.rect->right, 1014);
    EXPECT_EQ(full.rect->bottom, 0);
    EXPECT_EQ(*action_of<ExpectWindow>("expect window T visible mode=popout").mode, WindowMode::popout);
    EXPECT_EQ(*action_of<ExpectWindow>("expect window T visible mode=free").mode, WindowMode::free);
    EXPECT_EQ(*action_of<ExpectWindow>("expect window T hidden monitor=-1").monitor, -1);
    EXPECT_EQ(action_of<ExpectWindow>("expect window T none").visibility, Visibility::none);
    EXPECT_FALSE(full.os_rect);

    auto popped = action_of<ExpectWindow>("expect window T visible mode=popout monitor=-1 rect=0,384,512,0 "
                                          "os-rect=-1024,768,0,0");
    ASSERT_TRUE(popped.rect);
    ASSERT_TRUE(popped.os_rect);
    EXPECT_EQ(popped.rect->right, 512) << "rect= and os-rect= are told apart";
    EXPECT_EQ(popped.os_rect->left, -1024);
    EXPECT_EQ(popped.os_rect->top, 768);
    EXPECT_EQ(popped.os_rect->right, 0);
    EXPECT_EQ(popped.os_rect->bottom, 0);
    EXPECT_FALSE(action_of<ExpectWindow>("expect window T visible os-rect=0,10,10,0").rect);

    for (const char *bad : {"expect window", "expect window T", "expect window T shown", "expect window T none mode=free",
                            "expect window T visible mode=floating", "expect window T visible mode=free mode=popout",
                            "expect window T visible monitor=one", "expect window T visible rect=1,2,3",
                            "expect window T visible rect=1,2,3,4,5", "expect window T visible rect=1,2,3,",
                            "expect window T visible rect=0,0,10,10", "expect window T visible rect=10,10,0,0",
                            "expect window T visible size=1", "expect window T visible os-rect=1,2,3",
                            "expect window T visible os-rect=10,10,0,0", "expect window T none os-rect=0,10,10,0",
                            "expect window T visible os-rect=0,10,10,0 os-rect=0,10,10,0",
                            "expect window T visible osrect=0,10,10,0", "expect window T visible os-rect=a,10,10,0"}) {
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
    }
}

TEST(Expectations, CfgPixelsAndTolerance)
{
    auto cfg = action_of<ExpectCfg>("expect cfg pfd_nbzl_w 1024");
    EXPECT_EQ(cfg.key, "pfd_nbzl_w");
    ASSERT_TRUE(cfg.value);
    EXPECT_EQ(*cfg.value, "1024");
    EXPECT_FALSE(action_of<ExpectCfg>("expect cfg pfd_nbzl_w none").value);
    EXPECT_EQ(*action_of<ExpectCfg>("expect cfg k \"none\"").value, "none");
    EXPECT_FALSE(error_of("expect cfg pfd_nbzl_w").message.empty());
    EXPECT_FALSE(error_of("expect cfg a b c").message.empty());

    auto exact = action_of<ExpectPixel>("expect pixel 0 64 64 FF0000");
    EXPECT_EQ(exact.monitor, 0);
    EXPECT_EQ(exact.x, 64);
    EXPECT_EQ(exact.y, 64);
    EXPECT_EQ(exact.rgb, 0xFF0000u);
    EXPECT_EQ(exact.tolerance, 0);
    EXPECT_EQ(action_of<ExpectPixel>("expect pixel 0 1919 1079 00ff00 8").tolerance, 8);
    EXPECT_EQ(action_of<ExpectPixel>("expect pixel 0 0 0 000000 255").tolerance, 255);

    auto popout = action_of<ExpectPopoutPixel>("expect popout-pixel \"VXR G1000 MFD Bezelless\" 64 704 00FFFF 6");
    EXPECT_EQ(popout.title, "VXR G1000 MFD Bezelless");
    EXPECT_EQ(popout.x, 64);
    EXPECT_EQ(popout.y, 704);
    EXPECT_EQ(popout.rgb, 0x00FFFFu);
    EXPECT_EQ(popout.tolerance, 6);
    EXPECT_EQ(action_of<ExpectPopoutPixel>("expect popout-pixel T 0 0 123456").tolerance, 0);

    for (const char *bad : {"expect pixel 0 64 64", "expect pixel 0 64 64 FF000", "expect pixel 0 64 64 red",
                            "expect pixel 0 64 64 FF0000 256", "expect pixel 0 64 64 FF0000 -1",
                            "expect pixel 0 64 64 FF0000 4 5", "expect pixel zero 64 64 FF0000",
                            "expect popout-pixel T 1 2", "expect popout-pixel T -1 2 FF0000",
                            "expect popout-pixel T 1 2 FF0000 300"}) {
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
    }
}

TEST(Expectations, CfgCountsAndLines)
{
    auto count = action_of<ExpectCfgCount>("expect cfg-count pfd_nbzl_x 1");
    EXPECT_EQ(count.key, "pfd_nbzl_x");
    EXPECT_EQ(count.count, 1);
    EXPECT_EQ(action_of<ExpectCfgCount>("expect cfg-count k 0").count, 0);
    auto line = action_of<ExpectCfgLine>("expect cfg-line 12 \"mfd_nbzl_fill_window = 0\"");
    EXPECT_EQ(line.line, 12);
    EXPECT_EQ(line.text, "mfd_nbzl_fill_window = 0");
    EXPECT_EQ(action_of<ExpectCfgLine>("expect cfg-line 1 \"\"").text, "");
    EXPECT_TRUE(parse("expect cfg-count k 2")[0].is_expectation());
    EXPECT_TRUE(parse("expect cfg-line 1 x")[0].is_expectation());
    for (const char *bad : {"expect cfg-count k", "expect cfg-count k -1", "expect cfg-count k two",
                            "expect cfg-count k 1 2", "expect cfg-line 0 \"a\"", "expect cfg-line x \"a\"",
                            "expect cfg-line 1", "expect cfg-line 1 a b"})
        EXPECT_FALSE(error_of(bad).message.empty()) << bad;
}

TEST(Expectations, CursorMenusAndLiveObjects)
{
    EXPECT_EQ(action_of<ExpectCursor>("expect cursor default").kind, CursorKind::standard);
    EXPECT_EQ(action_of<ExpectCursor>("expect cursor arrow").kind, CursorKind::arrow);
    EXPECT_EQ(action_of<ExpectCursor>("expect cursor hidden").kind, CursorKind::hidden);
    auto custom = action_of<ExpectCursor>("expect cursor custom resize_ne.png");
    EXPECT_EQ(custom.kind, CursorKind::custom);
    EXPECT_EQ(custom.file, "resize_ne.png");
    EXPECT_EQ(action_of<ExpectCursor>("expect cursor custom").file, "");
    EXPECT_FALSE(error_of("expect cursor arrow hand.png").message.empty());
    EXPECT_FALSE(error_of("expect cursor pointer").message.empty());
    EXPECT_FALSE(error_of("expect cursor").message.empty());

    auto menu = action_of<ExpectMenu>("expect menu \"VXR Popups\" \"PFD POPUP\" \"MFD POPUP\" \"Swap G1000 Popups\"");
    EXPECT_EQ(menu.name, "VXR Popups");
    EXPECT_EQ(menu.items, (std::vector<std::string>{"PFD POPUP", "MFD POPUP", "Swap G1000 Popups"}));
    EXPECT_TRUE(action_of<ExpectMenu>("expect menu \"Empty\"").items.empty());
    EXPECT_FALSE(error_of("expect menu").message.empty());
    EXPECT_EQ(action_of<ExpectNoMenu>("expect no-menu \"VXR Popups\"").name, "VXR Popups");
    EXPECT_FALSE(error_of("expect no-menu a b").message.empty());

    auto windows = action_of<ExpectLive>("expect live windows 0");
    EXPECT_EQ(windows.key, LiveKey::windows);
    EXPECT_EQ(windows.count, 0);
    auto threads = action_of<ExpectLive>("expect live threads 1");
    EXPECT_EQ(threads.key, LiveKey::threads);
    EXPECT_EQ(threads.count, 1);
    // Every key the host counts is accepted under its own name.
    for (int k = 0; k <= static_cast<int>(LiveKey::threads); k++) {
        LiveKey key = static_cast<LiveKey>(k);
        EXPECT_EQ(action_of<ExpectLive>(std::string("expect live ") + live_key_name(key) + " 2").key, key);
    }
    EXPECT_NE(error_of("expect live sockets 0").message.find("sockets"), std::string::npos);
    EXPECT_FALSE(error_of("expect live windows -1").message.empty());
    EXPECT_FALSE(error_of("expect live windows").message.empty());
}

TEST(Scripts, LinesNumberedAsInTheFile)
{
    const std::string script = "# a scenario\n"
                               "\n"
                               "monitors 1920x1080+0+0 1024x768+1920+0   # two\n"
                               "load\n"
                               "   \n"
                               "frames 60\r\n"
                               "expect log \"Window \\\"A\\\"\"   # trailing\n";
    auto commands = parse(script);
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].line, 3);
    EXPECT_EQ(commands[1].line, 4);
    EXPECT_EQ(commands[2].line, 6);
    EXPECT_EQ(commands[3].line, 7);
    EXPECT_EQ(commands[0].source, "monitors 1920x1080+0+0 1024x768+1920+0");
    EXPECT_EQ(commands[3].source, "expect log \"Window \\\"A\\\"\"");
    EXPECT_TRUE(parse("").empty());
    EXPECT_TRUE(parse("# nothing\n\n").empty());
}

TEST(Scripts, FirstBadLineIsReported)
{
    ParseError e = error_of("load\n# fine\nframes 10\nfrobnicate 3\nframes x\n");
    EXPECT_EQ(e.line, 4);
    EXPECT_NE(e.message.find("frobnicate"), std::string::npos);
    EXPECT_EQ(error_of("load\n\necho \"unclosed\n").line, 3);
    EXPECT_EQ(error_of("\"quoted\" first").line, 1);
}

TEST(Scripts, PixelsLieOnTheMonitorsInForce)
{
    // Without a monitors line: one 1920 x 1080 monitor.
    parse("expect pixel 0 1919 1079 000000");
    EXPECT_NE(error_of("expect pixel 1 0 0 000000").message.find("no monitor 1"), std::string::npos);
    EXPECT_NE(error_of("expect pixel 0 1920 0 000000").message.find("outside"), std::string::npos);
    EXPECT_FALSE(error_of("expect pixel 0 0 1080 000000").message.empty());
    EXPECT_FALSE(error_of("expect pixel -1 0 0 000000").message.empty());

    // A monitors line holds from its line on, until the next replaces it.
    const std::string cockpit = "monitors 1920x1080+0+0 1024x768+1920+0 1024x768+2944+0\n";
    parse(cockpit + "expect pixel 2 1023 767 FF8000 4\n");
    ParseError e = error_of(cockpit + "expect pixel 2 10 10 000000\nmonitors 800x600+-800+0\nexpect pixel 1 0 0 000000\n");
    EXPECT_EQ(e.line, 4);
    e = error_of(cockpit + "monitors 800x600+-800+0\nexpect pixel 0 800 10 000000\n");
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(e.message.find("800x600+-800+0"), std::string::npos);

    // Pixels are OS pixels, on covered and uncovered monitors alike, whatever the scale.
    parse("ui-scale 200\nmonitors 1920x1080+0+0 1024x768+1920+0:none\nexpect pixel 1 1023 767 245A7A\n");
    e = error_of("monitors 1920x1080+0+0 1024x768+1920+0:none\nexpect pixel 1 1024 0 245A7A\n");
    EXPECT_NE(e.message.find("1024x768+1920+0:none"), std::string::npos);
}

TEST(Scripts, ShotNamesAreUsedOnce)
{
    parse("shot start\nshot end\n");
    ParseError e = error_of("shot start\nframes 1\nshot start\n");
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(e.message.find("line 1"), std::string::npos);
}
