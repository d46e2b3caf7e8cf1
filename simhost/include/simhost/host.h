/*
 * The simulator stand-in, as a library: one Host per process models the
 * desktop (monitors, windows, mouse, cursor), the plug-in loader, commands,
 * menus, datarefs, flight loops and the frame with its panel passes, on a
 * headless OpenGL 4.5 (or 3.3) compatibility context. The XPLM functions the plug-in
 * calls are implemented on top of the current Host.
 */
#ifndef SIMHOST_HOST_H
#define SIMHOST_HOST_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <XPLMDefs.h>
#include <XPLMDisplay.h>

namespace simhost {

// A rectangle, y up: top > bottom. In global desktop boxels or in OS pixels,
// as each use says.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return top - bottom; }
};

// "W x H + left + bottom", as monitors are given to the host.
Rect monitor_rect(int w, int h, int left, int bottom);

// An operating-system monitor: its rectangle in OS pixels, and whether a
// full-screen X-Plane window covers it. Monitor 0, the main one, is covered.
struct Monitor {
    Rect os;
    bool covered = true;
};

enum class WindowMode { free, fullscreen, popout };
enum class MouseButton { left, right };

struct WindowState {
    XPLMWindowID id = nullptr;
    std::string title;
    bool visible = false;
    WindowMode mode = WindowMode::free;
    int monitor = -1;      // full screen: the monitor's index; else -1
    Rect rect;             // what XPLMGetWindowGeometry reports, in global boxels
    // What XPLMGetWindowGeometryOS reports, in OS pixels: a popped-out
    // window's operating-system window; for a window full screen on a
    // monitor, that monitor's OS rectangle; for any other, rect converted to
    // pixels (where it shows on the OS desktop).
    Rect os_rect;
    int min_w = 0, min_h = 0, max_w = 0, max_h = 0;
};

// The cursor a window's callback asked for, and, where a desktop is there
// (an X server named by DISPLAY), the one the desktop shows, read back from it.
struct CursorState {
    XPLMCursorStatus status = xplm_CursorDefault;
    bool desktop = false;      // false: no desktop (or the pointer off every monitor), nothing read back
    // The plug-in cursor image (in its resources/popup/cursors/) whose pixels
    // the desktop's cursor has, as "b_close.png"; empty when it shows none of them.
    std::string custom_name;
};

// A cursor as the desktop shows it: premultiplied ARGB32, rows top down.
struct DesktopCursor {
    int width = 0, height = 0;
    int hot_x = 0, hot_y = 0;
    std::vector<uint32_t> argb;
};

// What a plug-in holds in the host, and GL objects and threads of the process.
struct LiveObjects {
    int windows = 0;
    int command_handlers = 0;
    int flight_loops = 0;
    int draw_callbacks = 0;
    int menus = 0;           // menus created by plug-ins
    int menu_items = 0;      // items in plug-in menus and plug-in items in the plug-ins menu
    int avionics_callbacks = 0;   // registrations on built-in avionics devices
    int textures = 0;        // GL textures alive that the host did not make
    int framebuffers = 0;    // GL framebuffer objects alive that the host did not make
    int os_cursors = 0;      // cursors other clients hold on the desktop (X server); 0 without one
    int threads = 0;         // threads of the process, the main thread included, the GL driver's work queues not
};

// The entry points of a plug-in linked into the process (unit tests).
struct PluginEntryPoints {
    int (*start)(char *name, char *sig, char *desc) = nullptr;
    int (*enable)() = nullptr;
    void (*disable)() = nullptr;
    void (*stop)() = nullptr;
    void (*receive)(XPLMPluginID from, int msg, void *param) = nullptr;
};

// Which gauges passes a frame runs. Default: albedo (dataref 1) then emissive (2).
// A single value: one pass per frame, the dataref reads that value, and the
// screens are lit when it is 2.
struct PanelPasses {
    bool both = true;
    int value = 2;
};

// The kinds of a plug-in's callbacks: per frame, input and commands, entry points.
enum class CallbackKind {
    flight_loop, draw, window_draw, cursor,
    click, right_click, command, menu,
    start, enable, disable, stop, message,
    avionics, key, wheel, monitor,
};
constexpr int callback_kind_count = 17;
const char *callback_kind_name(CallbackKind kind);   // "right-click"

// Benchmarks time and watch a plug-in's per-frame callbacks: when a probe is
// set, the host calls it right before it calls a flight loop, a drawing
// callback, a window's draw or cursor callback (entering true) and right
// after that returns (false). Unset, it costs nothing worth measuring.
typedef void (*CallbackProbe)(CallbackKind kind, bool entering);
void set_callback_probe(CallbackProbe probe);   // nullptr removes it

// What hosting the plug-in costs the simulator (xplm-facts §17), counted by
// the stand-in per frame. Calls made between frames (a command, a click)
// belong to the next frame.
struct FrameCosts {
    uint64_t dispatches = 0;     // drawing-phase and avionics (before and after) callbacks called
    uint64_t window_draws = 0;   // window draw callbacks called
    uint64_t queries = 0;        // glGetIntegerv/Floatv/Booleanv/Doublev and glIsEnabled by the plug-in
    uint64_t gl_errors = 0;      // glGetError by the plug-in
};

// The wall time of one kind of non-drawing callback (command, menu, click,
// right-click, flight loop, enable, ...); drawing kinds stay empty.
struct HandlerTimes {
    uint64_t count = 0;
    double median_ms = 0;        // of the last 1024 calls at most
    double worst_ms = 0;
};

struct HostCosts {
    uint64_t frames = 0;         // frames run since the reset
    FrameCosts last_frame;
    FrameCosts total;            // since the reset
    HandlerTimes handlers[callback_kind_count];   // indexed by CallbackKind
    // False where the stand-in cannot see the plug-in's GL queries (Windows,
    // or libGL found before the stand-in's library): queries and gl_errors stay 0.
    bool queries_counted = false;

    const HandlerTimes &handler(CallbackKind kind) const { return handlers[static_cast<int>(kind)]; }
    // The average per frame since the reset of one of total's counts; 0 before any frame.
    double per_frame(uint64_t FrameCosts::*count) const
    {
        return frames == 0 ? 0 : static_cast<double>(total.*count) / static_cast<double>(frames);
    }
};

// Datarefs a simulator may lack: hidden, XPLMFindDataRef does not find them.
struct MissingDatarefs {
    bool current_gl_fbo = false;   // sim/graphics/view/current_gl_fbo
    bool viewport = false;         // sim/graphics/view/viewport
};

// Where the SDK promises nothing of when the simulator does a thing, the
// stand-in does it at the least convenient moment the documentation allows;
// a test that needs the convenient moment asks for it here.
struct HostTiming {
    // Devices are bound (or unbound) this many frames after the aircraft
    // loads and XPLM_MSG_PLANE_LOADED is sent; 0: at once, before the message.
    int bind_delay_frames = 2;
    // The window under the pointer is asked for its cursor once a frame, at
    // its end; true: also right after every mouse event.
    bool cursor_every_move = false;
    // A window's geometry follows a change of positioning mode at the start
    // of the next frame; true: at once.
    bool geometry_at_once = false;
};

// The host at X-Plane's least kind about OpenGL state: each item is on by
// default; a test that needs clean conditions turns items off. On entry to
// every drawing, window and avionics callback the state is as a previous
// drawer might leave it:
struct GlHarshness {
    bool scissor = true;          // scissor test on: a small box; for a window its own rectangle
    bool colour = true;           // an odd current colour
    bool textures = true;         // texture unit 1 active, foreign textures bound on units 0 to 3
    bool pixel_buffers = true;    // pixel pack and unpack buffers bound
    bool graphics_state = true;   // fog, texturing on every unit, lighting, alpha test, blending and
                                  // depth test on, depth writes off (X-Plane's cache knows it)
    bool framebuffers = true;     // a foreign read framebuffer; the bound framebuffer reads nothing
    // XPLMBindTexture2d and XPLMSetGraphicsState skip what X-Plane's caches
    // believe is already done.
    bool caches = true;
    // After each such callback the state X-Plane does not manage for plug-ins
    // must be as the callback found it, else the run ends with a line naming
    // the callback and the state. Off, the host repairs it.
    bool strict_check = true;
    // Some frames draw no gauges pass; some a second lit pass (the dataref
    // reads 2) on another framebuffer holding something else, after the panel's.
    bool irregular_passes = true;
    // A variant, off by default: the panel framebuffer has 4 samples.
    bool multisampled_panel = false;
    // Face culling on, of both faces, the furthest a drawer of 3-D objects
    // can leave it: any polygon drawn without turning it off is lost.
    bool culling = true;

    // Every item off: the kind host of clean state.
    static GlHarshness kind();
};

// What X-Plane does not promise of its stock avionics, at its least kind by
// default; a test that needs the kind answer turns an item off.
struct AvionicsHarshness {
    // Inside avionics callbacks sim/graphics/view/current_gl_fbo and
    // sim/graphics/view/viewport still read what they read in the pass
    // before (documented for drawing callbacks only).
    bool stale_datarefs = true;
    // Unregistering callbacks on a device invalidates every handle on that
    // device, XPLMGetAvionicsHandle's too (a registration with no callbacks):
    // a call with such a handle ends the run; the next XPLMGetAvionicsHandle
    // gives a new one.
    bool unregister_invalidates = true;
};

struct HostOptions {
    std::string root;                 // the simulator-like folder; Log.txt is written here
    std::vector<Rect> monitors;       // in OS pixels; empty: one 1920 x 1080 monitor at the origin
    std::vector<int> uncovered;       // indices into monitors of those X-Plane does not cover (never 0)
    int ui_scale = 100;               // per cent: 100, 150 or 200
    bool echo_log = true;             // also write log lines to standard output
    double frame_seconds = 1.0 / 60;  // simulated time per frame
    HostTiming timing;
    GlHarshness gl;                   // OpenGL state at the least kind by default
    MissingDatarefs missing;
    AvionicsHarshness avionics;
    // The OpenGL the plug-in is given: 45, a 4.5 compatibility context; 33, a
    // 3.3 one without direct state access, whose loader answers NULL for
    // OpenGL 4.5's functions, as Windows drivers do for what a context lacks
    // (Linux only; Mesa reads the version once per process, at the first
    // context).
    int gl_version = 45;
    // A window's click or right-click handler that returns 0 (passes the
    // click through, which the SDK says causes mouse-tracking problems) ends
    // the run with a line naming the window; off, the simulator takes the click.
    bool strict_clicks = true;
};

class Host {
public:
    explicit Host(HostOptions options);
    ~Host();                          // unloads the plug-in if loaded
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    static Host *current();

    // Plug-in lifecycle, in the simulator's order. load = open, start, enable.
    bool load(const std::string &xpl_path, std::string *error = nullptr);
    bool load_linked(const PluginEntryPoints &entry, const std::string &xpl_path);
    bool enable();
    void disable();
    void unload();                    // disable if enabled, stop, close
    bool loaded() const;
    bool enabled() const;
    void send_message(int message, void *param);

    // Desktop. Monitors may be replaced between frames (hot-plug), and the
    // user-interface scale changed; full-screen windows follow their monitor
    // at once. Monitors are given in OS pixels; global boxels are OS pixels x
    // 100 / scale. An empty list is one 1920 x 1080 monitor at the origin.
    // A monitor 0 not covered, or a scale other than 100, 150 or 200, throws
    // std::invalid_argument and changes nothing.
    void set_monitors(const std::vector<Rect> &monitors);        // all covered
    void set_os_monitors(const std::vector<Monitor> &monitors);
    void set_ui_scale(int percent);
    int ui_scale() const;
    const std::vector<Rect> &monitors() const;                   // every monitor's OS rectangle
    // A covered monitor's rectangle in global boxels; false for an uncovered or absent one.
    bool monitor_global(int index, Rect *out) const;

    // The simulator and the user's aircraft. Version 12 (the default) offers
    // the SDK 4.x functions through XPLMFindSymbol, 11 does not. Loading an
    // aircraft sends the plug-in XPLM_MSG_PLANE_LOADED for plane 0; with the
    // stock G1000 (true) devices 6 and 7 are bound and drawn and the panel
    // texture's screen regions are a uniform grey, else (the panel layout)
    // the displays are in the panel texture and no device is bound.
    void set_xplane_version(int version);   // 11 or 12; other values throw std::invalid_argument
    int xplane_version() const;
    void load_aircraft(bool stock_g1000);
    // A pixel of a device's screen as last drawn, 0xRRGGBB, origin
    // bottom-left; 0 for a device not drawn.
    uint32_t device_pixel(XPLMDeviceID device, int x, int y) const;

    void set_timing(HostTiming timing);
    HostTiming timing() const;
    // An outside view: no device of the stock avionics is drawn (nor are its
    // callbacks called) until the cockpit view comes back. The panel passes
    // are chosen on their own (set_panel_passes).
    void set_outside_view(bool outside);
    // A stock device's brightness rheostat (as XPLMSetAvionicsBrightnessRheo)
    // and its bus's volts ratio; an unpowered device's screen is drawn as
    // usual, or, with set_unpowered_drawn(false), not at all.
    void set_rheostat(XPLMDeviceID device, float ratio);
    void set_bus_volts_ratio(XPLMDeviceID device, float ratio);
    void set_unpowered_drawn(bool drawn);
    // A stock device's screen size (0 x 0 keeps it; the G1000's stay
    // 1024 x 768), and whether the aircraft uses it beside the devices its
    // kind binds, until the next aircraft loads.
    void set_device(XPLMDeviceID device, int width, int height, bool bound);

    // Frames.
    void run_frames(int n);
    void set_panel_passes(PanelPasses passes);
    void set_gl_harshness(const GlHarshness &harshness);
    GlHarshness gl_harshness() const;
    uint64_t frame_count() const;

    // What hosting the plug-in costs, since the last reset (or the host's start).
    HostCosts costs() const;
    void reset_costs();
    void set_missing_datarefs(MissingDatarefs missing);
    void set_avionics_harshness(AvionicsHarshness harshness);
    AvionicsHarshness avionics_harshness() const;
    void set_strict_clicks(bool strict);

    // Input. The window under the pointer is asked for its cursor at the end
    // of each frame (and, with HostTiming::cursor_every_move, right after
    // every mouse call as well), so cursor() is current after the next frame.
    void mouse_move(int x, int y);
    void mouse_down(int x, int y, MouseButton button);
    void mouse_drag(int x, int y, MouseButton button);
    void mouse_up(int x, int y, MouseButton button);
    void mouse_position(int *x, int *y) const;
    // The wheel over the topmost window under the point; true when a window
    // took it (false: the simulator does).
    bool mouse_wheel(int x, int y, int clicks);
    // A key typed while the window of that title holds the keyboard focus
    // (given to it for this key); false when no window has that title.
    bool key_press(const std::string &title, char key);
    enum class CommandAction { once, begin, end };
    bool command(const std::string &name, CommandAction action = CommandAction::once);
    bool choose_menu(const std::string &path);   // "VXR Popups/Swap G1000 Popups"

    // Inspection.
    std::vector<WindowState> windows() const;
    bool window(const std::string &title, WindowState *out) const;
    CursorState cursor() const;                  // as the last frame left it
    // A real desktop (an X server named by DISPLAY; Wine's) is there.
    bool has_desktop() const;
    // The cursor the desktop shows; false without a desktop, or with the
    // pointer off every monitor.
    bool desktop_cursor(DesktopCursor *out) const;
    const std::vector<std::string> &log() const; // every line, in order, without the newline
    int count_submenus(const std::string &name) const;         // in the plug-ins menu, or a "A/B" path
    std::vector<std::string> menu_items(const std::string &name) const;
    // The item's check mark (an XPLMMenuCheck); -1 when the path leads to no item.
    int menu_check(const std::string &path) const;
    // 1 when the item at the path can be chosen, 0 when disabled, -1 for no such item.
    int menu_enabled(const std::string &path) const;
    LiveObjects live() const;

    // Pixels of the last frame, cursor not drawn, in the monitor's (or the
    // popped-out window's) own OS pixels. 0xRRGGBB; origin bottom-left.
    uint32_t monitor_pixel(int monitor, int x, int y) const;
    bool popout_pixel(const std::string &title, int x, int y, uint32_t *rgb) const;
    // One PNG per monitor and per popped-out window, cursor drawn in; returns the files.
    std::vector<std::string> shot(const std::string &dir, const std::string &name) const;

    // The user closes a popped-out window's operating-system window: the
    // simulator hides it. False when no popped-out window has that title.
    bool os_close_window(const std::string &title);

    // Fault injection.
    void fail_next_window_creations(int n);
    // sim/operation/windows/system_window_64 reads 0 while withheld, as from
    // a simulator that gives no native window handle.
    void withhold_window_handle(bool withheld);
    // The next XPLM call the plug-in makes inside a callback of this kind
    // (the innermost one running) throws std::runtime_error; once. An
    // exception that comes back out of a callback ends the process with a
    // line naming the callback, as it would end the simulator.
    void throw_in_next_call(CallbackKind kind);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace simhost

#endif
