/*
 * The simulator's timing as its documentation allows it, not as is
 * convenient (HostTiming): devices bound some frames after the plane-loaded
 * message, a window's geometry following a change of positioning mode only
 * at the next frame, an outside view in which no device is drawn; and the
 * wheel and the keyboard, which reach a window's own callbacks.
 */
#include "sim.h"

namespace simhost {

void Sim::start_frame_timing()
{
    avionics.next_frame();
    for (Window *window : windows.all()) {
        if (window->rect_pending) {
            window->rect = window->pending_rect;
            window->rect_pending = false;
        }
    }
}

// A second change of mode in the same frame replaces the first: the window
// goes on showing the geometry it had, and takes the last change's next frame.
void Sim::defer_geometry(Window *window, const Rect &before)
{
    if (options.timing.geometry_at_once)
        return;
    window->pending_rect = window->rect;
    window->rect = before;
    window->rect_pending = window->pending_rect.left != before.left || window->pending_rect.top != before.top ||
                           window->pending_rect.right != before.right || window->pending_rect.bottom != before.bottom;
}

void Sim::settle_placed_windows()
{
    // Full-screen and popped-out windows have followed the desktop already.
    for (Window *window : windows.all()) {
        if (window->placement == Placement::fullscreen || window->popped_out())
            window->rect_pending = false;
    }
}

bool Sim::mouse_wheel(int x, int y, int clicks)
{
    pointer_x = x;
    pointer_y = y;
    Window *window = callbacks_allowed() ? windows.at(x, y) : nullptr;
    if (window == nullptr || window->wheel == nullptr)
        return false;
    PluginCall call(CallbackKind::wheel);
    return window->wheel(window, x, y, 1, clicks, window->refcon) != 0;
}

bool Sim::key_press(const std::string &title, char key)
{
    Window *window = windows.find_title(title);
    if (window == nullptr)
        return false;
    windows.set_focus(window);
    if (callbacks_allowed() && window->key != nullptr) {
        PluginCall call(CallbackKind::key);
        window->key(window, key, xplm_DownFlag, static_cast<char>(key), window->refcon, 0);
    }
    return true;
}

}  // namespace simhost
