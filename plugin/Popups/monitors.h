/*
 * The monitor model the rest of the plug-in asks: the monitors the simulator
 * covers (global desktop, boxels, y up) and every monitor of the operating
 * system (pixels), the monitor under a point, the cockpit's display units,
 * and the conversions between the two desktops. A monitor's Global and OS
 * bounds share its index, which is how one is converted into the other.
 */
#ifndef VXR_MONITORS_H
#define VXR_MONITORS_H

#include <cstdint>

#include <XPLMDisplay.h>

// Left, top, right, bottom; y grows upwards.
struct desktop_rect {
    int left, top, right, bottom;
};

// The monitors one of the simulator's enumerations reports, in its order;
// enough for any desk (monitors past max_monitors are not listed).
struct monitor_entry {
    int index;
    desktop_rect bounds;
};

struct monitor_list {
    static constexpr int max_monitors = 32;
    monitor_entry entries[max_monitors];
    int count;
};

// Those X-Plane covers, in global boxels; every monitor of the OS, in pixels.
void list_global_monitors(monitor_list *out);
void list_os_monitors(monitor_list *out);
// The bounds of the monitor with that index in the list, or nullptr.
const desktop_rect *find_monitor(const monitor_list &list, int index);

// Logs each monitor of the list as "<prefix>N: [L: l T: t], [R: r B: b]".
void log_monitors(const monitor_list &list, const char *prefix);

enum class monitor_edges { excluded, left_bottom_included };
// The index of the last monitor of the list that holds the point; -1 if none.
int monitor_at_point(const monitor_list &list, int x, int y, monitor_edges edges = monitor_edges::excluded);

// Whether the operating system has a monitor with that index: X-Plane puts a
// window full screen on any of them, also one it does not cover.
bool monitor_is_present(int index);

// The cockpit's display units are recognised by their width.
bool is_instrument_width(int width);

// The global bounds of the monitor under the point (edges excluded), or, for
// a point on no monitor the simulator covers, of the nearest one; false when
// the simulator reports no monitor.
bool monitor_bounds_near(int x, int y, desktop_rect *out);

// Moves r the least needed so that it lies wholly within bounds, axis by
// axis; in an axis where it does not fit, its left or top edge is put on the
// bounds' own, so that the window's close and pop-out corners stay in reach.
desktop_rect keep_within(const desktop_rect &r, const desktop_rect &bounds);

// The window's rectangle in operating-system pixels: a popped-out window's
// own, otherwise its global rectangle converted through the monitor that
// holds most of it. A rectangle that is a whole monitor of the OS, to within
// the conversion's rounding, comes out as exactly that monitor. False when no
// monitor of the simulator holds any of it and none is near (out keeps the
// global rectangle then).
bool window_rect_os(XPLMWindowID win, desktop_rect *out);

// A point on the window, in global boxels, in OS pixels: mapped from the
// window's global rectangle onto its OS one. False as for window_rect_os.
bool window_point_os(XPLMWindowID win, int x, int y, int *os_x, int *os_y);

// Converts a global rectangle to OS pixels through the monitor with the
// given Global and OS bounds.
desktop_rect global_to_os(const desktop_rect &r, const desktop_rect &global, const desktop_rect &os);

// OS pixels per boxel (1, 1.5 or 2 at the usual scales), read from the first
// monitor both enumerations report; 1 when there is none.
double os_pixels_per_boxel();

// Whether the OS rectangle's top strip, its whole width and strip_h pixels
// down from its top, lies on monitors of the operating system.
bool os_top_strip_on_monitors(int64_t left, int64_t top, int64_t right, int64_t strip_h);

#endif
