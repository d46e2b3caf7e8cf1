/*
 * simhost::Host: the stand-in's interface for the program and for tests, a
 * thin layer over the simulated world (Sim).
 */
#include "simhost/host.h"

#include <stdexcept>

#include "costs.h"
#include "platform.h"
#include "sim.h"

namespace simhost {

Rect monitor_rect(int w, int h, int left, int bottom) { return Rect{left, bottom + h, left + w, bottom}; }

struct Host::Impl {
    explicit Impl(const HostOptions &options) : sim(options) {}
    Sim sim;
};

namespace {
Host *current_host = nullptr;
}

Host::Host(HostOptions options) : impl_(std::make_unique<Impl>(options)) { current_host = this; }

Host::~Host()
{
    impl_.reset();
    current_host = nullptr;
}

Host *Host::current() { return current_host; }

bool Host::load(const std::string &xpl_path, std::string *error)
{
    PluginEntryPoints entry;
    std::string why;
    std::string path = native_absolute_path(xpl_path);
    void *library = open_plugin_library(path, &entry, &why);
    if (library == nullptr) {
        impl_->sim.host_log(why);
        if (error != nullptr)
            *error = why;
        return false;
    }
    return impl_->sim.load(entry, library, path, error);
}

bool Host::load_linked(const PluginEntryPoints &entry, const std::string &xpl_path)
{
    return impl_->sim.load(entry, nullptr, xpl_path, nullptr);
}

bool Host::enable() { return impl_->sim.enable(); }
void Host::disable() { impl_->sim.disable(); }
void Host::unload() { impl_->sim.unload(); }
bool Host::loaded() const { return impl_->sim.plugin.loaded; }
bool Host::enabled() const { return impl_->sim.plugin.enabled; }

void Host::send_message(int message, void *param)
{
    Sim &sim = impl_->sim;
    if (sim.plugin.loaded && sim.plugin.enabled) {
        PluginCall call(CallbackKind::message);
        sim.plugin.entry.receive(XPLM_PLUGIN_XPLANE, message, param);
    }
}

void Host::set_xplane_version(int version)
{
    if (version != 11 && version != 12)
        throw std::invalid_argument("simhost: X-Plane version " + std::to_string(version) + " is not 11 or 12");
    impl_->sim.xplane_version = version;
}

int Host::xplane_version() const { return impl_->sim.xplane_version; }

void Host::load_aircraft(bool stock_g1000)
{
    impl_->sim.load_aircraft(stock_g1000 ? Aircraft::stock_g1000 : Aircraft::panel);
}

uint32_t Host::device_pixel(XPLMDeviceID device, int x, int y) const
{
    const RenderTarget *screen = impl_->sim.avionics.screen(device);
    return screen != nullptr ? screen->pixel(x, y) : 0;
}

void Host::set_monitors(const std::vector<Rect> &monitors)
{
    std::vector<Monitor> list;
    for (const Rect &r : monitors)
        list.push_back(Monitor{r, true});
    impl_->sim.set_monitors(list);
}

void Host::set_os_monitors(const std::vector<Monitor> &monitors) { impl_->sim.set_monitors(monitors); }
void Host::set_ui_scale(int percent) { impl_->sim.set_ui_scale(percent); }
int Host::ui_scale() const { return impl_->sim.layout.scale(); }
const std::vector<Rect> &Host::monitors() const { return impl_->sim.layout.os_rects(); }

bool Host::monitor_global(int index, Rect *out) const
{
    const Desktop &layout = impl_->sim.layout;
    if (!layout.covered(index))
        return false;
    if (out != nullptr)
        *out = layout.global(index);
    return true;
}

void Host::run_frames(int n)
{
    for (int i = 0; i < n; i++)
        impl_->sim.run_frame();
}

void Host::set_panel_passes(PanelPasses passes) { impl_->sim.passes = passes; }
void Host::set_timing(HostTiming timing) { impl_->sim.options.timing = timing; }
HostTiming Host::timing() const { return impl_->sim.options.timing; }
void Host::set_outside_view(bool outside) { impl_->sim.outside_view = outside; }
void Host::set_rheostat(XPLMDeviceID device, float ratio) { impl_->sim.avionics.set_rheostat(device, ratio); }
void Host::set_bus_volts_ratio(XPLMDeviceID device, float ratio)
{
    impl_->sim.avionics.set_bus_volts_ratio(device, ratio);
}
void Host::set_unpowered_drawn(bool drawn) { impl_->sim.avionics.set_unpowered_drawn(drawn); }
void Host::set_device(XPLMDeviceID device, int width, int height, bool bound)
{
    if (width > 0 && height > 0)
        impl_->sim.avionics.set_screen_size(device, width, height);
    impl_->sim.avionics.set_bound(device, bound);
}
bool Host::mouse_wheel(int x, int y, int clicks) { return impl_->sim.mouse_wheel(x, y, clicks); }
bool Host::key_press(const std::string &title, char key) { return impl_->sim.key_press(title, key); }
void Host::set_gl_harshness(const GlHarshness &harshness) { impl_->sim.harsh.set(harshness); }
GlHarshness Host::gl_harshness() const { return impl_->sim.harsh.harshness(); }
uint64_t Host::frame_count() const { return impl_->sim.frame; }

HostCosts Host::costs() const { return read_costs(); }
void Host::reset_costs() { simhost::reset_costs(); }
void Host::set_missing_datarefs(MissingDatarefs missing) { impl_->sim.options.missing = missing; }
void Host::set_strict_clicks(bool strict) { impl_->sim.options.strict_clicks = strict; }
void Host::set_avionics_harshness(AvionicsHarshness harshness) { impl_->sim.options.avionics = harshness; }
AvionicsHarshness Host::avionics_harshness() const { return impl_->sim.options.avionics; }

void Host::mouse_move(int x, int y)
{
    Sim &sim = impl_->sim;
    sim.move_pointer(x, y);
    if (sim.options.timing.cursor_every_move)
        sim.ask_cursor();
}

void Host::mouse_down(int x, int y, MouseButton button) { impl_->sim.mouse_event(x, y, button, xplm_MouseDown); }
void Host::mouse_drag(int x, int y, MouseButton button) { impl_->sim.mouse_event(x, y, button, xplm_MouseDrag); }
void Host::mouse_up(int x, int y, MouseButton button) { impl_->sim.mouse_event(x, y, button, xplm_MouseUp); }

void Host::mouse_position(int *x, int *y) const
{
    if (x != nullptr)
        *x = impl_->sim.pointer_x;
    if (y != nullptr)
        *y = impl_->sim.pointer_y;
}

bool Host::command(const std::string &name, CommandAction action) { return impl_->sim.command(name, action); }
bool Host::choose_menu(const std::string &path) { return impl_->sim.choose_menu(path); }

std::vector<WindowState> Host::windows() const
{
    std::vector<WindowState> list;
    for (const Window *window : impl_->sim.windows.all())
        list.push_back(window_state(*window, impl_->sim.layout));
    return list;
}

bool Host::window(const std::string &title, WindowState *out) const
{
    const Window *found = impl_->sim.windows.find_title(title);
    if (found == nullptr)
        return false;
    if (out != nullptr)
        *out = window_state(*found, impl_->sim.layout);
    return true;
}

CursorState Host::cursor() const { return impl_->sim.cursor_on_desktop(); }
bool Host::has_desktop() const { return impl_->sim.native.present(); }
bool Host::desktop_cursor(DesktopCursor *out) const { return impl_->sim.native.read_cursor(out); }
const std::vector<std::string> &Host::log() const { return impl_->sim.log.lines(); }
int Host::count_submenus(const std::string &name) const { return impl_->sim.menus.count_submenus(name); }
std::vector<std::string> Host::menu_items(const std::string &name) const { return impl_->sim.menus.item_names(name); }
int Host::menu_check(const std::string &path) const
{
    const MenuItem *item = impl_->sim.menus.item_at(path, nullptr);
    return item != nullptr ? static_cast<int>(item->check) : -1;
}
int Host::menu_enabled(const std::string &path) const
{
    const MenuItem *item = impl_->sim.menus.item_at(path, nullptr);
    return item != nullptr ? (item->enabled ? 1 : 0) : -1;
}
LiveObjects Host::live() const { return impl_->sim.live(); }

uint32_t Host::monitor_pixel(int monitor, int x, int y) const
{
    const Sim &sim = impl_->sim;
    if (!sim.layout.exists(monitor))
        return 0;
    const Rect &m = sim.layout.os(monitor);
    if (x < 0 || y < 0 || x >= m.width() || y >= m.height())
        return 0;
    const Rect &bounds = sim.desktop.bounds();
    return sim.desktop.desktop().pixel(m.left - bounds.left + x, m.bottom - bounds.bottom + y);
}

bool Host::popout_pixel(const std::string &title, int x, int y, uint32_t *rgb) const
{
    const Sim &sim = impl_->sim;
    for (const Window *window : sim.windows.popouts_back_to_front()) {
        const RenderTarget *target = sim.desktop.os_window(window);
        if (window->title != title || target == nullptr)
            continue;
        if (x < 0 || y < 0 || x >= target->width() || y >= target->height())
            return false;
        if (rgb != nullptr)
            *rgb = target->pixel(x, y);
        return true;
    }
    return false;
}

std::vector<std::string> Host::shot(const std::string &dir, const std::string &name) const
{
    return impl_->sim.shot(dir, name);
}

bool Host::os_close_window(const std::string &title)
{
    for (Window *window : impl_->sim.windows.all()) {
        if (window->title == title && window->popped_out() && window->visible) {
            window->visible = false;
            return true;
        }
    }
    return false;
}

void Host::fail_next_window_creations(int n) { impl_->sim.failing_window_creations = n; }
void Host::withhold_window_handle(bool withheld) { impl_->sim.window_handle_withheld = withheld; }
void Host::throw_in_next_call(CallbackKind kind) { arm_callback_throw(kind); }

}  // namespace simhost
