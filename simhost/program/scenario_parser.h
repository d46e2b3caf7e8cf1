/*
 * The scenario language of the simhost program: a script is one command a
 * line, '#' comments, "quoted texts" for words with blanks. Parsing turns the
 * whole script into commands before anything runs, so a bad line is reported
 * with its number and nothing half-runs.
 */
#ifndef SIMHOST_SCENARIO_PARSER_H
#define SIMHOST_SCENARIO_PARSER_H

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace scenario {

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into words and quoted texts; a '#' outside quotes ends the
// line. Inside quotes, \" and \\ stand for " and \.
bool tokenize(const std::string &line, std::vector<Token> *tokens, std::string *error);

// A whole number in int range, with an optional sign and nothing else.
bool parse_int(const std::string &text, int *value);
// Six hex digits, RRGGBB.
bool parse_colour(const std::string &text, uint32_t *rgb);

// A monitor given as WxH+LEFT+BOTTOM in OS pixels, y up; WxH+LEFT+BOTTOM:none
// is one X-Plane does not cover.
struct Monitor {
    int width = 0, height = 0, left = 0, bottom = 0;
    bool covered = true;
};
bool parse_monitor(const std::string &text, Monitor *monitor, std::string *error);

constexpr int max_monitors = 16;
constexpr int max_monitor_side = 16384;
const Monitor default_monitor = {1920, 1080, 0, 0};

enum class Button { left, right };
enum class CommandPhase { once, begin, end };
enum class MouseAction { move, click, down, drag, up };
enum class Visibility { visible, hidden, none };
enum class WindowMode { free, fullscreen, popout };
enum class CursorKind { standard, hidden, arrow, custom };
enum class LiveKey {
    windows, command_handlers, flight_loops, draw_callbacks, menus, menu_items, avionics_callbacks,
    textures, framebuffers, os_cursors, threads
};

enum class CostKey { dispatches, queries, window_draws, gl_errors };

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Actions.
struct SetMonitors { std::vector<Monitor> monitors; };
struct SetUiScale { int percent = 100; };         // 100, 150 or 200
struct SetXPlane { int version = 12; };           // 11 or 12
struct SetAircraft { bool stock_g1000 = false; }; // panel or stock-g1000
// The simulator's timing (simhost::HostTiming); only the given part changes.
struct SetTiming {
    std::optional<int> bind_delay_frames;   // bind-delay N
    std::optional<bool> cursor_every_move;  // cursor-asked per-frame|every-move
    std::optional<bool> geometry_at_once;   // geometry-follows-mode next-frame|at-once
};
struct SetView { bool outside = false; };        // view outside|cockpit
// A stock device's brightness rheostat (0 to 1) and its bus's volts ratio.
struct SetRheostat { int device = 0; double ratio = 1; };   // rheostat DEVICE RATIO
struct SetBus { int device = 0; double ratio = 1; };        // bus DEVICE RATIO
struct SetUnpoweredScreens { bool drawn = true; };          // unpowered-screens drawn|dark
// device N [WxH] bound|unbound: a stock device's screen size, and whether the aircraft uses it.
struct SetDevice { int device = 0; int width = 0; int height = 0; bool bound = false; };
struct Load { std::string path; };               // empty: the default plug-in
struct Enable {};
struct Disable {};
struct Unload {};
struct RunFrames { int count = 0; };
struct SetPanel { bool both = true; int value = 2; };
// The host's OpenGL harshness: one item on or off, or every item ("all").
struct SetGlState { std::string item; bool on = true; };
// The items "gl-state ITEM on|off" names.
extern const char *const gl_state_items[11];
struct RunCommand { std::string name; CommandPhase phase = CommandPhase::once; };
struct ChooseMenu { std::string path; };
struct Mouse { MouseAction action = MouseAction::move; int x = 0, y = 0; Button button = Button::left; };
struct Shot { std::string name; };
struct Mark {};
struct WriteSettings {
    bool remove = false;
    std::vector<std::string> lines;
    bool bom = false;                 // the file starts with a UTF-8 byte-order mark
};
struct EditSettings { std::vector<std::string> lines; };   // into the file as it is, at once
struct Echo { std::string text; };
struct OsClose { std::string title; };
// What hosting the plug-in costs: counting starts again (cost reset), or the
// counts and handler times since go into the report (cost report).
struct CostReset {};
struct CostReport {};
// Datarefs the simulator lacks from now on: none, or current_gl_fbo and/or viewport.
struct SetMissingDatarefs { bool current_gl_fbo = false; bool viewport = false; };
// A click handler that returns 0 ends the run (on, the default) or passes the click on (off).
struct SetStrictClicks { bool on = true; };
// Inside avionics callbacks the view datarefs keep the pass before's values
// (stale, the default) or tell the device's (current).
struct SetAvionicsDatarefs { bool stale = true; };
// Unregistering callbacks on a device invalidates its other handles
// (invalidated, the default) or keeps them (kept).
struct SetAvionicsHandles { bool invalidated = true; };

// Expectations.
struct ExpectLog { std::vector<std::string> texts; };     // in this order, after the mark
struct ExpectNoLog { std::vector<std::string> texts; };   // none of them after the mark
struct ExpectWindow {
    std::string title;
    Visibility visibility = Visibility::visible;
    std::optional<WindowMode> mode;
    std::optional<int> monitor;
    std::optional<Rect> rect;      // global boxels
    std::optional<Rect> os_rect;   // OS pixels
};
struct ExpectCfg { std::string key; std::optional<std::string> value; };  // no value: key absent
struct ExpectCfgCount { std::string key; int count = 0; };  // lines holding the key
struct ExpectCfgLine { int line = 0; std::string text; };   // line N, 1 first, exactly
struct ExpectPixel { int monitor = 0, x = 0, y = 0; uint32_t rgb = 0; int tolerance = 0; };
struct ExpectPopoutPixel { std::string title; int x = 0, y = 0; uint32_t rgb = 0; int tolerance = 0; };
struct ExpectCursor { CursorKind kind = CursorKind::standard; std::string file; };
struct ExpectMenu { std::string name; std::vector<std::string> items; };
struct ExpectMenuCheck { std::string path; bool checked; };
struct ExpectMenuEnabled { std::string path; bool enabled; };   // expect menu-enabled "MENU/ITEM" yes|no
struct ExpectNoMenu { std::string name; };
struct ExpectLive { LiveKey key = LiveKey::windows; int count = 0; };
// The average per frame since the last cost reset is at most this.
struct ExpectCost { CostKey key = CostKey::dispatches; double at_most = 0; };

using Action = std::variant<SetMonitors, SetUiScale, Load, Enable, Disable, Unload, RunFrames, SetPanel,
                            RunCommand, ChooseMenu, Mouse, Shot, Mark, WriteSettings, Echo, OsClose,
                            ExpectLog, ExpectNoLog, ExpectWindow, ExpectCfg, ExpectPixel,
                            ExpectPopoutPixel, ExpectCursor, ExpectMenu, ExpectMenuCheck, ExpectMenuEnabled, ExpectNoMenu, ExpectLive,
                            EditSettings, ExpectCfgCount, ExpectCfgLine, SetXPlane, SetAircraft,
                            SetTiming, SetView, SetRheostat, SetBus, SetUnpoweredScreens, SetDevice, SetGlState, CostReset, CostReport, ExpectCost,
                            SetMissingDatarefs, SetStrictClicks, SetAvionicsDatarefs, SetAvionicsHandles>;

struct Command {
    int line = 0;
    std::string source;   // the line's words as written, comment left out
    Action action;
    bool is_expectation() const;
};

struct ParseError {
    int line = 0;
    std::string message;
};

// Parses a whole script. Besides each line's own form it checks what the
// script as a whole decides: pixels inside the monitors in force at that
// line, and shot names used once.
bool parse_script(const std::string &text, std::vector<Command> *commands, ParseError *error);

const char *live_key_name(LiveKey key);
const char *cost_key_name(CostKey key);   // as scripts write it: "window-draws"

}  // namespace scenario

#endif
