/*
 * One frame of the simulator: due flight loops, held commands, the stock
 * avionics' screens, the panel passes with the gauges callbacks, the window
 * pass, and the cursor. Also the screenshots of what the last frame left on
 * the desktop.
 */
#include "sim.h"

#include <filesystem>

#include "callback_probe.h"
#include "costs.h"
#include "draw2d.h"
#include "gl_state.h"
#include "simhost/utf8_path.h"
#include "panel_displays.h"
#include "screenshots.h"

namespace simhost {
namespace {

std::string file_safe(std::string text)
{
    for (char &c : text) {
        if (c == ' ' || c == '/' || c == '\\')
            c = '_';
    }
    return text;
}

}  // namespace

void Sim::run_frame()
{
    frame++;
    time += options.frame_seconds;
    gl->make_current();
    start_frame_timing();
    if (callbacks_allowed())
        flight_loops.dispatch(time, options.frame_seconds, frame);
    commands.continue_held();
    avionics_pass();
    // X-Plane calls the gauges phase "according to schedule": some frames
    // have none, some a second lit pass, after the panel's, on another framebuffer.
    const bool irregular = harsh.harshness().irregular_passes;
    const bool lit = passes.both || passes.value == 2;
    if (!irregular || frame % 10 != 0) {
        if (passes.both) {
            panel_pass(1);
            panel_pass(2);
        } else {
            panel_pass(passes.value);
        }
        if (irregular && lit && frame % 4 == 2)
            foreign_pass();
    }
    window_pass();
    ask_cursor();
    end_frame_costs();
}

void Sim::avionics_pass()
{
    if (outside_view)
        return;
    PanelLook look;
    look.lit = true;
    look.time = time;
    look.frame = frame;
    avionics.draw(look, callbacks_allowed(), options.avionics.stale_datarefs, gl_names);
}

void Sim::panel_pass(int value)
{
    panel_render_type = value;
    panel.ensure(panel_width, panel_height, gl_names, harsh.harshness().multisampled_panel ? 4 : 0);
    auto host_state = [this] { reset_gl_state(panel, 0, panel_width, 0, panel_height); };
    host_state();
    bool allowed = callbacks_allowed();
    bool host_draws = !allowed || draw_callbacks.run(xplm_Phase_Gauges, true, host_state);
    if (host_draws) {
        PanelLook look;
        look.lit = value == 2;
        look.time = time;
        look.frame = frame;
        look.grey_screens = avionics.aircraft() == Aircraft::stock_g1000;
        draw_panel(look);
        host_state();
    }
    if (allowed)
        draw_callbacks.run(xplm_Phase_Gauges, false, host_state);
    panel_render_type = 0;
}

void Sim::foreign_pass()
{
    // The dataref reads 2 here too, but this framebuffer holds something else.
    panel_render_type = 2;
    foreign.ensure(panel_width, panel_height, gl_names);
    auto host_state = [this] { reset_gl_state(foreign, 0, panel_width, 0, panel_height); };
    host_state();
    clear_pixels(0, 0, panel_width, panel_height, foreign_pass_colour);
    host_state();
    if (callbacks_allowed())
        draw_callbacks.run(xplm_Phase_Gauges, false, host_state);
    panel_render_type = 0;
}

void Sim::window_pass()
{
    desktop.begin_frame(layout, gl_names);
    bool allowed = callbacks_allowed();
    // A window callback finds the scissor box at its own rectangle, in pixels of the bound framebuffer.
    auto draw = [allowed](Window *window, int box_x, int box_y, int box_w, int box_h) {
        if (allowed && window->draw != nullptr) {
            GlCallbackScope gl(CallbackKind::window_draw, box_x, box_y, box_w, box_h);
            ProbeScope probe(CallbackKind::window_draw);
            PluginCall call(CallbackKind::window_draw);
            window->draw(window, window->refcon);
        }
    };
    // A callback may hide, move or destroy any window, so each is looked up
    // again before it is drawn.
    auto still_shown = [this](Window *window) { return windows.find(window) != nullptr && window->shown(); };
    const std::vector<Window *> inside = windows.sim_windows_back_to_front();
    for (Window *window : inside) {
        if (!still_shown(window) || window->popped_out() || window->on_uncovered(layout))
            continue;
        desktop.prepare_desktop();
        const Rect px = layout.to_os(window->rect), &bounds = desktop.bounds();
        draw(window, px.left - bounds.left, px.bottom - bounds.bottom, px.width(), px.height());
    }
    // Operating-system windows: full screen on an uncovered monitor, then popped out (above all).
    for (Window *window : inside) {
        if (!still_shown(window) || !window->on_uncovered(layout))
            continue;
        const Rect &os = layout.os(window->monitor);
        desktop.prepare_os_window(window, os, window->rect, gl_names);
        draw(window, 0, 0, os.width(), os.height());
    }
    for (Window *window : windows.popouts_back_to_front()) {
        if (!still_shown(window) || !window->popped_out())
            continue;
        desktop.prepare_os_window(window, window->os_rect, window->rect, gl_names);
        draw(window, 0, 0, window->os_rect.width(), window->os_rect.height());
    }
    desktop.finish_frame(gl_names);
}

void Sim::ask_cursor()
{
    // The real pointer goes where the mouse is, over the native windows as
    // they are now, before the plug-in looks for it.
    native.follow(layout, windows);
    native.warp_pointer(layout, layout.to_os(pointer_x), layout.to_os(pointer_y));
    CursorState state;
    Window *window = callbacks_allowed() ? windows.at(pointer_x, pointer_y) : nullptr;
    if (window != nullptr && window->cursor != nullptr) {
        ProbeScope probe(CallbackKind::cursor);
        PluginCall call(CallbackKind::cursor);
        state.status = window->cursor(window, pointer_x, pointer_y, window->refcon);
    }
    // A custom cursor is the plug-in's to set; for any other answer the
    // simulator shows its own.
    if (state.status != xplm_CursorCustom)
        native.show_simulator_cursor(state.status);
    cursor = state;
}

std::vector<std::string> Sim::shot(const std::string &dir, const std::string &name)
{
    std::vector<std::string> files;
    if (!desktop.desktop().valid())
        return files;
    std::error_code ec;
    std::filesystem::create_directories(fs_path(dir), ec);

    // The pointer is in boxels, the pictures in OS pixels.
    const int px = layout.to_os(pointer_x), py = layout.to_os(pointer_y);
    DesktopCursor on_desktop;
    const bool shown = native.read_cursor(&on_desktop);
    auto overlay_for = [&](const Rect &area) {
        CursorOverlay overlay;
        overlay.visible = cursor.status != xplm_CursorHidden && area.left <= px && px < area.right &&
                          area.bottom < py && py <= area.top;
        overlay.x = px - area.left;
        overlay.y = area.top - py;
        if (shown)
            overlay.desktop = &on_desktop;
        return overlay;
    };

    const Rect &bounds = desktop.bounds();
    for (int i = 0; i < layout.count(); i++) {
        const Rect &m = layout.os(i);
        std::vector<uint32_t> pixels =
            desktop.desktop().read(m.left - bounds.left, m.bottom - bounds.bottom, m.width(), m.height());
        std::string path = dir + "/" + name + "-monitor" + std::to_string(i) + ".png";
        if (write_screenshot(path, pixels, m.width(), m.height(), overlay_for(m)))
            files.push_back(path);
        else
            host_log("cannot write " + path);
    }
    for (Window *window : windows.popouts_back_to_front()) {
        const RenderTarget *target = desktop.os_window(window);
        if (target == nullptr)
            continue;
        std::vector<uint32_t> pixels = target->read(0, 0, target->width(), target->height());
        Rect area{window->os_rect.left, window->os_rect.bottom + target->height(),
                  window->os_rect.left + target->width(), window->os_rect.bottom};
        std::string path = dir + "/" + name + "-popout-" + file_safe(window->title) + ".png";
        if (write_screenshot(path, pixels, target->width(), target->height(), overlay_for(area)))
            files.push_back(path);
        else
            host_log("cannot write " + path);
    }
    return files;
}

}  // namespace simhost
