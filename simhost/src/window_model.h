/*
 * The window model: modern windows with their callbacks, positioning mode,
 * geometry in global desktop boxels (y up), resizing limits and stacking
 * order. Popped-out windows are operating-system windows of their own, placed
 * in OS pixels, and lie above the simulator's window.
 */
#ifndef SIMHOST_WINDOWS_H
#define SIMHOST_WINDOWS_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <XPLMDisplay.h>

#include "desktop.h"
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
    Rect rect;            // where the window is now, in global boxels
    // A popped-out window's operating-system window, in OS pixels; its rect
    // is this converted to boxels, so that the pointer (in boxels) finds it.
    Rect os_rect;
    Rect free_rect;       // where free positioning puts it back
    // The geometry a change of positioning mode gives it at the next frame.
    Rect pending_rect;
    bool rect_pending = false;
    int min_w = 0, min_h = 0, max_w = 0, max_h = 0;   // a maximum of 0: none
    float gravity[4] = {0, 1, 0, 1};
    uint64_t z = 0;       // stacking within its layer: higher is in front

    bool popped_out() const { return placement == Placement::popout; }
    // Full screen on a monitor X-Plane does not cover: then it is an
    // operating-system window on that monitor, drawn like a popped-out one.
    bool on_uncovered(const Desktop &desktop) const
    {
        return placement == Placement::fullscreen && desktop.exists(monitor) && !desktop.covered(monitor);
    }
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
    // The windows the operating system shows, each with its rectangle in OS
    // pixels, back to front: full screen on an uncovered monitor, then popped out.
    std::vector<std::pair<const Window *, Rect>> os_windows_back_to_front(const Desktop &layout) const;
    // The topmost shown window whose rectangle holds the point, edges included;
    // popped-out windows first. nullptr: the simulator's own.
    Window *at(int x, int y) const;

    void set_geometry(Window *window, Rect rect);
    // Moves a popped-out window's operating-system window; others ignore it.
    void set_geometry_os(Window *window, Rect rect, const Desktop &desktop);
    void set_positioning(Window *window, XPLMWindowPositioningMode mode, int monitor, const Desktop &desktop);
    // After the monitors or the scale changed: full-screen windows follow
    // their monitor, popped-out ones keep their pixels and get new boxels.
    void desktop_changed(const Desktop &desktop);

    Window *focus() const { return focus_; }
    void set_focus(Window *window) { focus_ = window; }
    int count() const { return static_cast<int>(windows_.size()); }
    std::vector<Window *> all() const;
    void clear();

private:
    // The resizing limits (boxels) applied to a rectangle in boxels or, with
    // os_pixels given, to one in OS pixels (the limits converted to pixels).
    Rect limited(const Window *window, Rect rect, const Desktop *os_pixels = nullptr) const;
    std::vector<std::unique_ptr<Window>> windows_;
    Window *focus_ = nullptr;
    uint64_t next_z_ = 1;
};

WindowState window_state(const Window &window, const Desktop &desktop);
// What XPLMGetWindowGeometryOS reports (see WindowState::os_rect).
Rect window_os_rect(const Window &window, const Desktop &desktop);

}  // namespace simhost

#endif
