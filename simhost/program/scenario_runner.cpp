// Each scenario command carried out on the stand-in host, and each
// expectation checked against what the host, its log and its files show.
#include "scenario_runner.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <thread>

#include <XPLMMenus.h>

#include "cfg_file.h"
#include "sim_folder.h"
#include "simhost/utf8_path.h"

namespace fs = std::filesystem;

namespace scenario {

namespace {

Outcome done(const std::string &note = "done") { return Outcome{true, "", "", note}; }

Outcome failed(const std::string &expected, const std::string &found) { return Outcome{false, expected, found, ""}; }

Outcome check(bool held, const std::string &expected, const std::string &found)
{
    return held ? done("held") : failed(expected, found);
}

std::string in_quotes(const std::string &text) { return "\"" + text + "\""; }

std::string quoted_list(const std::vector<std::string> &texts)
{
    std::string out;
    for (const std::string &t : texts)
        out += (out.empty() ? "" : ", ") + in_quotes(t);
    return out;
}

std::string hex_colour(uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb & 0xFFFFFFu);
    return text;
}

bool colour_near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        int ca = static_cast<int>((a >> shift) & 0xFF);
        int cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance)
            return false;
    }
    return true;
}

std::string colour_expectation(uint32_t rgb, int tolerance)
{
    return hex_colour(rgb) + (tolerance > 0 ? " (each channel within " + std::to_string(tolerance) + ")" : "");
}

std::string rect_text(const simhost::Rect &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

const char *mode_name(simhost::WindowMode mode)
{
    switch (mode) {
    case simhost::WindowMode::free: return "free";
    case simhost::WindowMode::fullscreen: return "fullscreen";
    case simhost::WindowMode::popout: return "popout";
    }
    return "?";
}

simhost::WindowMode host_mode(WindowMode mode)
{
    switch (mode) {
    case WindowMode::free: return simhost::WindowMode::free;
    case WindowMode::fullscreen: return simhost::WindowMode::fullscreen;
    case WindowMode::popout: return simhost::WindowMode::popout;
    }
    return simhost::WindowMode::free;
}

simhost::MouseButton host_button(Button b)
{
    return b == Button::right ? simhost::MouseButton::right : simhost::MouseButton::left;
}

std::string cursor_text(const simhost::CursorState &c)
{
    std::string answer;
    switch (c.status) {
    case xplm_CursorDefault: answer = "default"; break;
    case xplm_CursorHidden: answer = "hidden"; break;
    case xplm_CursorArrow: answer = "arrow"; break;
    case xplm_CursorCustom: answer = "custom"; break;
    default: answer = "status " + std::to_string(c.status); break;
    }
    if (!c.desktop)
        return answer;
    return answer + ", the desktop showing " +
           (c.custom_name.empty() ? std::string("none of the plug-in's cursors") : c.custom_name);
}

int live_count(const simhost::LiveObjects &live, LiveKey key)
{
    switch (key) {
    case LiveKey::windows: return live.windows;
    case LiveKey::command_handlers: return live.command_handlers;
    case LiveKey::flight_loops: return live.flight_loops;
    case LiveKey::draw_callbacks: return live.draw_callbacks;
    case LiveKey::menus: return live.menus;
    case LiveKey::menu_items: return live.menu_items;
    case LiveKey::avionics_callbacks: return live.avionics_callbacks;
    case LiveKey::textures: return live.textures;
    case LiveKey::framebuffers: return live.framebuffers;
    case LiveKey::os_cursors: return live.os_cursors;
    case LiveKey::threads: return live.threads;
    }
    return -1;
}

// Scripts write paths with '/'. On Windows the plug-in logs native paths with
// '\', which a '/' in an expected text matches as well.
bool line_contains(const std::string &line, const std::string &text)
{
#ifdef _WIN32
    auto same = [](char in_line, char in_text) { return in_line == in_text || (in_text == '/' && in_line == '\\'); };
    return std::search(line.begin(), line.end(), text.begin(), text.end(), same) != line.end();
#else
    return line.find(text) != std::string::npos;
#endif
}

}  // namespace

ScenarioRunner::ScenarioRunner(RunOptions options, RunReport *report, std::ostream &out, std::ostream &err)
    : options_(std::move(options)), report_(report), out_(out), err_(err)
{
}

ScenarioRunner::~ScenarioRunner() = default;

simhost::Host &ScenarioRunner::host()
{
    if (!host_) {
        simhost::HostOptions host_options;
        host_options.root = options_.root;
        for (size_t i = 0; i < initial_monitors_.size(); i++) {
            host_options.monitors.push_back(initial_monitors_[i].os);
            if (!initial_monitors_[i].covered)
                host_options.uncovered.push_back(static_cast<int>(i));
        }
        host_options.ui_scale = initial_ui_scale_;
        host_options.timing = initial_timing_;
        host_options.echo_log = options_.verbose;
        if (options_.fps > 0)
            host_options.frame_seconds = 1.0 / options_.fps;
        if (options_.kind_gl)
            host_options.gl = simhost::GlHarshness::kind();
        host_options.gl_version = options_.gl_version;
        host_ = std::make_unique<simhost::Host>(host_options);
        host_->set_xplane_version(initial_xplane_version_);
    }
    return *host_;
}

std::string ScenarioRunner::settings_file() const
{
    return simhost::utf8_path(simhost::fs_path(options_.root) / plugin_subfolder / "settings" / "popups.cfg");
}

std::vector<std::string> ScenarioRunner::log_since_mark()
{
    const std::vector<std::string> &all = host().log();
    size_t from = std::min(mark_, all.size());
    return std::vector<std::string>(all.begin() + static_cast<long>(from), all.end());
}

int ScenarioRunner::run(const std::vector<Command> &commands)
{
    int expectations = 0;
    for (const Command &command : commands) {
        if (options_.verbose)
            out_ << command.line << ": " << command.source << std::endl;
        if (!step(command.line, command.source, command.action))
            return 1;
        expectations += command.is_expectation();
    }
    if (host_ && host_->loaded()) {
        if (options_.verbose)
            out_ << "end: unload" << std::endl;
        if (!step(0, "unload (end of script)", Unload{}))
            return 1;
    }
    host_.reset();
    std::string skipped = skipped_ == 0 ? std::string()
                                        : std::to_string(skipped_) + " skipped (no desktop to read the cursor from), ";
    report_->finish("**Passed**: " + std::to_string(expectations - skipped_) + " expectations held, " + skipped +
                    std::to_string(shots_.size()) + " screenshots.");
    return skipped_ == 0 ? 0 : exit_skipped;
}

bool ScenarioRunner::step(int line, const std::string &source, const Action &action)
{
    current_line_ = line;
    Outcome outcome;
    try {
        outcome = std::visit(*this, action);
    } catch (const std::exception &e) {
        outcome = failed("the line to run", std::string("an error: ") + e.what());
    }
    if (outcome.held && outcome.skipped) {
        out_ << options_.script_name << ":" << line << ": skipped: " << outcome.note << std::endl;
        report_->row(line, source, "skipped: " + outcome.note);
        skipped_++;
        return true;
    }
    if (outcome.held) {
        report_->row(line, source, outcome.note);
        return true;
    }
    std::string message = "expected " + outcome.expected + ", found " + outcome.found;
    err_ << options_.script_name << ":" << line << ": " << message << std::endl;
    report_->row(line, source, "**FAILED**: " + message);
    host_.reset();
    report_->finish("**Failed** at line " + std::to_string(line) + ": " + message);
    return false;
}

Outcome ScenarioRunner::operator()(const SetMonitors &c)
{
    std::vector<simhost::Monitor> list;
    for (const Monitor &m : c.monitors)
        list.push_back(simhost::Monitor{simhost::monitor_rect(m.width, m.height, m.left, m.bottom), m.covered});
    if (host_)
        host_->set_os_monitors(list);
    else
        initial_monitors_ = list;
    return done();
}

Outcome ScenarioRunner::operator()(const SetUiScale &c)
{
    if (host_)
        host_->set_ui_scale(c.percent);
    else
        initial_ui_scale_ = c.percent;
    return done();
}

Outcome ScenarioRunner::operator()(const SetXPlane &c)
{
    if (host_)
        host_->set_xplane_version(c.version);
    else
        initial_xplane_version_ = c.version;
    return done();
}

Outcome ScenarioRunner::operator()(const SetAircraft &c)
{
    host().load_aircraft(c.stock_g1000);
    return host().enabled() ? done("the plug-in heard XPLM_MSG_PLANE_LOADED for plane 0") : done();
}

Outcome ScenarioRunner::operator()(const SetTiming &c)
{
    simhost::HostTiming timing = host_ ? host_->timing() : initial_timing_;
    if (c.bind_delay_frames)
        timing.bind_delay_frames = *c.bind_delay_frames;
    if (c.cursor_every_move)
        timing.cursor_every_move = *c.cursor_every_move;
    if (c.geometry_at_once)
        timing.geometry_at_once = *c.geometry_at_once;
    if (host_)
        host_->set_timing(timing);
    else
        initial_timing_ = timing;
    return done();
}

Outcome ScenarioRunner::operator()(const SetView &c)
{
    host().set_outside_view(c.outside);
    return done(c.outside ? "no device is drawn" : "the devices are drawn");
}

Outcome ScenarioRunner::operator()(const SetRheostat &c)
{
    host().set_rheostat(c.device, static_cast<float>(c.ratio));
    return done();
}

Outcome ScenarioRunner::operator()(const SetBus &c)
{
    host().set_bus_volts_ratio(c.device, static_cast<float>(c.ratio));
    return done();
}

Outcome ScenarioRunner::operator()(const SetUnpoweredScreens &c)
{
    host().set_unpowered_drawn(c.drawn);
    return done(c.drawn ? "unpowered screens are drawn" : "unpowered screens are left dark");
}

Outcome ScenarioRunner::operator()(const SetDevice &c)
{
    host().set_device(c.device, c.width, c.height, c.bound);
    return done();
}

Outcome ScenarioRunner::operator()(const Load &c)
{
    std::string path = c.path.empty() ? options_.default_plugin : c.path;
    if (simhost::fs_path(path).is_relative())
        path = simhost::utf8_path(simhost::fs_path(options_.root) / simhost::fs_path(path));
    std::string error;
    if (!host().load(path, &error))
        return failed("the plug-in " + path + " to load", error.empty() ? "it did not" : error);
    return done("loaded " + path);
}

Outcome ScenarioRunner::operator()(const Enable &)
{
    if (!host().enable())
        return failed("the plug-in to enable", host().loaded() ? "it did not" : "no plug-in loaded");
    return done();
}

Outcome ScenarioRunner::operator()(const Disable &)
{
    host().disable();
    return done();
}

Outcome ScenarioRunner::operator()(const Unload &)
{
    host().unload();
    return done();
}

Outcome ScenarioRunner::operator()(const RunFrames &c)
{
    simhost::Host &h = host();
    if (options_.fps <= 0) {
        h.run_frames(c.count);
        return done("frame " + std::to_string(h.frame_count()));
    }
    // Paced: each frame waits for its turn on the wall clock; a late frame
    // runs at once and the schedule starts again from it.
    const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(1.0 / options_.fps));
    for (int i = 0; i < c.count; i++) {
        auto now = std::chrono::steady_clock::now();
        if (next_frame_ < now)
            next_frame_ = now;
        std::this_thread::sleep_until(next_frame_);
        h.run_frames(1);
        next_frame_ += period;
    }
    return done("frame " + std::to_string(h.frame_count()));
}

Outcome ScenarioRunner::operator()(const SetPanel &c)
{
    simhost::PanelPasses passes;
    passes.both = c.both;
    passes.value = c.value;
    host().set_panel_passes(passes);
    return done();
}

Outcome ScenarioRunner::operator()(const SetGlState &c)
{
    simhost::GlHarshness h = host().gl_harshness();
    if (c.item == "all") {
        const bool multisampled = h.multisampled_panel;
        h = c.on ? simhost::GlHarshness{} : simhost::GlHarshness::kind();
        h.multisampled_panel = multisampled && c.on;
    }
    bool *const items[] = {&h.scissor, &h.colour,       &h.textures, &h.pixel_buffers,    &h.graphics_state,
                           &h.framebuffers, &h.caches, &h.strict_check, &h.irregular_passes, &h.multisampled_panel,
                           &h.culling};
    for (size_t i = 0; i < std::size(items); i++) {
        if (c.item == scenario::gl_state_items[i])
            *items[i] = c.on;
    }
    host().set_gl_harshness(h);
    return done();
}

Outcome ScenarioRunner::operator()(const RunCommand &c)
{
    simhost::Host::CommandAction action = simhost::Host::CommandAction::once;
    if (c.phase == CommandPhase::begin)
        action = simhost::Host::CommandAction::begin;
    else if (c.phase == CommandPhase::end)
        action = simhost::Host::CommandAction::end;
    if (!host().command(c.name, action))
        return failed("a command " + c.name, "no such command");
    return done();
}

Outcome ScenarioRunner::operator()(const ChooseMenu &c)
{
    if (!host().choose_menu(c.path))
        return failed("a menu item " + in_quotes(c.path), "no such item");
    return done();
}

Outcome ScenarioRunner::operator()(const Mouse &c)
{
    simhost::Host &h = host();
    simhost::MouseButton b = host_button(c.button);
    switch (c.action) {
    case MouseAction::move: h.mouse_move(c.x, c.y); break;
    case MouseAction::click:
        h.mouse_down(c.x, c.y, b);
        h.mouse_up(c.x, c.y, b);
        break;
    case MouseAction::down: h.mouse_down(c.x, c.y, b); break;
    case MouseAction::drag: h.mouse_drag(c.x, c.y, b); break;
    case MouseAction::up: h.mouse_up(c.x, c.y, b); break;
    }
    return done();
}

Outcome ScenarioRunner::operator()(const Shot &c)
{
    std::vector<std::string> files = host().shot(options_.out_dir, c.name);
    if (files.empty())
        return failed("screenshots " + c.name, "none written");
    std::string names;
    for (const std::string &file : files) {
        shots_.push_back(SheetImage{file, simhost::utf8_path(simhost::fs_path(file).stem())});
        names += (names.empty() ? "" : ", ") + simhost::utf8_path(simhost::fs_path(file).filename());
    }
    return done(names);
}

Outcome ScenarioRunner::operator()(const Mark &)
{
    mark_ = host_ ? host_->log().size() : 0;
    mark_line_ = current_line_;
    return done("log line " + std::to_string(mark_));
}

Outcome ScenarioRunner::operator()(const WriteSettings &c)
{
    std::string file = settings_file();
    std::error_code ec;
    if (c.remove) {
        fs::remove(simhost::fs_path(file), ec);
        if (ec)
            return failed("to remove " + file, ec.message());
        return done("removed");
    }
    fs::create_directories(simhost::fs_path(file).parent_path(), ec);
    std::ofstream out(simhost::fs_path(file), std::ios::binary | std::ios::trunc);
    if (c.bom)
        out << "\xEF\xBB\xBF";
    for (const std::string &line : c.lines)
        out << line << "\n";
    out.close();
    if (!out)
        return failed("to write " + file, "a write error");
    return done("written");
}

// Edits the file in place, as a text editor saves it, while the plug-in may be running.
Outcome ScenarioRunner::operator()(const EditSettings &c)
{
    std::string file = settings_file();
    std::string text;
    if (!read_cfg_bytes(file, &text))
        text.clear();
    for (const std::string &line : c.lines)
        text = edit_cfg_text(text, line);
    std::ofstream out(simhost::fs_path(file), std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        return failed("to write " + file, "a write error");
    return done("edited");
}

Outcome ScenarioRunner::operator()(const Echo &c)
{
    out_ << c.text << std::endl;
    return done();
}

Outcome ScenarioRunner::operator()(const OsClose &c)
{
    if (!host().os_close_window(c.title))
        return failed("a popped-out window " + in_quotes(c.title), "none");
    return done();
}

Outcome ScenarioRunner::operator()(const ExpectLog &c)
{
    std::vector<std::string> lines = log_since_mark();
    size_t next = 0;
    size_t last_match = 0;
    for (size_t i = 0; i < lines.size() && next < c.texts.size(); i++) {
        if (line_contains(lines[i], c.texts[next])) {
            next++;
            last_match = i;
        }
    }
    std::string expected = "log lines containing " + quoted_list(c.texts) + " in this order after " +
                           (mark_line_ > 0 ? "the mark at line " + std::to_string(mark_line_) : "the start");
    if (next == c.texts.size())
        return done("held");
    std::string found;
    if (next == 0)
        found = "no line containing " + in_quotes(c.texts[0]) + " among " + std::to_string(lines.size()) + " lines";
    else
        found = in_quotes(c.texts[next - 1]) + " in " + in_quotes(lines[last_match]) + " but no later line containing " +
                in_quotes(c.texts[next]);
    return failed(expected, found);
}

Outcome ScenarioRunner::operator()(const ExpectNoLog &c)
{
    for (const std::string &line : log_since_mark()) {
        for (const std::string &text : c.texts) {
            if (line_contains(line, text))
                return failed("no log line containing " + in_quotes(text), in_quotes(line));
        }
    }
    return done("held");
}

Outcome ScenarioRunner::operator()(const ExpectWindow &c)
{
    std::string expected = "window " + in_quotes(c.title) + " " +
                           (c.visibility == Visibility::visible ? "visible"
                            : c.visibility == Visibility::hidden ? "hidden"
                                                                 : "none");
    if (c.mode)
        expected += std::string(" mode=") + mode_name(host_mode(*c.mode));
    if (c.monitor)
        expected += " monitor=" + std::to_string(*c.monitor);
    auto same = [](const simhost::Rect &found, const Rect &want) {
        return found.left == want.left && found.top == want.top && found.right == want.right &&
               found.bottom == want.bottom;
    };
    auto text = [](const Rect &r) { return rect_text(simhost::Rect{r.left, r.top, r.right, r.bottom}); };
    if (c.rect)
        expected += " rect=" + text(*c.rect);
    if (c.os_rect)
        expected += " os-rect=" + text(*c.os_rect);

    simhost::WindowState w;
    bool exists = host().window(c.title, &w);
    if (c.visibility == Visibility::none)
        return check(!exists, expected, "one, " + std::string(w.visible ? "visible" : "hidden"));
    if (!exists)
        return failed(expected, "no such window");

    bool held = w.visible == (c.visibility == Visibility::visible);
    if (c.mode)
        held = held && w.mode == host_mode(*c.mode);
    if (c.monitor)
        held = held && w.monitor == *c.monitor;
    if (c.rect)
        held = held && same(w.rect, *c.rect);
    if (c.os_rect)
        held = held && same(w.os_rect, *c.os_rect);
    std::string found = std::string(w.visible ? "visible" : "hidden") + " mode=" + mode_name(w.mode) +
                        " monitor=" + std::to_string(w.monitor) + " rect=" + rect_text(w.rect) +
                        " os-rect=" + rect_text(w.os_rect);
    return check(held, expected, found);
}

Outcome ScenarioRunner::operator()(const ExpectCfg &c)
{
    std::string file = settings_file();
    std::string expected = c.value ? "popups.cfg holding " + c.key + " = " + *c.value
                                   : "popups.cfg without " + c.key;
    std::map<std::string, std::string> values;
    if (!read_cfg_file(file, &values))
        return check(!c.value, expected, "no readable " + file);
    auto it = values.find(c.key);
    if (it == values.end())
        return check(!c.value, expected, "no " + c.key);
    return check(c.value && *c.value == it->second, expected, c.key + " = " + it->second);
}

Outcome ScenarioRunner::operator()(const ExpectPixel &c)
{
    simhost::Host &h = host();
    if (c.monitor >= static_cast<int>(h.monitors().size()))
        return failed("a monitor " + std::to_string(c.monitor), std::to_string(h.monitors().size()) + " monitors");
    uint32_t rgb = h.monitor_pixel(c.monitor, c.x, c.y);
    return check(colour_near(rgb, c.rgb, c.tolerance),
                 colour_expectation(c.rgb, c.tolerance) + " at " + std::to_string(c.x) + "," + std::to_string(c.y) +
                     " on monitor " + std::to_string(c.monitor),
                 hex_colour(rgb));
}

Outcome ScenarioRunner::operator()(const ExpectPopoutPixel &c)
{
    std::string expected = colour_expectation(c.rgb, c.tolerance) + " at " + std::to_string(c.x) + "," +
                           std::to_string(c.y) + " in the popped-out window " + in_quotes(c.title);
    uint32_t rgb = 0;
    if (!host().popout_pixel(c.title, c.x, c.y, &rgb))
        return failed(expected, "no such popped-out window, or the pixel lies outside it");
    return check(colour_near(rgb, c.rgb, c.tolerance), expected, hex_colour(rgb));
}

Outcome ScenarioRunner::operator()(const ExpectCursor &c)
{
    simhost::CursorState cursor = host().cursor();
    XPLMCursorStatus status = xplm_CursorDefault;
    std::string expected = "cursor ";
    switch (c.kind) {
    case CursorKind::standard: status = xplm_CursorDefault; expected += "default"; break;
    case CursorKind::hidden: status = xplm_CursorHidden; expected += "hidden"; break;
    case CursorKind::arrow: status = xplm_CursorArrow; expected += "arrow"; break;
    case CursorKind::custom: status = xplm_CursorCustom; expected += "custom"; break;
    }
    if (!c.file.empty())
        expected += " " + c.file;
    // Without a desktop the plug-in has no cursors to show (it answers
    // default where it would show one), and off every monitor nothing shows
    // one: nothing to check.
    if (!cursor.desktop) {
        Outcome skipped = done(std::string(host().has_desktop() ? "the pointer is off every monitor"
                                                                : "no desktop (DISPLAY not set)") +
                               " to read the cursor from; the window answered " + cursor_text(cursor));
        skipped.skipped = true;
        return skipped;
    }
    if (cursor.status != status)
        return failed(expected, cursor_text(cursor));
    // Read back from the desktop: a custom cursor must show the plug-in's
    // image (that one when named), any other answer none of them.
    bool held = c.kind != CursorKind::custom ? cursor.custom_name.empty()
                                             : !cursor.custom_name.empty() && (c.file.empty() || cursor.custom_name == c.file);
    return check(held, expected + " on the desktop", cursor_text(cursor));
}

Outcome ScenarioRunner::operator()(const ExpectMenu &c)
{
    std::string expected = "one sub-menu " + in_quotes(c.name) + " holding " +
                           (c.items.empty() ? std::string("no items") : quoted_list(c.items));
    int n = host().count_submenus(c.name);
    if (n != 1)
        return failed(expected, std::to_string(n) + " such sub-menus");
    std::vector<std::string> items = host().menu_items(c.name);
    return check(items == c.items, expected, items.empty() ? "no items" : quoted_list(items));
}

Outcome ScenarioRunner::operator()(const ExpectMenuCheck &c)
{
    int check_mark = host().menu_check(c.path);
    auto text = [](int mark) {
        return mark < 0 ? "no such item" : (mark == xplm_Menu_Checked ? "checked" : "unchecked");
    };
    return check((check_mark == xplm_Menu_Checked) == c.checked && check_mark >= 0,
                 in_quotes(c.path) + " " + (c.checked ? "checked" : "unchecked"), text(check_mark));
}

Outcome ScenarioRunner::operator()(const ExpectMenuEnabled &c)
{
    const int enabled = host().menu_enabled(c.path);
    const char *found = enabled < 0 ? "no such item" : (enabled == 1 ? "enabled" : "disabled");
    return check(enabled == (c.enabled ? 1 : 0), in_quotes(c.path) + (c.enabled ? " enabled" : " disabled"), found);
}

Outcome ScenarioRunner::operator()(const ExpectNoMenu &c)
{
    int n = host().count_submenus(c.name);
    return check(n == 0, "no sub-menu " + in_quotes(c.name), std::to_string(n) + " such sub-menus");
}

Outcome ScenarioRunner::operator()(const ExpectLive &c)
{
    int n = live_count(host().live(), c.key);
    return check(n == c.count, std::string("live ") + live_key_name(c.key) + " " + std::to_string(c.count),
                 std::to_string(n));
}

Outcome ScenarioRunner::operator()(const ExpectCfgCount &c)
{
    std::string file = settings_file();
    std::string expected = "popups.cfg with " + std::to_string(c.count) + " lines holding " + c.key;
    std::string text;
    if (!read_cfg_bytes(file, &text))
        return check(c.count == 0, expected, "no readable " + file);
    int n = count_cfg_key(text, c.key);
    return check(n == c.count, expected, std::to_string(n));
}

Outcome ScenarioRunner::operator()(const ExpectCfgLine &c)
{
    std::string file = settings_file();
    std::string expected = "line " + std::to_string(c.line) + " of popups.cfg reading " + in_quotes(c.text);
    std::string text;
    if (!read_cfg_bytes(file, &text))
        return failed(expected, "no readable " + file);
    std::vector<std::string> lines = cfg_lines(text);
    if (static_cast<size_t>(c.line) > lines.size())
        return failed(expected, std::to_string(lines.size()) + " lines");
    const std::string &found = lines[static_cast<size_t>(c.line) - 1];
    return check(found == c.text, expected, in_quotes(found));
}

Outcome ScenarioRunner::operator()(const CostReset &)
{
    host().reset_costs();
    return done("counting from frame " + std::to_string(host().frame_count()));
}

// The counts per frame and the handler times, for the report only: times
// depend on the machine, so no expectation reads them.
Outcome ScenarioRunner::operator()(const CostReport &)
{
    const simhost::HostCosts costs = host().costs();
    char buf[160];
    snprintf(buf, sizeof buf, "%llu frames; per frame: %.2f dispatches, %.2f window draws, %.2f queries, %.2f glGetError",
             static_cast<unsigned long long>(costs.frames), costs.per_frame(&simhost::FrameCosts::dispatches),
             costs.per_frame(&simhost::FrameCosts::window_draws), costs.per_frame(&simhost::FrameCosts::queries),
             costs.per_frame(&simhost::FrameCosts::gl_errors));
    std::string note = buf;
    if (!costs.queries_counted)
        note += " (GL queries not counted here)";
    for (int k = 0; k < simhost::callback_kind_count; k++) {
        const simhost::HandlerTimes &t = costs.handlers[k];
        if (t.count == 0)
            continue;
        snprintf(buf, sizeof buf, "; %s: %llu calls, median %.3f ms, worst %.3f ms",
                 simhost::callback_kind_name(static_cast<simhost::CallbackKind>(k)), static_cast<unsigned long long>(t.count),
                 t.median_ms, t.worst_ms);
        note += buf;
    }
    return done(note);
}

Outcome ScenarioRunner::operator()(const ExpectCost &c)
{
    const simhost::HostCosts costs = host().costs();
    uint64_t simhost::FrameCosts::*count = &simhost::FrameCosts::dispatches;
    switch (c.key) {
    case CostKey::dispatches: count = &simhost::FrameCosts::dispatches; break;
    case CostKey::queries: count = &simhost::FrameCosts::queries; break;
    case CostKey::window_draws: count = &simhost::FrameCosts::window_draws; break;
    case CostKey::gl_errors: count = &simhost::FrameCosts::gl_errors; break;
    }
    char expected[96], found[96];
    snprintf(expected, sizeof expected, "at most %g %s per frame since the cost reset", c.at_most, cost_key_name(c.key));
    if (costs.frames == 0)
        return failed(expected, "no frame since the cost reset");
    if ((c.key == CostKey::queries || c.key == CostKey::gl_errors) && !costs.queries_counted)
        return failed(expected, "GL queries not counted by this stand-in");
    const double average = costs.per_frame(count);
    snprintf(found, sizeof found, "%.3f (%llu in %llu frames)", average,
             static_cast<unsigned long long>(costs.total.*count), static_cast<unsigned long long>(costs.frames));
    return check(average <= c.at_most, expected, found);
}

Outcome ScenarioRunner::operator()(const SetMissingDatarefs &c)
{
    simhost::MissingDatarefs missing;
    missing.current_gl_fbo = c.current_gl_fbo;
    missing.viewport = c.viewport;
    host().set_missing_datarefs(missing);
    return done();
}

Outcome ScenarioRunner::operator()(const SetStrictClicks &c)
{
    host().set_strict_clicks(c.on);
    return done(c.on ? "a click passed through ends the run" : "the simulator takes a click passed through");
}

Outcome ScenarioRunner::operator()(const SetAvionicsDatarefs &c)
{
    simhost::AvionicsHarshness h = host().avionics_harshness();
    h.stale_datarefs = c.stale;
    host().set_avionics_harshness(h);
    return done();
}

Outcome ScenarioRunner::operator()(const SetAvionicsHandles &c)
{
    simhost::AvionicsHarshness h = host().avionics_harshness();
    h.unregister_invalidates = c.invalidated;
    host().set_avionics_harshness(h);
    return done();
}

}  // namespace scenario
