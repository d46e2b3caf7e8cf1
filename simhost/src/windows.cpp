/*
 * The window model (see windows.h).
 */
#include "windows.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace simhost {

Window *WindowList::create(const XPLMCreateWindow_t &params, int struct_size)
{
    XPLMCreateWindow_t record;
    memset(&record, 0, sizeof record);
    memcpy(&record, &params, std::min(sizeof record, static_cast<size_t>(struct_size)));

    auto window = std::make_unique<Window>();
    window->draw = record.drawWindowFunc;
    window->click = record.handleMouseClickFunc;
    window->key = record.handleKeyFunc;
    window->cursor = record.handleCursorFunc;
    window->wheel = record.handleMouseWheelFunc;
    window->refcon = record.refcon;
    if (struct_size >= static_cast<int>(sizeof record)) {
        window->decoration = record.decorateAsFloatingWindow;
        window->layer = record.layer;
        window->right_click = record.handleRightClickFunc;
    }
    window->visible = record.visible != 0;
    window->rect = window->free_rect = Rect{record.left, record.top, record.right, record.bottom};
    window->z = next_z_++;
    windows_.push_back(std::move(window));
    return windows_.back().get();
}

Window *WindowList::find(XPLMWindowID id) const
{
    for (const auto &window : windows_) {
        if (window.get() == id)
            return window.get();
    }
    return nullptr;
}

Window *WindowList::find_title(const std::string &title) const
{
    for (const auto &window : windows_) {
        if (window->title == title)
            return window.get();
    }
    return nullptr;
}

void WindowList::destroy(Window *window)
{
    if (focus_ == window)
        focus_ = nullptr;
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(), [window](const auto &w) { return w.get() == window; }),
                   windows_.end());
}

void WindowList::raise(Window *window) { window->z = next_z_++; }

bool WindowList::in_front(const Window *window) const
{
    if (!window->shown())
        return false;
    for (const auto &other : windows_) {
        if (other.get() != window && other->shown() && other->layer == window->layer && other->z > window->z)
            return false;
    }
    return true;
}

std::vector<Window *> WindowList::sim_windows_back_to_front() const
{
    std::vector<Window *> list;
    for (const auto &window : windows_) {
        if (window->shown() && !window->popped_out())
            list.push_back(window.get());
    }
    std::sort(list.begin(), list.end(), [](const Window *a, const Window *b) {
        return a->layer != b->layer ? a->layer < b->layer : a->z < b->z;
    });
    return list;
}

std::vector<Window *> WindowList::popouts_back_to_front() const
{
    std::vector<Window *> list;
    for (const auto &window : windows_) {
        if (window->shown() && window->popped_out())
            list.push_back(window.get());
    }
    std::sort(list.begin(), list.end(), [](const Window *a, const Window *b) { return a->z < b->z; });
    return list;
}

Window *WindowList::at(int x, int y) const
{
    auto holds = [x, y](const Window *w) {
        return w->rect.left <= x && x <= w->rect.right && w->rect.bottom <= y && y <= w->rect.top;
    };
    for (auto layer : {popouts_back_to_front(), sim_windows_back_to_front()}) {
        for (auto it = layer.rbegin(); it != layer.rend(); ++it) {
            if (holds(*it))
                return *it;
        }
    }
    return nullptr;
}

Rect WindowList::limited(const Window *window, Rect rect) const
{
    int width = rect.width();
    if (window->max_w > 0 && width > window->max_w)
        width = window->max_w;
    width = std::max(width, window->min_w);
    int height = rect.height();
    if (window->max_h > 0 && height > window->max_h)
        height = window->max_h;
    height = std::max(height, window->min_h);
    rect.right = rect.left + width;
    rect.bottom = rect.top - height;
    return rect;
}

void WindowList::set_geometry(Window *window, Rect rect)
{
    // Full-screen and popped-out windows are placed by the monitor and by
    // their operating-system window; VR windows by the headset.
    switch (window->placement) {
    case Placement::free:
    case Placement::centre:
        window->placement = Placement::free;
        window->rect = window->free_rect = limited(window, rect);
        break;
    default:
        break;
    }
}

void WindowList::set_geometry_os(Window *window, Rect rect)
{
    if (window->popped_out())
        window->rect = limited(window, rect);
}

void WindowList::set_positioning(Window *window, XPLMWindowPositioningMode mode, int monitor, const std::vector<Rect> &monitors)
{
    int count = static_cast<int>(monitors.size());
    if (monitor < 0)
        monitor = 0;
    switch (mode) {
    case xplm_WindowPositionFree:
        window->placement = Placement::free;
        window->monitor = -1;
        window->rect = window->free_rect;
        break;
    case xplm_WindowCenterOnMonitor: {
        if (monitor >= count)
            return;
        const Rect &m = monitors[static_cast<size_t>(monitor)];
        int w = window->rect.width(), h = window->rect.height();
        int left = m.left + (m.width() - w) / 2, bottom = m.bottom + (m.height() - h) / 2;
        window->placement = Placement::centre;
        window->monitor = -1;
        window->rect = Rect{left, bottom + h, left + w, bottom};
        break;
    }
    case xplm_WindowFullScreenOnMonitor:
        if (monitor >= count)
            return;
        window->placement = Placement::fullscreen;
        window->monitor = monitor;
        window->rect = monitors[static_cast<size_t>(monitor)];
        break;
    case xplm_WindowFullScreenOnAllMonitors:
        if (count == 0)
            return;
        window->placement = Placement::fullscreen_all;
        window->monitor = -1;
        window->rect = bounding_box(monitors);
        break;
    case xplm_WindowPopOut:
        // The operating-system window opens where the window was.
        window->placement = Placement::popout;
        window->monitor = -1;
        break;
    case xplm_WindowVR:
        window->placement = Placement::vr;
        window->monitor = -1;
        break;
    default:
        break;
    }
}

void WindowList::monitors_changed(const std::vector<Rect> &monitors)
{
    for (auto &window : windows_) {
        if (window->placement == Placement::fullscreen && window->monitor < static_cast<int>(monitors.size()))
            window->rect = monitors[static_cast<size_t>(window->monitor)];
        else if (window->placement == Placement::fullscreen_all && !monitors.empty())
            window->rect = bounding_box(monitors);
    }
}

std::vector<Window *> WindowList::all() const
{
    std::vector<Window *> list;
    for (const auto &window : windows_)
        list.push_back(window.get());
    return list;
}

void WindowList::clear()
{
    windows_.clear();
    focus_ = nullptr;
}

WindowState window_state(const Window &window)
{
    WindowState state;
    state.id = const_cast<Window *>(&window);
    state.title = window.title;
    state.visible = window.visible;
    switch (window.placement) {
    case Placement::fullscreen:
    case Placement::fullscreen_all:
        state.mode = WindowMode::fullscreen;
        break;
    case Placement::popout:
        state.mode = WindowMode::popout;
        break;
    default:
        state.mode = WindowMode::free;
        break;
    }
    state.monitor = window.placement == Placement::fullscreen ? window.monitor : -1;
    state.rect = window.rect;
    state.min_w = window.min_w;
    state.min_h = window.min_h;
    state.max_w = window.max_w;
    state.max_h = window.max_h;
    return state;
}

Rect bounding_box(const std::vector<Rect> &monitors)
{
    if (monitors.empty())
        return Rect{};
    Rect box{INT_MAX, INT_MIN, INT_MIN, INT_MAX};
    for (const Rect &m : monitors) {
        box.left = std::min(box.left, m.left);
        box.top = std::max(box.top, m.top);
        box.right = std::max(box.right, m.right);
        box.bottom = std::min(box.bottom, m.bottom);
    }
    return box;
}

}  // namespace simhost
