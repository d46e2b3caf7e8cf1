// The scenario language: tokens, values, one command per line, and the checks
// that need the whole script (monitors in force, shot names).
#include "scenario_parser.h"

#include <cerrno>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

namespace scenario {

bool tokenize(const std::string &line, std::vector<Token> *tokens, std::string *error)
{
    tokens->clear();
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            i++;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token token;
            token.quoted = true;
            i++;
            bool closed = false;
            while (i < line.size()) {
                char q = line[i++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                    q = line[i++];
                token.text += q;
            }
            if (!closed) {
                *error = "unterminated quoted text";
                return false;
            }
            if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#') {
                *error = "a quoted text must be followed by a blank";
                return false;
            }
            tokens->push_back(token);
        } else {
            Token token;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#') {
                if (line[i] == '"') {
                    *error = "a quote inside a word: \"" + line.substr(0, i) + "\"...";
                    return false;
                }
                token.text += line[i++];
            }
            tokens->push_back(token);
        }
    }
    return true;
}

bool parse_int(const std::string &text, int *value)
{
    if (text.empty())
        return false;
    size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (digits == text.size())
        return false;
    for (size_t i = digits; i < text.size(); i++) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    errno = 0;
    long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    *value = static_cast<int>(v);
    return true;
}

bool parse_colour(const std::string &text, uint32_t *rgb)
{
    if (text.size() != 6)
        return false;
    uint32_t v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v << 4 | static_cast<uint32_t>(d);
    }
    *rgb = v;
    return true;
}

namespace {

// Reads "WxH+LEFT+BOTTOM" from left to right.
struct MonitorScanner {
    const std::string &text;
    size_t at = 0;

    bool number(int *value, bool sign_allowed)
    {
        size_t start = at;
        if (sign_allowed && at < text.size() && text[at] == '-')
            at++;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            at++;
        return parse_int(text.substr(start, at - start), value);
    }
    bool literal(char c)
    {
        if (at >= text.size() || text[at] != c)
            return false;
        at++;
        return true;
    }
};

}  // namespace

bool parse_monitor(const std::string &text, Monitor *monitor, std::string *error)
{
    static const std::string uncovered = ":none";
    MonitorScanner scan{text};
    Monitor m;
    if (!scan.number(&m.width, false) || !scan.literal('x') || !scan.number(&m.height, false) ||
        !scan.literal('+') || !scan.number(&m.left, true) || !scan.literal('+') || !scan.number(&m.bottom, true)) {
        *error = "\"" + text + "\" is not a monitor (WxH+LEFT+BOTTOM[:none], e.g. 1024x768+-1024+0)";
        return false;
    }
    if (text.compare(scan.at, std::string::npos, uncovered) == 0) {
        m.covered = false;
    } else if (scan.at != text.size()) {
        *error = "\"" + text + "\" is not a monitor (WxH+LEFT+BOTTOM[:none], e.g. 1024x768+-1024+0)";
        return false;
    }
    if (m.width < 1 || m.height < 1 || m.width > max_monitor_side || m.height > max_monitor_side) {
        *error = "monitor \"" + text + "\": width and height must be 1 to " + std::to_string(max_monitor_side);
        return false;
    }
    *monitor = m;
    return true;
}

const char *const gl_state_items[11] = {"scissor", "colour",  "textures", "pixel-buffers", "graphics-state",
                                        "framebuffers", "caches", "check", "passes", "multisample", "culling"};

const char *live_key_name(LiveKey key)
{
    switch (key) {
    case LiveKey::windows: return "windows";
    case LiveKey::command_handlers: return "command_handlers";
    case LiveKey::flight_loops: return "flight_loops";
    case LiveKey::draw_callbacks: return "draw_callbacks";
    case LiveKey::menus: return "menus";
    case LiveKey::menu_items: return "menu_items";
    case LiveKey::avionics_callbacks: return "avionics_callbacks";
    case LiveKey::textures: return "textures";
    case LiveKey::framebuffers: return "framebuffers";
    case LiveKey::os_cursors: return "os_cursors";
    case LiveKey::threads: return "threads";
    }
    return "?";
}

const char *cost_key_name(CostKey key)
{
    switch (key) {
    case CostKey::dispatches: return "dispatches";
    case CostKey::queries: return "queries";
    case CostKey::window_draws: return "window-draws";
    case CostKey::gl_errors: return "gl-errors";
    }
    return "?";
}

bool Command::is_expectation() const
{
    return std::holds_alternative<ExpectLog>(action) || std::holds_alternative<ExpectNoLog>(action) ||
           std::holds_alternative<ExpectWindow>(action) || std::holds_alternative<ExpectCfg>(action) ||
           std::holds_alternative<ExpectPixel>(action) || std::holds_alternative<ExpectPopoutPixel>(action) ||
           std::holds_alternative<ExpectCursor>(action) || std::holds_alternative<ExpectMenu>(action) ||
           std::holds_alternative<ExpectNoMenu>(action) || std::holds_alternative<ExpectLive>(action) ||
           std::holds_alternative<ExpectCfgCount>(action) || std::holds_alternative<ExpectCfgLine>(action) ||
           std::holds_alternative<ExpectCost>(action);
}

namespace {

using Args = std::vector<Token>;

// Thrown inside this file only, caught by parse_script: a bad line.
struct LineError {
    std::string message;
};

[[noreturn]] void fail(const std::string &message) { throw LineError{message}; }

void count(const Args &a, size_t min, size_t max, const char *usage)
{
    if (a.size() < min || a.size() > max)
        fail(std::string("usage: ") + usage);
}

int integer(const Token &t, const char *what)
{
    int v;
    if (!parse_int(t.text, &v))
        fail(std::string(what) + ": \"" + t.text + "\" is not a whole number");
    return v;
}

std::vector<std::string> texts(const Args &a, size_t from)
{
    std::vector<std::string> out;
    for (size_t i = from; i < a.size(); i++)
        out.push_back(a[i].text);
    return out;
}

Button button(const Args &a, size_t i)
{
    if (i >= a.size() || a[i].text == "left")
        return Button::left;
    if (a[i].text == "right")
        return Button::right;
    fail("\"" + a[i].text + "\" is not a button (left or right)");
}

uint32_t colour(const Token &t)
{
    uint32_t rgb;
    if (!parse_colour(t.text, &rgb))
        fail("\"" + t.text + "\" is not a colour (RRGGBB)");
    return rgb;
}

int tolerance(const Args &a, size_t i)
{
    if (i >= a.size())
        return 0;
    int v = integer(a[i], "tolerance");
    if (v < 0 || v > 255)
        fail("tolerance " + a[i].text + " is not within 0 to 255");
    return v;
}

Action parse_mouse(MouseAction action, const Args &a, const char *usage)
{
    bool with_button = action != MouseAction::move;
    count(a, 2, with_button ? 3 : 2, usage);
    Mouse m;
    m.action = action;
    m.x = integer(a[0], "x");
    m.y = integer(a[1], "y");
    m.button = button(a, 2);
    return m;
}

// LEFT,TOP,RIGHT,BOTTOM with top above bottom, as rect= and os-rect= take it.
Rect rectangle(const std::string &name, const std::string &value)
{
    std::vector<int> edges;
    std::stringstream ss(value);
    std::string part;
    while (std::getline(ss, part, ','))
        edges.push_back(integer(Token{part, false}, name.c_str()));
    if (edges.size() != 4 || value.back() == ',')
        fail(name + " takes four edges: " + name + "=LEFT,TOP,RIGHT,BOTTOM");
    Rect r{edges[0], edges[1], edges[2], edges[3]};
    if (r.top < r.bottom || r.right < r.left)
        fail(name + "=" + value + ": the top lies below the bottom or the right left of the left");
    return r;
}

ExpectWindow parse_expect_window(const Args &a)
{
    const char *usage = "expect window \"TITLE\" visible|hidden|none [mode=free|fullscreen|popout] "
                        "[monitor=N] [rect=L,T,R,B] [os-rect=L,T,R,B]";
    count(a, 2, 6, usage);
    ExpectWindow e;
    e.title = a[0].text;
    static const std::map<std::string, Visibility> visibilities = {
        {"visible", Visibility::visible}, {"hidden", Visibility::hidden}, {"none", Visibility::none}};
    auto v = visibilities.find(a[1].text);
    if (v == visibilities.end())
        fail("\"" + a[1].text + "\" is not visible, hidden or none");
    e.visibility = v->second;
    for (size_t i = 2; i < a.size(); i++) {
        const std::string &opt = a[i].text;
        size_t eq = opt.find('=');
        std::string name = opt.substr(0, eq);
        std::string value = eq == std::string::npos ? "" : opt.substr(eq + 1);
        if (e.visibility == Visibility::none)
            fail("a window expected to be none has no " + name);
        if (name == "mode" && !e.mode) {
            static const std::map<std::string, WindowMode> modes = {
                {"free", WindowMode::free}, {"fullscreen", WindowMode::fullscreen}, {"popout", WindowMode::popout}};
            auto m = modes.find(value);
            if (m == modes.end())
                fail("\"" + value + "\" is not a mode (free, fullscreen or popout)");
            e.mode = m->second;
        } else if (name == "monitor" && !e.monitor) {
            e.monitor = integer(Token{value, false}, "monitor");
        } else if (name == "rect" && !e.rect) {
            e.rect = rectangle(name, value);
        } else if (name == "os-rect" && !e.os_rect) {
            e.os_rect = rectangle(name, value);
        } else if (name == "mode" || name == "monitor" || name == "rect" || name == "os-rect") {
            fail(name + " is given twice");
        } else {
            fail("\"" + opt + "\" is not mode=, monitor=, rect= or os-rect=");
        }
    }
    return e;
}

// settings "LINE" ... | settings none | settings empty | settings bom ["LINE" ...]
// edit-settings "LINE" ...
Action parse_settings(const std::string &name, const Args &a)
{
    if (name == "edit-settings") {
        if (a.empty())
            fail("usage: edit-settings \"LINE\" ...");
        return EditSettings{texts(a, 0)};
    }
    if (a.empty())
        fail("usage: settings \"LINE\" ... | settings none | settings empty | settings bom [\"LINE\" ...]");
    bool bom = !a[0].quoted && a[0].text == "bom";
    if (a.size() == 1 && !a[0].quoted && (a[0].text == "none" || a[0].text == "empty"))
        return WriteSettings{a[0].text == "none", {}, false};
    for (size_t i = 0; i < a.size(); i++) {
        if (!a[i].quoted && (a[i].text == "none" || a[i].text == "empty"))
            fail("settings " + a[i].text + " stands alone");
        if (i > 0 && !a[i].quoted && a[i].text == "bom")
            fail("settings bom comes first");
    }
    return WriteSettings{false, texts(a, bom ? 1 : 0), bom};
}

// expect cfg-count KEY N | expect cfg-line N "TEXT"
Action parse_expect_cfg_text(const std::string &what, const Args &a)
{
    if (what == "cfg-count") {
        count(a, 2, 2, "expect cfg-count KEY N");
        ExpectCfgCount e{a[0].text, integer(a[1], "count")};
        if (e.count < 0)
            fail("a count is not negative");
        return e;
    }
    count(a, 2, 2, "expect cfg-line N \"TEXT\"");
    ExpectCfgLine e{integer(a[0], "line"), a[1].text};
    if (e.line < 1)
        fail("lines are numbered from 1");
    return e;
}

// One of X-Plane's stock devices, 0 to 19.
int device_number(const Token &t)
{
    const int device = integer(t, "device");
    if (device < 0 || device > 19)
        fail("the stock devices are numbered 0 to 19");
    return device;
}

// A bound that is a number not below 0, whole or with a decimal point.
double at_most(const Token &t)
{
    const std::string &text = t.text;
    const size_t point = text.find('.');
    const bool digits_only = text.find_first_not_of("0123456789.") == std::string::npos;
    const bool one_point = point == std::string::npos || text.find('.', point + 1) == std::string::npos;
    const bool has_digit = text.find_first_of("0123456789") != std::string::npos;
    if (!digits_only || !one_point || !has_digit || text.size() > 12)
        fail("\"" + text + "\" is not a number such as 2 or 0.5");
    return std::stod(text);
}

Action parse_expect_cost(const Args &a)
{
    count(a, 2, 2, "expect cost dispatches|queries|window-draws|gl-errors AT_MOST");
    for (CostKey key : {CostKey::dispatches, CostKey::queries, CostKey::window_draws, CostKey::gl_errors}) {
        if (a[0].text == cost_key_name(key))
            return ExpectCost{key, at_most(a[1])};
    }
    fail("\"" + a[0].text + "\" is not one of dispatches, queries, window-draws, gl-errors");
}

Action parse_expect(const Args &all)
{
    if (all.empty())
        fail("expect what? log, no-log, window, cfg, cfg-count, cfg-line, pixel, popout-pixel, cursor, menu, menu-check, menu-enabled, no-menu, "
             "live, cost");
    const std::string &what = all[0].text;
    Args a(all.begin() + 1, all.end());
    if (what == "log" || what == "no-log") {
        if (a.empty())
            fail("usage: expect " + what + " \"TEXT\" ...");
        if (what == "log")
            return ExpectLog{texts(a, 0)};
        return ExpectNoLog{texts(a, 0)};
    }
    if (what == "window")
        return parse_expect_window(a);
    if (what == "cfg-count" || what == "cfg-line")
        return parse_expect_cfg_text(what, a);
    if (what == "cfg") {
        count(a, 2, 2, "expect cfg KEY VALUE|none");
        ExpectCfg e;
        e.key = a[0].text;
        if (a[1].quoted || a[1].text != "none")
            e.value = a[1].text;
        return e;
    }
    if (what == "pixel") {
        count(a, 4, 5, "expect pixel MONITOR X Y RRGGBB [TOLERANCE]");
        ExpectPixel e;
        e.monitor = integer(a[0], "monitor");
        e.x = integer(a[1], "x");
        e.y = integer(a[2], "y");
        e.rgb = colour(a[3]);
        e.tolerance = tolerance(a, 4);
        return e;
    }
    if (what == "popout-pixel") {
        count(a, 4, 5, "expect popout-pixel \"TITLE\" X Y RRGGBB [TOLERANCE]");
        ExpectPopoutPixel e;
        e.title = a[0].text;
        e.x = integer(a[1], "x");
        e.y = integer(a[2], "y");
        if (e.x < 0 || e.y < 0)
            fail("a window-local pixel has no negative coordinate");
        e.rgb = colour(a[3]);
        e.tolerance = tolerance(a, 4);
        return e;
    }
    if (what == "cursor") {
        count(a, 1, 2, "expect cursor default|hidden|arrow|custom [FILE]");
        static const std::map<std::string, CursorKind> kinds = {{"default", CursorKind::standard},
                                                                {"hidden", CursorKind::hidden},
                                                                {"arrow", CursorKind::arrow},
                                                                {"custom", CursorKind::custom}};
        auto k = kinds.find(a[0].text);
        if (k == kinds.end())
            fail("\"" + a[0].text + "\" is not a cursor (default, hidden, arrow or custom)");
        if (a.size() == 2 && k->second != CursorKind::custom)
            fail("only a custom cursor has a file");
        return ExpectCursor{k->second, a.size() == 2 ? a[1].text : ""};
    }
    if (what == "menu") {
        if (a.empty())
            fail("usage: expect menu \"NAME\" \"ITEM\" ...");
        return ExpectMenu{a[0].text, texts(a, 1)};
    }
    if (what == "menu-check") {
        count(a, 2, 2, "expect menu-check \"MENU/ITEM\" checked|unchecked");
        if (a[1].text != "checked" && a[1].text != "unchecked")
            fail("\"" + a[1].text + "\" is not checked or unchecked");
        return ExpectMenuCheck{a[0].text, a[1].text == "checked"};
    }
    if (what == "menu-enabled") {
        count(a, 2, 2, "expect menu-enabled \"MENU/ITEM\" yes|no");
        if (a[1].text != "yes" && a[1].text != "no")
            fail("\"" + a[1].text + "\" is not yes or no");
        return ExpectMenuEnabled{a[0].text, a[1].text == "yes"};
    }
    if (what == "no-menu") {
        count(a, 1, 1, "expect no-menu \"NAME\"");
        return ExpectNoMenu{a[0].text};
    }
    if (what == "live") {
        count(a, 2, 2, "expect live KEY N");
        for (int k = 0; k <= static_cast<int>(LiveKey::threads); k++) {
            LiveKey key = static_cast<LiveKey>(k);
            if (a[0].text == live_key_name(key)) {
                int n = integer(a[1], "live count");
                if (n < 0)
                    fail("a live count is not negative");
                return ExpectLive{key, n};
            }
        }
        fail("\"" + a[0].text + "\" is not one of windows, command_handlers, flight_loops, draw_callbacks, "
             "menus, menu_items, textures, framebuffers, os_cursors, threads");
    }
    if (what == "cost")
        return parse_expect_cost(a);
    fail("unknown expectation \"" + what + "\"");
}

bool shot_name_ok(const std::string &name)
{
    if (name.empty() || name[0] == '.')
        return false;
    for (char c : name) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                  c == '_' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}

Action parse_gl_state(const Args &a)
{
    const char *usage = "gl-state least-kind|kind, or gl-state ITEM on|off";
    count(a, 1, 2, usage);
    if (a.size() == 1) {
        if (a[0].text != "least-kind" && a[0].text != "kind")
            fail(usage);
        return SetGlState{"all", a[0].text == "least-kind"};
    }
    if (std::find(std::begin(gl_state_items), std::end(gl_state_items), a[0].text) == std::end(gl_state_items))
        fail("gl-state \"" + a[0].text + "\": the items are scissor, colour, textures, pixel-buffers, "
             "graphics-state, framebuffers, caches, check, passes, multisample and culling");
    if (a[1].text != "on" && a[1].text != "off")
        fail(usage);
    return SetGlState{a[0].text, a[1].text == "on"};
}

Action parse_action(const Args &line)
{
    const std::string &name = line[0].text;
    if (line[0].quoted)
        fail("a line starts with a command, not a quoted text");
    Args a(line.begin() + 1, line.end());
    if (name == "monitors") {
        if (a.empty() || a.size() > max_monitors)
            fail("usage: monitors WxH+LEFT+BOTTOM ... (1 to " + std::to_string(max_monitors) + " monitors)");
        SetMonitors s;
        for (const Token &t : a) {
            Monitor m;
            std::string error;
            if (!parse_monitor(t.text, &m, &error))
                fail(error);
            s.monitors.push_back(m);
        }
        if (!s.monitors.front().covered)
            fail("monitor 0 is the main monitor: X-Plane always covers it (no :none)");
        return s;
    }
    if (name == "ui-scale") {
        count(a, 1, 1, "ui-scale 100|150|200");
        if (a[0].text != "100" && a[0].text != "150" && a[0].text != "200")
            fail("ui-scale \"" + a[0].text + "\": the user-interface scale is 100, 150 or 200 (per cent)");
        return SetUiScale{integer(a[0], "ui-scale")};
    }
    if (name == "xplane") {
        count(a, 1, 1, "xplane 11|12");
        if (a[0].text != "11" && a[0].text != "12")
            fail("xplane \"" + a[0].text + "\": the simulator's version is 11 or 12");
        return SetXPlane{integer(a[0], "xplane")};
    }
    if (name == "aircraft") {
        count(a, 1, 1, "aircraft panel|stock-g1000");
        if (a[0].text != "panel" && a[0].text != "stock-g1000")
            fail("aircraft \"" + a[0].text + "\": the user's aircraft is panel or stock-g1000");
        return SetAircraft{a[0].text == "stock-g1000"};
    }
    if (name == "bind-delay") {
        count(a, 1, 1, "bind-delay N");
        int n = integer(a[0], "bind-delay");
        if (n < 0)
            fail("bind-delay takes 0 or more frames");
        SetTiming t;
        t.bind_delay_frames = n;
        return t;
    }
    if (name == "cursor-asked") {
        count(a, 1, 1, "cursor-asked per-frame|every-move");
        if (a[0].text != "per-frame" && a[0].text != "every-move")
            fail("cursor-asked \"" + a[0].text + "\": the cursor is asked per-frame or every-move");
        SetTiming t;
        t.cursor_every_move = a[0].text == "every-move";
        return t;
    }
    if (name == "geometry-follows-mode") {
        count(a, 1, 1, "geometry-follows-mode next-frame|at-once");
        if (a[0].text != "next-frame" && a[0].text != "at-once")
            fail("geometry-follows-mode \"" + a[0].text + "\": the geometry follows next-frame or at-once");
        SetTiming t;
        t.geometry_at_once = a[0].text == "at-once";
        return t;
    }
    if (name == "view") {
        count(a, 1, 1, "view outside|cockpit");
        if (a[0].text != "outside" && a[0].text != "cockpit")
            fail("view \"" + a[0].text + "\": the view is outside or cockpit");
        return SetView{a[0].text == "outside"};
    }
    if (name == "rheostat" || name == "bus") {
        count(a, 2, 2, name == "bus" ? "bus DEVICE RATIO" : "rheostat DEVICE RATIO");
        const int device = device_number(a[0]);
        const double ratio = at_most(a[1]);
        if (name == "bus")
            return SetBus{device, ratio};
        if (ratio > 1)
            fail("a rheostat turns from 0 to 1");
        return SetRheostat{device, ratio};
    }
    if (name == "device") {
        count(a, 2, 3, "device N [WxH] bound|unbound");
        SetDevice d;
        d.device = device_number(a[0]);
        const std::string &state = a.back().text;
        if (state != "bound" && state != "unbound")
            fail("device " + a[0].text + " \"" + state + "\": a device is bound or unbound");
        d.bound = state == "bound";
        if (a.size() == 3) {
            const std::string &size = a[1].text;
            const size_t x = size.find('x');
            char *end = nullptr;
            const long w = x == std::string::npos ? 0 : strtol(size.c_str(), &end, 10);
            const bool w_whole = end == size.c_str() + x;
            const long h = x == std::string::npos ? 0 : strtol(size.c_str() + x + 1, &end, 10);
            if (!w_whole || *end != '\0' || w < 128 || h < 128 || w > 4096 || h > 4096)
                fail("device size \"" + size + "\": WxH, each from 128 to 4096");
            if (d.device >= 6 && d.device <= 8)
                fail("the G1000's screens (devices 6, 7 and 8) are 1024x768");
            d.width = static_cast<int>(w);
            d.height = static_cast<int>(h);
        }
        return d;
    }
    if (name == "unpowered-screens") {
        count(a, 1, 1, "unpowered-screens drawn|dark");
        if (a[0].text != "drawn" && a[0].text != "dark")
            fail("unpowered-screens \"" + a[0].text + "\": an unpowered device's screen is drawn or dark");
        return SetUnpoweredScreens{a[0].text == "drawn"};
    }
    if (name == "load") {
        count(a, 0, 1, "load [PATH]");
        return Load{a.empty() ? "" : a[0].text};
    }
    if (name == "enable" || name == "disable" || name == "unload" || name == "mark") {
        count(a, 0, 0, name.c_str());
        if (name == "enable")
            return Enable{};
        if (name == "disable")
            return Disable{};
        if (name == "unload")
            return Unload{};
        return Mark{};
    }
    if (name == "frames") {
        count(a, 1, 1, "frames N");
        int n = integer(a[0], "frames");
        if (n < 1)
            fail("frames needs at least 1 frame");
        return RunFrames{n};
    }
    if (name == "gl-state")
        return parse_gl_state(a);
    if (name == "panel") {
        count(a, 1, 1, "panel N|both");
        if (a[0].text == "both")
            return SetPanel{true, 2};
        return SetPanel{false, integer(a[0], "panel")};
    }
    if (name == "command") {
        count(a, 1, 2, "command NAME [once|begin|end]");
        RunCommand c{a[0].text, CommandPhase::once};
        if (a.size() == 2) {
            if (a[1].text == "begin")
                c.phase = CommandPhase::begin;
            else if (a[1].text == "end")
                c.phase = CommandPhase::end;
            else if (a[1].text != "once")
                fail("\"" + a[1].text + "\" is not once, begin or end");
        }
        return c;
    }
    if (name == "menu") {
        count(a, 1, 1, "menu \"MENU/ITEM\"");
        if (a[0].text.find('/') == std::string::npos)
            fail("menu \"" + a[0].text + "\": a menu path is \"MENU/ITEM\"");
        return ChooseMenu{a[0].text};
    }
    if (name == "mouse")
        return parse_mouse(MouseAction::move, a, "mouse X Y");
    if (name == "click")
        return parse_mouse(MouseAction::click, a, "click X Y [left|right]");
    if (name == "down")
        return parse_mouse(MouseAction::down, a, "down X Y [left|right]");
    if (name == "drag")
        return parse_mouse(MouseAction::drag, a, "drag X Y [left|right]");
    if (name == "up")
        return parse_mouse(MouseAction::up, a, "up X Y [left|right]");
    if (name == "shot") {
        count(a, 1, 1, "shot NAME");
        if (!shot_name_ok(a[0].text))
            fail("shot name \"" + a[0].text + "\": use letters, digits, '-', '_' and '.', not first");
        return Shot{a[0].text};
    }
    if (name == "settings" || name == "edit-settings")
        return parse_settings(name, a);
    if (name == "echo") {
        count(a, 1, 1, "echo \"TEXT\"");
        return Echo{a[0].text};
    }
    if (name == "os-close") {
        count(a, 1, 1, "os-close \"TITLE\"");
        return OsClose{a[0].text};
    }
    if (name == "cost") {
        count(a, 1, 1, "cost reset|report");
        if (a[0].text == "reset")
            return CostReset{};
        if (a[0].text == "report")
            return CostReport{};
        fail("cost \"" + a[0].text + "\": cost reset or cost report");
    }
    if (name == "datarefs-missing") {
        const char *usage = "datarefs-missing none, or datarefs-missing current_gl_fbo|viewport ...";
        count(a, 1, 2, usage);
        SetMissingDatarefs m;
        if (a.size() == 1 && a[0].text == "none")
            return m;
        for (const Token &t : a) {
            if (t.text == "current_gl_fbo")
                m.current_gl_fbo = true;
            else if (t.text == "viewport")
                m.viewport = true;
            else
                fail(usage);
        }
        return m;
    }
    if (name == "strict-clicks") {
        count(a, 1, 1, "strict-clicks on|off");
        if (a[0].text != "on" && a[0].text != "off")
            fail("strict-clicks \"" + a[0].text + "\": on or off");
        return SetStrictClicks{a[0].text == "on"};
    }
    if (name == "avionics-datarefs") {
        count(a, 1, 1, "avionics-datarefs stale|current");
        if (a[0].text != "stale" && a[0].text != "current")
            fail("avionics-datarefs \"" + a[0].text + "\": stale or current");
        return SetAvionicsDatarefs{a[0].text == "stale"};
    }
    if (name == "avionics-handles") {
        count(a, 1, 1, "avionics-handles invalidated|kept");
        if (a[0].text != "invalidated" && a[0].text != "kept")
            fail("avionics-handles \"" + a[0].text + "\": invalidated or kept");
        return SetAvionicsHandles{a[0].text == "invalidated"};
    }
    if (name == "expect")
        return parse_expect(a);
    fail("unknown command \"" + name + "\"");
}

std::string source_text(const Args &tokens)
{
    std::string out;
    for (const Token &t : tokens) {
        if (!out.empty())
            out += ' ';
        if (!t.quoted) {
            out += t.text;
            continue;
        }
        out += '"';
        for (char c : t.text) {
            if (c == '"' || c == '\\')
                out += '\\';
            out += c;
        }
        out += '"';
    }
    return out;
}

std::string monitor_text(const Monitor &m)
{
    return std::to_string(m.width) + "x" + std::to_string(m.height) + "+" + std::to_string(m.left) + "+" +
           std::to_string(m.bottom) + (m.covered ? "" : ":none");
}

// What holds across lines: a pixel lies on a monitor in force at its line,
// and each shot name is used once (a second would overwrite the first's files).
struct ScriptChecks {
    std::vector<Monitor> monitors{default_monitor};
    std::map<std::string, int> shots;

    void check(const Action &action, int line)
    {
        if (auto *s = std::get_if<SetMonitors>(&action)) {
            monitors = s->monitors;
        } else if (auto *p = std::get_if<ExpectPixel>(&action)) {
            if (p->monitor < 0 || p->monitor >= static_cast<int>(monitors.size()))
                fail("there is no monitor " + std::to_string(p->monitor) + " (" +
                     std::to_string(monitors.size()) + " monitors here)");
            const Monitor &m = monitors[static_cast<size_t>(p->monitor)];
            if (p->x < 0 || p->y < 0 || p->x >= m.width || p->y >= m.height)
                fail("pixel " + std::to_string(p->x) + "," + std::to_string(p->y) + " lies outside monitor " +
                     std::to_string(p->monitor) + " (" + monitor_text(m) + ")");
        } else if (auto *s = std::get_if<Shot>(&action)) {
            auto earlier = shots.find(s->name);
            if (earlier != shots.end())
                fail("shot \"" + s->name + "\" was already taken at line " + std::to_string(earlier->second));
            shots[s->name] = line;
        }
    }
};

}  // namespace

bool parse_script(const std::string &text, std::vector<Command> *commands, ParseError *error)
{
    commands->clear();
    ScriptChecks checks;
    std::stringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        number++;
        std::vector<Token> tokens;
        std::string message;
        if (!tokenize(line, &tokens, &message)) {
            *error = ParseError{number, message};
            return false;
        }
        if (tokens.empty())
            continue;
        try {
            Command command{number, source_text(tokens), parse_action(tokens)};
            checks.check(command.action, number);
            commands->push_back(std::move(command));
        } catch (const LineError &e) {
            *error = ParseError{number, e.message};
            return false;
        }
    }
    return true;
}

}  // namespace scenario
