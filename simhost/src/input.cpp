/*
 * What the user does: the mouse (routed to windows in global desktop
 * coordinates, a gesture staying with the window that took its press),
 * commands by name, and menu choices.
 */
#include "sim.h"

#include <cstdio>
#include <cstdlib>

namespace simhost {
namespace {

const char *status_name(XPLMMouseStatus status)
{
    return status == xplm_MouseDown ? "press" : status == xplm_MouseDrag ? "drag" : "release";
}

}  // namespace

void Sim::end_on_passed_click(const Window &window, int x, int y, MouseButton button, XPLMMouseStatus status)
{
    // The SDK: passing a click through a window causes mouse-tracking
    // problems in the simulator; a handler that acted on it returns 1.
    const std::string line = std::string("the plug-in's ") + (button == MouseButton::left ? "click" : "right-click") +
                             " handler of \"" + window.title + "\" passed the " + status_name(status) + " at " +
                             std::to_string(x) + ", " + std::to_string(y) + " through (returned 0)";
    host_log(line);
    fprintf(stderr, "simhost: %s: the run ends here\n", line.c_str());
    fflush(stderr);
    std::abort();
}

void Sim::move_pointer(int x, int y)
{
    pointer_x = x;
    pointer_y = y;
    native.follow(layout, windows);
    native.warp_pointer(layout, layout.to_os(x), layout.to_os(y));
}

void Sim::mouse_event(int x, int y, MouseButton button, XPLMMouseStatus status)
{
    move_pointer(x, y);
    bool allowed = callbacks_allowed();
    auto deliver = [&](Window *window) {
        XPLMHandleMouseClick_f handler = button == MouseButton::left ? window->click : window->right_click;
        // A window without a handler takes the click and does nothing with it.
        if (handler == nullptr)
            return true;
        int taken;
        {
            PluginCall call(button == MouseButton::left ? CallbackKind::click : CallbackKind::right_click);
            taken = handler(window, x, y, status, window->refcon);
        }
        if (taken == 0 && options.strict_clicks)
            end_on_passed_click(*window, x, y, button, status);
        return taken != 0;
    };

    if (status == xplm_MouseDown) {
        gesture_window_ = nullptr;
        Window *window = allowed ? windows.at(x, y) : nullptr;
        if (window != nullptr) {
            windows.raise(window);
            gesture_button_ = button;
            gesture_window_ = window;
            // A handler that returns 0 passes the click to the simulator; one
            // that destroys its window ends the gesture.
            if (!deliver(window)) {
                host_log("the simulator takes the " + std::string(button == MouseButton::left ? "left" : "right") +
                         " click at " + std::to_string(x) + ", " + std::to_string(y) + " that \"" + window->title +
                         "\" passed on");
                gesture_window_ = nullptr;
            } else if (windows.find(window) == nullptr) {
                gesture_window_ = nullptr;
            }
        }
    } else if (gesture_window_ != nullptr && button == gesture_button_) {
        Window *window = windows.find(gesture_window_);
        if (window != nullptr && allowed)
            deliver(window);
        if (status == xplm_MouseUp)
            gesture_window_ = nullptr;
    }
    if (options.timing.cursor_every_move)
        ask_cursor();
}

bool Sim::command(const std::string &name, Host::CommandAction action)
{
    Command *found = commands.find(name);
    if (found == nullptr)
        return false;
    if (action != Host::CommandAction::end)
        commands.begin(found);
    if (action != Host::CommandAction::begin)
        commands.end(found);
    return true;
}

bool Sim::choose_menu(const std::string &path)
{
    MenuChoice choice;
    if (!menus.resolve(path, &choice))
        return false;
    if (choice.command != nullptr) {
        commands.begin(choice.command);
        commands.end(choice.command);
    } else if (choice.handler != nullptr && callbacks_allowed()) {
        PluginCall call(CallbackKind::menu);
        choice.handler(choice.menu_ref, choice.item_ref);
    }
    return true;
}

}  // namespace simhost
