/*
 * The window model: modern windows with their callbacks, positioning mode,
 * geometry in global desktop coordinates (y up), resizing limits and
 * stacking order. Popped-out windows are operating-system windows of their
 * own and lie above the simulator's window.
 */
#ifndef SIMHOST_WINDOWS_H
#define SIMHOST_WINDOWS_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <XPLMDisplay.h>

#include "simhost/host.h"

namespace simhost {

enum class Placement { free, centre, fullscreen, fullscreen_all, popout, vr };

struct Window {
    XPLMDrawWindow_f draw = nullptr;
    XPLMHandleMouseClick_f click = nullptr;
    XPLMHandleMouseClick_f right_click = nullptr;
    XPLMHandleKey_f key = nullptr;
    XPLMHandleCursor_f cursor = nullptr;
    XPLMHandleMouseWheel_f wheel = nullptr;
    void *refcon = nullptr;
    XPLMWindowDecoration decoration = xplm_WindowDecorationRoundRectangle;
    XPLMWindowLayer layer = xplm_WindowLayerFloatingWindows;

    std::string title;
    bool visible = false;
    Placement placement = Placement::free;
    int monitor = -1;     // full screen on this monitor
    Rect rect;            // where the window is now
    Rect free_rect;       // where free positioning puts it back
    int min_w = 0, min_h = 0, max_w = 0, max_h = 0;   // a maximum of 0: none
    float gravity[4] = {0, 1, 0, 1};
    uint64_t z = 0;       // stacking within its layer: higher is in front

    bool popped_out() const { return placement == Placement::popout; }
    bool shown() const { return visible && placement != Placement::vr; }
};

class WindowList {
public:
    // The record's fields past struct_size are not read.
    Window *create(const XPLMCreateWindow_t &params, int struct_size);
    Window *find(XPLMWindowID id) const;
    Window *find_title(const std::string &title) const;
    void destroy(Window *window);
    void raise(Window *window);
    bool in_front(const Window *window) const;

    // Shown windows inside the simulator's window, back to front (layer, then z).
    std::vector<Window *> sim_windows_back_to_front() const;
    // Shown popped-out windows, back to front.
    std::vector<Window *> popouts_back_to_front() const;
    // The topmost shown window whose rectangle holds the point, edges included;
    // popped-out windows first. nullptr: the simulator's own.
    Window *at(int x, int y) const;

    void set_geometry(Window *window, Rect rect);
    void set_geometry_os(Window *window, Rect rect);
    void set_positioning(Window *window, XPLMWindowPositioningMode mode, int monitor, const std::vector<Rect> &monitors);
    void monitors_changed(const std::vector<Rect> &monitors);

    Window *focus() const { return focus_; }
    void set_focus(Window *window) { focus_ = window; }
    int count() const { return static_cast<int>(windows_.size()); }
    std::vector<Window *> all() const;
    void clear();

private:
    Rect limited(const Window *window, Rect rect) const;
    std::vector<std::unique_ptr<Window>> windows_;
    Window *focus_ = nullptr;
    uint64_t next_z_ = 1;
};

WindowState window_state(const Window &window);
Rect bounding_box(const std::vector<Rect> &monitors);

}  // namespace simhost

#endif
