/*
 * The monitor model's geometry: conversions between the simulator's global
 * desktop (boxels) and the operating system's (pixels), through the monitors
 * both enumerations report under one index, and the fitting of a window to a
 * monitor that placement needs.
 */
#include "monitors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

int64_t overlap_area(const desktop_rect &a, const desktop_rect &b)
{
    int64_t w = int64_t(std::min(a.right, b.right)) - std::max(a.left, b.left);
    int64_t h = int64_t(std::min(a.top, b.top)) - std::max(a.bottom, b.bottom);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance from the rectangle's centre to the nearest point of bounds.
double distance_sq(const desktop_rect &r, const desktop_rect &bounds)
{
    double cx = (double(r.left) + r.right) / 2, cy = (double(r.top) + r.bottom) / 2;
    double dx = cx < bounds.left ? bounds.left - cx : (cx > bounds.right ? cx - bounds.right : 0);
    double dy = cy < bounds.bottom ? bounds.bottom - cy : (cy > bounds.top ? cy - bounds.top : 0);
    return dx * dx + dy * dy;
}

// The global monitor that holds most of r, or failing that the nearest one.
const monitor_entry *holding_monitor(const monitor_list &global, const desktop_rect &r)
{
    const monitor_entry *best = nullptr;
    int64_t best_area = 0;
    for (int i = 0; i < global.count; i++) {
        int64_t area = overlap_area(r, global.entries[i].bounds);
        if (area > best_area) {
            best_area = area;
            best = &global.entries[i];
        }
    }
    if (best != nullptr)
        return best;
    double best_distance = 0;
    for (int i = 0; i < global.count; i++) {
        double d = distance_sq(r, global.entries[i].bounds);
        if (best == nullptr || d < best_distance) {
            best_distance = d;
            best = &global.entries[i];
        }
    }
    return best;
}

int scale_coord(int value, int from_origin, int from_size, int to_origin, int to_size)
{
    if (from_size <= 0)
        return to_origin + (value - from_origin);
    return to_origin + static_cast<int>(std::lround(double(value - from_origin) * to_size / from_size));
}

}  // namespace

desktop_rect global_to_os(const desktop_rect &r, const desktop_rect &global, const desktop_rect &os)
{
    int gw = global.right - global.left, gh = global.top - global.bottom;
    int ow = os.right - os.left, oh = os.top - os.bottom;
    return {scale_coord(r.left, global.left, gw, os.left, ow), scale_coord(r.top, global.bottom, gh, os.bottom, oh),
            scale_coord(r.right, global.left, gw, os.left, ow), scale_coord(r.bottom, global.bottom, gh, os.bottom, oh)};
}

// Each edge is converted on its own and rounded, so a rectangle that is a
// whole monitor of the OS may come out with an edge a pixel or two off (at
// 150 % a unit at 1920 to 2944 pixels reads 1280 to 1963 boxels, and 1963
// boxels are 2944.5 pixels): within that, it is the monitor.
static void snap_to_os_monitor(desktop_rect *r, int tolerance)
{
    monitor_list os;
    list_os_monitors(&os);
    for (int i = 0; i < os.count; i++) {
        const desktop_rect &m = os.entries[i].bounds;
        if (std::abs(r->left - m.left) <= tolerance && std::abs(r->top - m.top) <= tolerance &&
            std::abs(r->right - m.right) <= tolerance && std::abs(r->bottom - m.bottom) <= tolerance) {
            *r = m;
            return;
        }
    }
}

bool window_rect_os(XPLMWindowID win, desktop_rect *out)
{
    if (XPLMWindowIsPoppedOut(win)) {
        XPLMGetWindowGeometryOS(win, &out->left, &out->top, &out->right, &out->bottom);
        return true;
    }
    XPLMGetWindowGeometry(win, &out->left, &out->top, &out->right, &out->bottom);
    monitor_list global;
    list_global_monitors(&global);
    const monitor_entry *holder = holding_monitor(global, *out);
    if (holder == nullptr)
        return false;
    monitor_list os;
    list_os_monitors(&os);
    const desktop_rect *os_bounds = find_monitor(os, holder->index);
    if (os_bounds == nullptr)
        return false;
    *out = global_to_os(*out, holder->bounds, *os_bounds);
    // At 100 % the conversion is exact; above, an edge is off by less than
    // a boxel's pixels, however the simulator rounds.
    int boxel_w = holder->bounds.right - holder->bounds.left;
    double pixels_per_boxel = boxel_w > 0 ? double(os_bounds->right - os_bounds->left) / boxel_w : 1;
    if (pixels_per_boxel > 1)
        snap_to_os_monitor(out, static_cast<int>(std::ceil(pixels_per_boxel)));
    return true;
}

bool window_point_os(XPLMWindowID win, int x, int y, int *os_x, int *os_y)
{
    desktop_rect g, os;
    XPLMGetWindowGeometry(win, &g.left, &g.top, &g.right, &g.bottom);
    if (!window_rect_os(win, &os))
        return false;
    *os_x = scale_coord(x, g.left, g.right - g.left, os.left, os.right - os.left);
    *os_y = scale_coord(y, g.bottom, g.top - g.bottom, os.bottom, os.top - os.bottom);
    return true;
}

double os_pixels_per_boxel()
{
    monitor_list global, os;
    list_global_monitors(&global);
    list_os_monitors(&os);
    for (int i = 0; i < global.count; i++) {
        const desktop_rect &g = global.entries[i].bounds;
        const desktop_rect *o = find_monitor(os, global.entries[i].index);
        if (o != nullptr && g.right > g.left)
            return double(o->right - o->left) / (g.right - g.left);
    }
    return 1;
}

bool os_top_strip_on_monitors(int64_t left, int64_t top, int64_t right, int64_t strip_h)
{
    if (right <= left || strip_h <= 0)
        return false;
    int64_t bottom = top - strip_h;
    monitor_list os;
    list_os_monitors(&os);
    // The spans of the monitors that hold the strip's whole height must join
    // up across its width.
    std::pair<int64_t, int64_t> spans[monitor_list::max_monitors];
    int count = 0;
    for (int i = 0; i < os.count; i++) {
        const desktop_rect &m = os.entries[i].bounds;
        if (m.bottom <= bottom && top <= m.top && m.left < m.right)
            spans[count++] = {m.left, m.right};
    }
    std::sort(spans, spans + count);
    int64_t reached = left;
    for (int i = 0; i < count && spans[i].first <= reached; i++)
        reached = std::max(reached, spans[i].second);
    return reached >= right;
}

bool monitor_bounds_near(int x, int y, desktop_rect *out)
{
    monitor_list global;
    list_global_monitors(&global);
    // As with the monitor under a click: the last one reported that holds the point.
    int under = monitor_at_point(global, x, y);
    if (under >= 0) {
        *out = *find_monitor(global, under);
        return true;
    }
    const monitor_entry *nearest = holding_monitor(global, desktop_rect{x, y, x, y});
    if (nearest == nullptr)
        return false;
    *out = nearest->bounds;
    return true;
}

desktop_rect keep_within(const desktop_rect &r, const desktop_rect &bounds)
{
    int w = r.right - r.left, h = r.top - r.bottom;
    int left = r.left, top = r.top;
    if (w > bounds.right - bounds.left)
        left = bounds.left;
    else
        left = std::min(std::max(left, bounds.left), bounds.right - w);
    if (h > bounds.top - bounds.bottom)
        top = bounds.top;
    else
        top = std::max(std::min(top, bounds.top), bounds.bottom + h);
    return {left, top, left + w, top - h};
}
