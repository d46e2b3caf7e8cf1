// popups.cfg edited by hand: saved with a byte-order mark, and changed while
// the plug-in runs. What the user wrote must survive the plug-in's writes,
// and what the session saved must reach the file as well.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config.h"
#include "core_test_util.h"

namespace {

namespace fs = std::filesystem;
using vxr_test::LinkedSim;

const std::string bom = "\xEF\xBB\xBF";

// The file a first enable writes: every key at its default, in table order.
const std::string first_file =
    "pfd_nbzl_x = 0\npfd_nbzl_y = 0\npfd_nbzl_w = 1024\npfd_nbzl_h = 768\n"
    "pfd_nbzl_fill_window = 1\npfd_nbzl_popup_at_start = 0\npfd_nbzl_monitor_start = -1\n"
    "mfd_nbzl_x = 0\nmfd_nbzl_y = 0\nmfd_nbzl_w = 1024\nmfd_nbzl_h = 768\n"
    "mfd_nbzl_fill_window = 1\nmfd_nbzl_popup_at_start = 0\nmfd_nbzl_monitor_start = -1\n"
    "pfd_nbzl_source = 0\nmfd_nbzl_source = 0\n";

// Lines that hold the key, a byte-order mark before the first line aside.
int lines_holding(const std::string &text, const std::string &key)
{
    int n = 0;
    size_t start = text.compare(0, 3, bom) == 0 ? 3 : 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        n += text.compare(start, key.size() + 2, key + " =") == 0;
        start = nl == std::string::npos ? text.size() : nl + 1;
    }
    return n;
}

TEST(PrefsByteOrderMark, TheFirstKeyIsReadAndTheMarkIsNotWrittenBack)
{
    LinkedSim sim({}, false);
    vxr_test::write_file(sim.root.settings_file(),
        bom + "pfd_nbzl_x = 250\r\npfd_nbzl_w = 800\r\n# mine\r\nmfd_nbzl_monitor_start = 2\r\n");
    core_test::load(sim);

    EXPECT_EQ(pfd_nbzl_prefs.x->get(), 250);
    EXPECT_EQ(pfd_nbzl_prefs.w->get(), 800);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 2);
    EXPECT_EQ(sim.count_logged("added: pfd_nbzl_x"), 0);
    EXPECT_EQ(sim.count_logged("skipped"), 0);

    std::string text = vxr_test::read_file(sim.root.settings_file());
    EXPECT_NE(text.substr(0, 3), bom);
    EXPECT_EQ(lines_holding(text, "pfd_nbzl_x"), 1) << text;
    EXPECT_EQ(text.find("pfd_nbzl_x = 250\r\n"), 0u) << text;
    EXPECT_NE(text.find("# mine\r\n"), std::string::npos) << text;
    EXPECT_EQ(vxr_test::read_cfg(sim.root.settings_file()).entries.size(), 16u);
}

// One hand edit made while the plug-in is enabled, and what the session changes meanwhile.
struct LiveEdit {
    const char *name;
    std::optional<std::string> edited;   // the whole file as the user saves it; none: removed
    std::vector<std::pair<pref_int *popup_prefs::*, int>> pfd_sets;
    std::string expected;                 // the whole file after the disable
};

void PrintTo(const LiveEdit &c, std::ostream *os) { *os << c.name; }

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class PrefsLiveEdit : public testing::TestWithParam<LiveEdit> {};

TEST_P(PrefsLiveEdit, TheDisableWritesOnlyWhatTheSessionChanged)
{
    const LiveEdit &c = GetParam();
    LinkedSim sim;
    ASSERT_EQ(vxr_test::read_file(sim.root.settings_file()), first_file);

    if (c.edited)
        vxr_test::write_file(sim.root.settings_file(), *c.edited);
    else
        fs::remove(sim.root.settings_file());
    for (const auto &[member, value] : c.pfd_sets)
        (pfd_nbzl_prefs.*member)->set(value);
    sim.host->disable();

    EXPECT_EQ(vxr_test::read_file(sim.root.settings_file()), c.expected);
    for (const auto &[member, value] : c.pfd_sets)
        EXPECT_FALSE((pfd_nbzl_prefs.*member)->changed);
}

INSTANTIATE_TEST_SUITE_P(Edits, PrefsLiveEdit, testing::Values(
    LiveEdit{"another_key_edited",
        replaced(first_file, "mfd_nbzl_fill_window = 1", "mfd_nbzl_fill_window = 0"),
        {{&popup_prefs::x, 321}},
        replaced(replaced(first_file, "mfd_nbzl_fill_window = 1", "mfd_nbzl_fill_window = 0"),
            "pfd_nbzl_x = 0", "pfd_nbzl_x = 321")},
    LiveEdit{"nothing_changed_in_the_session",
        "# by hand\nmfd_nbzl_fill_window = 0\n", {}, "# by hand\nmfd_nbzl_fill_window = 0\n"},
    LiveEdit{"comments_own_keys_and_crlf_kept",
        "# my cockpit\r\npfd_nbzl_x=5   # left unit\r\nmy_own_key = yes\r\nmfd_nbzl_w = 640\r\n",
        {{&popup_prefs::x, 1920}, {&popup_prefs::monitor_start, 1}},
        "# my cockpit\r\npfd_nbzl_x = 1920 # left unit\r\nmy_own_key = yes\r\nmfd_nbzl_w = 640\r\n"
        "pfd_nbzl_monitor_start = 1\r\n"},
    LiveEdit{"bad_value_of_an_unchanged_key_kept",
        replaced(first_file, "mfd_nbzl_w = 1024", "mfd_nbzl_w = wide"),
        {{&popup_prefs::h, 600}},
        replaced(replaced(first_file, "mfd_nbzl_w = 1024", "mfd_nbzl_w = wide"),
            "pfd_nbzl_h = 768", "pfd_nbzl_h = 600")},
    LiveEdit{"both_changed_the_session_wins",
        replaced(first_file, "pfd_nbzl_w = 1024", "pfd_nbzl_w = 900"),
        {{&popup_prefs::w, 1280}},
        replaced(first_file, "pfd_nbzl_w = 1024", "pfd_nbzl_w = 1280")},
    LiveEdit{"changed_key_twice_written_once_unchanged_twice_kept",
        "pfd_nbzl_w = 900\nmfd_nbzl_h = 700\npfd_nbzl_w = 901\nmfd_nbzl_h = 701\n",
        {{&popup_prefs::w, 1280}},
        "pfd_nbzl_w = 1280\nmfd_nbzl_h = 700\nmfd_nbzl_h = 701\n"},
    LiveEdit{"no_final_line_break",
        "mfd_nbzl_fill_window = 0", {{&popup_prefs::y, 40}},
        "mfd_nbzl_fill_window = 0\npfd_nbzl_y = 40\n"},
    LiveEdit{"file_removed",
        std::nullopt, {{&popup_prefs::fill_window, 0}},
        replaced(first_file, "pfd_nbzl_fill_window = 1", "pfd_nbzl_fill_window = 0")}),
    [](const testing::TestParamInfo<LiveEdit> &info) { return std::string(info.param.name); });

TEST(PrefsLiveEditFile, AFileThatCannotBeReadIsLeftAndTheChangeIsKeptForLater)
{
    LinkedSim sim;
    // Larger than any settings file: not read, so not merged into either.
    std::string huge = "mfd_nbzl_fill_window = 0\n" + std::string(1024 * 1024, '#') + "\n";
    vxr_test::write_file(sim.root.settings_file(), huge);
    pfd_nbzl_prefs.x->set(77);
    sim.mark();
    sim.host->disable();
    EXPECT_EQ(vxr_test::read_file(sim.root.settings_file()), huge);
    EXPECT_TRUE(pfd_nbzl_prefs.x->changed);
    EXPECT_EQ(sim.count_logged("pfd_nbzl_x stays to be saved"), 1);

    // The user puts a readable file back; the next enable writes the change into it.
    vxr_test::write_file(sim.root.settings_file(), "mfd_nbzl_fill_window = 0\n");
    ASSERT_TRUE(sim.host->enable());
    auto cfg = vxr_test::read_cfg(sim.root.settings_file()).entries;
    EXPECT_EQ(cfg["pfd_nbzl_x"], "77");
    EXPECT_EQ(cfg["mfd_nbzl_fill_window"], "0");
    EXPECT_FALSE(pfd_nbzl_prefs.x->changed);
}

}  // namespace
