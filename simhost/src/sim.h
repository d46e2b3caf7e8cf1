/*
 * The simulated world behind a Host and the XPLM functions: the plug-in slot,
 * the log, callbacks, commands, menus, the desktop with its windows, mouse
 * and cursor, and the frame. One exists per process at a time.
 */
#ifndef SIMHOST_SIM_H
#define SIMHOST_SIM_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "avionics.h"
#include "commands.h"
#include "desktop.h"
#include "desktop_render.h"
#include "draw_callbacks.h"
#include "flight_loops.h"
#include "gl_context.h"
#include "gl_state.h"
#include "log_sink.h"
#include "menus.h"
#include "native_desktop.h"
#include "plugin_call.h"
#include "render_target.h"
#include "simhost/host.h"
#include "window_model.h"

namespace simhost {

struct PluginSlot {
    void *library = nullptr;    // nullptr for a plug-in linked into the process
    PluginEntryPoints entry;
    std::string path;
    char name[256] = {};
    char signature[256] = {};
    char description[256] = {};
    bool loaded = false;
    bool enabled = false;
};

class Sim {
public:
    explicit Sim(const HostOptions &options);
    ~Sim();
    Sim(const Sim &) = delete;
    Sim &operator=(const Sim &) = delete;

    // The world of the Host alive in this process, or nullptr.
    static Sim *current();

    // The plug-in's callbacks run while it is enabled (and, for code that
    // drives the host without a plug-in, while none is loaded).
    bool callbacks_allowed() const { return !plugin.loaded || plugin.enabled; }
    void host_log(const std::string &line);

    bool load(const PluginEntryPoints &entry, void *library, const std::string &path, std::string *error);
    bool enable();
    void disable();
    void unload();

    void set_monitors(const std::vector<Monitor> &list);
    void set_ui_scale(int percent);
    // Loads the user's aircraft: the plug-in hears XPLM_MSG_PLANE_LOADED for plane 0.
    void load_aircraft(Aircraft aircraft);
    void run_frame();
    // HostTiming: what becomes due at the start of a frame (devices bound,
    // geometry that follows a change of mode); a change of mode whose
    // geometry waits for it; windows whose geometry the desktop set anew.
    void start_frame_timing();
    void defer_geometry(Window *window, const Rect &before);
    void settle_placed_windows();
    bool mouse_wheel(int x, int y, int clicks);
    bool key_press(const std::string &title, char key);
    void mouse_event(int x, int y, MouseButton button, XPLMMouseStatus status);
    // Strict clicks: a click handler returned 0; the run ends.
    [[noreturn]] void end_on_passed_click(const Window &window, int x, int y, MouseButton button,
                                          XPLMMouseStatus status);
    // The user moves the mouse: the real pointer goes there at once, whenever
    // the window under it is asked for its cursor.
    void move_pointer(int x, int y);
    void ask_cursor();
    // The last answer, with what the desktop shows now.
    CursorState cursor_on_desktop() const;
    std::string plugin_cursor_dir() const;
    bool command(const std::string &name, Host::CommandAction action);
    bool choose_menu(const std::string &path);
    LiveObjects live() const;
    std::vector<std::string> shot(const std::string &dir, const std::string &name);

    HostOptions options;
    std::unique_ptr<GlContext> gl;
    LogSink log;
    PluginSlot plugin;
    std::map<std::string, bool> features;

    FlightLoops flight_loops;
    DrawCallbacks draw_callbacks;
    Commands commands;
    Menus menus;
    WindowList windows;
    Desktop layout;                 // the monitors and the user-interface scale
    int pointer_x = 0, pointer_y = 0;   // global boxels
    CursorState cursor;             // the last answer; nothing read back
    bool outside_view = false;      // no device drawn
    int failing_window_creations = 0;
    bool window_handle_withheld = false;

    uint64_t frame = 0;       // frames started so far; the one running during a frame
    double time = 0;          // simulated seconds
    PanelPasses passes;
    int panel_render_type = 0;

    // The simulator's version as XPLMGetVersions reports it: 12 offers the
    // SDK 4.x functions (the stock avionics), 11 does not.
    int xplane_version = 12;
    Avionics avionics;

    HostGlNames gl_names;
    GlHarsh harsh;            // the GL state callbacks find, X-Plane's caches, the strict check
    RenderTarget panel;
    RenderTarget foreign;     // another picture drawn with the gauges callbacks
    DesktopRenderer desktop;
    NativeDesktop native;

private:
    void avionics_pass();
    void panel_pass(int value);
    void foreign_pass();
    void window_pass();
    void update_command_handlers();
    void forget_plugin_objects();

    Window *gesture_window_ = nullptr;
    MouseButton gesture_button_ = MouseButton::left;
    LiveObjects leftovers_;   // what the last plug-in unloaded left behind
};

}  // namespace simhost

#endif
