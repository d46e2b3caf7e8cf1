/*
 * The simulated world: construction, the plug-in's lifecycle in the
 * simulator's order, the desktop, and the count of what is alive.
 */
#include "sim.h"

#include <algorithm>
#include <stdexcept>

#include <XPLMPlugin.h>

#include "costs.h"
#include "gl_api.h"
#include "platform.h"

namespace simhost {
namespace {

Sim *current_sim = nullptr;

const char *const known_features[] = {
    "XPLM_USE_NATIVE_PATHS",
    "XPLM_WANTS_REFLECTIONS",
    "XPLM_USE_NATIVE_WIDGET_WINDOWS",
    "XPLM_WANTS_DATAREF_NOTIFICATIONS",
};

std::string log_path(const std::string &root) { return root.empty() ? std::string() : root + "/Log.txt"; }

// A bound above every GL name in use. A driver that does not reuse freed
// names counts upwards, so the live ones lie just below the next name it
// would give; one that reuses them gives the lowest free name, so a live
// one lies higher only if that many were once alive together, which an
// earlier count saw (the highest next name seen is kept).
GLuint gl_name_bound()
{
    static GLuint highest = 4096;
    GLuint tex = 0, fbo = 0;
    glGenTextures(1, &tex);
    glDeleteTextures(1, &tex);
    glGenFramebuffers(1, &fbo);
    glDeleteFramebuffers(1, &fbo);
    highest = std::max({highest, tex, fbo});
    return highest;
}

}  // namespace

Sim::Sim(const HostOptions &opts)
    : options(opts), log(log_path(opts.root), opts.echo_log),
      harsh(opts.gl, gl_names, [this](const std::string &line) { host_log(line); })
{
    if (current_sim != nullptr)
        throw std::logic_error("simhost: one Host per process");
    std::string error;
    gl = GlContext::create(&error, options.gl_version);
    if (!gl)
        throw std::runtime_error("simhost: no OpenGL context: " + error);
    for (const char *feature : known_features)
        features[feature] = false;
    std::vector<Monitor> list;
    for (const Rect &r : options.monitors)
        list.push_back(Monitor{r, true});
    for (int index : options.uncovered) {
        if (index < 0 || index >= static_cast<int>(list.size()))
            throw std::invalid_argument("simhost: uncovered monitor " + std::to_string(index) + " is not given");
        list[static_cast<size_t>(index)].covered = false;
    }
    layout.set_monitors(list);
    layout.set_scale(options.ui_scale);
    current_sim = this;
    reset_costs();
    host_log("GL renderer: " + gl->description());
}

Sim::~Sim()
{
    unload();
    desktop.release(gl_names);
    panel.release(gl_names);
    foreign.release(gl_names);
    avionics.release(gl_names);
    harsh.release();
    current_sim = nullptr;
}

// Every XPLM function starts here, which makes it where an injected throw is raised.
Sim *Sim::current()
{
    throw_if_armed();
    return current_sim;
}

void Sim::host_log(const std::string &line) { log.write(("simhost: " + line + "\n").c_str()); }

void Sim::update_command_handlers() { commands.set_handlers_enabled(callbacks_allowed()); }

bool Sim::load(const PluginEntryPoints &entry, void *library, const std::string &path, std::string *error)
{
    auto fail = [&](const std::string &why) {
        host_log(why);
        if (error != nullptr)
            *error = why;
        return false;
    };
    if (plugin.loaded) {
        close_plugin_library(library);
        return fail("cannot load " + path + ": a plug-in is already loaded");
    }
    if (entry.start == nullptr || entry.enable == nullptr || entry.disable == nullptr || entry.stop == nullptr ||
        entry.receive == nullptr) {
        close_plugin_library(library);
        return fail("cannot load " + path + ": an entry point is missing");
    }
    leftovers_ = LiveObjects{};
    plugin = PluginSlot{};
    plugin.library = library;
    plugin.entry = entry;
    plugin.path = native_absolute_path(path);
    plugin.loaded = true;
    update_command_handlers();
    host_log("loading " + plugin.path);
    int started;
    {
        PluginCall call(CallbackKind::start);
        started = plugin.entry.start(plugin.name, plugin.signature, plugin.description);
    }
    if (started == 0) {
        forget_plugin_objects();
        close_plugin_library(plugin.library);
        plugin = PluginSlot{};
        update_command_handlers();
        return fail("XPluginStart of " + path + " returned 0: not loaded");
    }
    host_log("started " + std::string(plugin.name) + " (" + plugin.signature + ")");
    if (!enable())
        return fail("XPluginEnable of " + path + " returned 0: loaded but disabled");
    return true;
}

bool Sim::enable()
{
    if (!plugin.loaded)
        return false;
    if (plugin.enabled)
        return true;
    // Enabled while XPluginEnable runs, so that what it sets going can run.
    plugin.enabled = true;
    update_command_handlers();
    {
        PluginCall call(CallbackKind::enable);
        plugin.enabled = plugin.entry.enable() != 0;
    }
    update_command_handlers();
    return plugin.enabled;
}

void Sim::disable()
{
    if (!plugin.loaded || !plugin.enabled)
        return;
    {
        PluginCall call(CallbackKind::disable);
        plugin.entry.disable();
    }
    plugin.enabled = false;
    gesture_window_ = nullptr;
    update_command_handlers();
}

void Sim::unload()
{
    if (!plugin.loaded)
        return;
    disable();
    {
        PluginCall call(CallbackKind::stop);
        plugin.entry.stop();
    }
    forget_plugin_objects();
    close_plugin_library(plugin.library);
    host_log("unloaded " + plugin.path);
    plugin = PluginSlot{};
    update_command_handlers();
}

// What a plug-in still holds when it goes: counted for live(), logged, and
// dropped, since its code may be gone.
void Sim::forget_plugin_objects()
{
    LiveObjects left;
    left.windows = windows.count();
    left.command_handlers = commands.handler_count();
    left.flight_loops = flight_loops.count();
    left.draw_callbacks = draw_callbacks.count();
    left.menus = menus.menu_count();
    left.menu_items = menus.item_count();
    left.avionics_callbacks = avionics.count();
    if (left.windows + left.command_handlers + left.flight_loops + left.draw_callbacks + left.menus + left.menu_items +
            left.avionics_callbacks >
        0)
        host_log("the plug-in left behind " + std::to_string(left.windows) + " windows, " +
                 std::to_string(left.command_handlers) + " command handlers, " + std::to_string(left.flight_loops) +
                 " flight loops, " + std::to_string(left.draw_callbacks) + " draw callbacks, " +
                 std::to_string(left.menus) + " menus, " + std::to_string(left.menu_items) + " menu items, " +
                 std::to_string(left.avionics_callbacks) + " avionics callbacks");
    leftovers_ = left;
    windows.clear();
    commands.clear_handlers();
    flight_loops.clear();
    draw_callbacks.clear();
    avionics.clear();
    menus.clear();
    gesture_window_ = nullptr;
}

void Sim::set_monitors(const std::vector<Monitor> &list)
{
    layout.set_monitors(list);
    windows.desktop_changed(layout);
    settle_placed_windows();
}

void Sim::set_ui_scale(int percent)
{
    layout.set_scale(percent);
    windows.desktop_changed(layout);
    settle_placed_windows();
}

void Sim::load_aircraft(Aircraft aircraft)
{
    avionics.set_aircraft(aircraft, options.timing.bind_delay_frames);
    if (plugin.loaded && plugin.enabled) {
        // The message's parameter is the plane's index itself; 0 is the user's.
        PluginCall call(CallbackKind::message);
        plugin.entry.receive(XPLM_PLUGIN_XPLANE, XPLM_MSG_PLANE_LOADED, nullptr);
    }
}

LiveObjects Sim::live() const
{
    LiveObjects now = leftovers_;
    now.windows += windows.count();
    now.command_handlers += commands.handler_count();
    now.flight_loops += flight_loops.count();
    now.draw_callbacks += draw_callbacks.count();
    now.menus += menus.menu_count();
    now.menu_items += menus.item_count();
    now.avionics_callbacks += avionics.count();
    const GLuint last = gl_name_bound();
    for (GLuint name = 1; name <= last; name++) {
        if (glIsTexture(name) && gl_names.textures.count(name) == 0)
            now.textures++;
        if (glIsFramebuffer(name) && gl_names.framebuffers.count(name) == 0)
            now.framebuffers++;
    }
    now.os_cursors = native.foreign_cursors();
    now.threads = process_thread_count();
    return now;
}

}  // namespace simhost
