/*
 * The window model (see windows.h).
 */
#include "window_model.h"

#include <algorithm>
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

std::vector<std::pair<const Window *, Rect>> WindowList::os_windows_back_to_front(const Desktop &layout) const
{
    std::vector<std::pair<const Window *, Rect>> list;
    for (Window *window : sim_windows_back_to_front()) {
        if (window->on_uncovered(layout))
            list.emplace_back(window, layout.os(window->monitor));
    }
    for (Window *window : popouts_back_to_front())
        list.emplace_back(window, window->os_rect);
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

Rect WindowList::limited(const Window *window, Rect rect, const Desktop *os_pixels) const
{
    auto unit = [os_pixels](int boxels) { return os_pixels != nullptr ? os_pixels->to_os(boxels) : boxels; };
    int width = rect.width();
    if (window->max_w > 0 && width > unit(window->max_w))
        width = unit(window->max_w);
    width = std::max(width, unit(window->min_w));
    int height = rect.height();
    if (window->max_h > 0 && height > unit(window->max_h))
        height = unit(window->max_h);
    height = std::max(height, unit(window->min_h));
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

void WindowList::set_geometry_os(Window *window, Rect rect, const Desktop &desktop)
{
    if (!window->popped_out())
        return;
    window->os_rect = limited(window, rect, &desktop);
    window->rect = desktop.to_global(window->os_rect);
}

void WindowList::set_positioning(Window *window, XPLMWindowPositioningMode mode, int monitor, const Desktop &desktop)
{
    if (monitor < 0)
        monitor = 0;
    switch (mode) {
    case xplm_WindowPositionFree:
        window->placement = Placement::free;
        window->monitor = -1;
        window->rect = window->free_rect;
        break;
    case xplm_WindowCenterOnMonitor: {
        // A floating window lives inside X-Plane: only a covered monitor can take it.
        if (!desktop.covered(monitor))
            return;
        const Rect m = desktop.global(monitor);
        int w = window->rect.width(), h = window->rect.height();
        int left = m.left + (m.width() - w) / 2, bottom = m.bottom + (m.height() - h) / 2;
        window->placement = Placement::centre;
        window->monitor = -1;
        window->rect = Rect{left, bottom + h, left + w, bottom};
        break;
    }
    case xplm_WindowFullScreenOnMonitor:
        // Any OS monitor will do; on one X-Plane does not cover, the window
        // becomes an operating-system window filling it.
        if (!desktop.exists(monitor))
            return;
        window->placement = Placement::fullscreen;
        window->monitor = monitor;
        window->rect = desktop.global(monitor);
        break;
    case xplm_WindowFullScreenOnAllMonitors:
        window->placement = Placement::fullscreen_all;
        window->monitor = -1;
        window->rect = desktop.global_bounds();
        break;
    case xplm_WindowPopOut:
        // The operating-system window opens where the window was.
        if (!window->popped_out()) {
            window->os_rect = desktop.to_os(window->rect);
            window->rect = desktop.to_global(window->os_rect);
        }
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

void WindowList::desktop_changed(const Desktop &desktop)
{
    for (auto &window : windows_) {
        if (window->placement == Placement::fullscreen && desktop.exists(window->monitor))
            window->rect = desktop.global(window->monitor);
        else if (window->placement == Placement::fullscreen_all)
            window->rect = desktop.global_bounds();
        else if (window->popped_out())
            window->rect = desktop.to_global(window->os_rect);
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

Rect window_os_rect(const Window &window, const Desktop &desktop)
{
    if (window.popped_out())
        return window.os_rect;
    if (window.placement == Placement::fullscreen && desktop.exists(window.monitor))
        return desktop.os(window.monitor);
    return desktop.to_os(window.rect);
}

WindowState window_state(const Window &window, const Desktop &desktop)
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
    state.os_rect = window_os_rect(window, desktop);
    state.min_w = window.min_w;
    state.min_h = window.min_h;
    state.max_w = window.max_w;
    state.max_h = window.max_h;
    return state;
}

}  // namespace simhost
