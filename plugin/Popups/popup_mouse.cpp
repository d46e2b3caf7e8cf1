/*
 * The mouse on a popup window: its corners close, pop out and resize (keeping
 * the image's aspect), its top and bottom strips drag; the cursor shows each
 * zone.
 */
#include "popupSystem.h"
#include "popup_callbacks.h"
#include "popup_area.h"
#include "popup_zones.h"

#include <algorithm>
#include <cstdlib>

#include <acfutils/log.h>

#include "../guard.h"
#include "display_menus.h"
#include "monitors.h"

static popup_rect read_rect(XPLMWindowID win)
{
    popup_rect r = {0, 0, 0, 0};
    XPLMGetWindowGeometry(win, &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

// The face is measured on the picture as it is drawn, whatever fill_window
// says: a click's image point is where it shows.
image_point popup_win_to_image(popup *pup, XPLMWindowID win, int x, int y)
{
    popup_area a = popup_drawn_area(pup, win);
    image_point p;
    p.x = static_cast<double>(x - a.left) / static_cast<double>(a.width) * pup->image_w;
    p.y = static_cast<double>(a.bottom + a.height - y) / static_cast<double>(a.height) * pup->image_h;
    return p;
}

// Which native window of the simulator the pointer is in, for the cursor's
// "still shown" shortcut: a popped-out window's own, a full-screen window's
// monitor, or the monitor under the pointer (each has a window of its own).
static int native_part(const popup *pup, int x, int y, bool popped_out)
{
    if (popped_out)
        return -1;
    if (popup_is_full_screen(pup))
        return 1000 + pup->mode_monitor;
    monitor_list monitors;
    list_global_monitors(&monitors);
    int monitor = monitor_at_point(monitors, x, y, monitor_edges::left_bottom_included);
    return monitor >= 0 ? monitor : -2;
}

struct cursor_place {
    XPLMWindowID win;
    int part;
};

static XPLMCursorStatus show_cursor(cursor_t *cursor, const cursor_place &place)
{
    // Without a desktop cursor (none for the library, logged there) the
    // simulator keeps its own.
    if (cursor != nullptr && cursor_make_current_at(cursor, place.win, place.part))
        return xplm_CursorCustom;
    cursor_give_back();
    return xplm_CursorDefault;
}

// The simulator's own cursor where none of ours shows.
static XPLMCursorStatus simulator_cursor(XPLMCursorStatus status)
{
    cursor_give_back();
    return status;
}

static cursor_t *zone_cursor(popup_zone zone)
{
    switch (zone) {
    case popup_zone::close:
        return popup_cursors[CURSOR_B_CLOSE];
    case popup_zone::popout:
        return popup_cursors[CURSOR_B_POP];
    case popup_zone::resize_right:
        return popup_cursors[CURSOR_B_RESIZE_R];
    case popup_zone::resize_left:
        return popup_cursors[CURSOR_B_RESIZE_L];
    case popup_zone::top_strip:
    case popup_zone::bottom_strip:
        return popup_cursors[CURSOR_M_CLICK];
    default:
        return nullptr;
    }
}

static XPLMCursorStatus cursor_at(XPLMWindowID win, int x, int y, popup *pup)
{
    popup_rect r = popup_chrome_rect(pup, win);
    bool popped_out = XPLMWindowIsPoppedOut(win) != 0;
    popup_zone zone = popup_zone_at(r, x, y, popped_out, zone_reader::cursor);
    if (zone == popup_zone::outside)
        return simulator_cursor(xplm_CursorDefault);
    const cursor_place place = {win, native_part(pup, x, y, popped_out)};
    if (zone != popup_zone::face)
        return show_cursor(zone_cursor(zone), place);
    if (pup->dragging)
        return show_cursor(popup_cursors[CURSOR_M_CLICK], place);
    return simulator_cursor(xplm_CursorArrow);
}

XPLMCursorStatus popup_cursor(XPLMWindowID win, int x, int y, void *ref)
{
    return guarded("popup_cursor", xplm_CursorDefault,
                   [&] { return cursor_at(win, x, y, static_cast<popup *>(ref)); });
}

void popup_drag(XPLMWindowID win, int x, int y, XPLMMouseStatus status, popup *pup)
{
    if (status == xplm_MouseDown) {
        popup_rect r = read_rect(win);
        pup->grab_x = x - r.left;
        pup->grab_y = y - r.bottom;
        pup->dragging = 1;
    } else if (status == xplm_MouseDrag) {
        if (pup->grab_x == 0 || pup->grab_y == 0)
            return;
        popup_rect r = read_rect(win);
        int left = x - pup->grab_x;
        int bottom = y - pup->grab_y;
        XPLMSetWindowGeometry(win, left, bottom + (r.top - r.bottom), left + (r.right - r.left), bottom);
    } else {
        pup->grab_x = 0;
        pup->grab_y = 0;
        pup->dragging = 0;
    }
}

// The width a resize may give the window: within the resizing limits, and with
// the height its aspect asks for no higher than they allow.
static int resize_width_within_limits(const popup *pup, int width)
{
    if (width < popup_min_w)
        width = popup_min_w;
    if (width > popup_max_w)
        width = popup_max_w;
    if (pup->image_h / pup->image_w * width > popup_max_h)
        width = static_cast<int>(popup_max_h * pup->image_w / pup->image_h);
    return width;
}

// A window of another shape than its picture (one floated out of full screen
// on a unit of another shape) takes the picture's shape as a resize begins,
// about the corner held: that corner stays under the pointer, and the
// resize goes on from there without a jump. It keeps its width unless its
// monitor is too low for that.
static popup_rect shape_about_corner(const popup *pup, XPLMWindowID win, const popup_rect &r, bool right_side)
{
    int width = r.right - r.left;
    int height = static_cast<int>(pup->image_h / pup->image_w * width);
    if (std::abs(height - (r.top - r.bottom)) <= 1)
        return r;
    desktop_rect m;
    if (monitor_bounds_near((r.left + r.right) / 2, (r.top + r.bottom) / 2, &m) && r.bottom < m.top &&
        r.bottom + height > m.top) {
        width = std::max(static_cast<int>((m.top - r.bottom) * pup->image_w / pup->image_h), popup_min_w);
        height = static_cast<int>(pup->image_h / pup->image_w * width);
    }
    popup_rect shaped;
    shaped.left = right_side ? r.right - width : r.left;
    shaped.right = shaped.left + width;
    shaped.bottom = r.bottom;
    shaped.top = r.bottom + height;
    XPLMSetWindowGeometry(win, shaped.left, shaped.top, shaped.right, shaped.bottom);
    return shaped;
}

void popup_resize(XPLMWindowID win, int x, int, XPLMMouseStatus status, popup *pup, bool right_side)
{
    popup_rect r = read_rect(win);
    if (status == xplm_MouseDown) {
        r = shape_about_corner(pup, win, r, right_side);
        pup->resize_side = right_side ? 1 : -1;
        pup->grab_x = right_side ? r.right - x : x - r.left;
    } else if (status == xplm_MouseDrag) {
        // Only the edge being resized moves; the other one and the top stay,
        // and the bottom follows the image's aspect.
        int width = right_side ? x + pup->grab_x - r.left : r.right - (x - pup->grab_x);
        width = resize_width_within_limits(pup, width);
        int left = right_side ? r.left : r.right - width;
        int bottom = static_cast<int>(r.top - (pup->image_h / pup->image_w) * width);
        XPLMSetWindowGeometry(win, left, r.top, left + width, bottom);
    } else if (status == xplm_MouseUp) {
        pup->resize_side = 0;
    }
}

static void popup_mouse_down(popup *pup, XPLMWindowID win, int x, int y, popup_zone zone)
{
    image_point p = popup_win_to_image(pup, win, x, y);
    logMsg("Click at %.2f %.2f", p.x, p.y);

    if (zone == popup_zone::close) {
        logMsg("Close Window %s", pup->title.c_str());
        XPLMSetWindowIsVisible(win, 0);
        capture_follow_windows();
        display_menus_refresh_checks();
        // The pointer now rests on what lay under the window.
        cursor_give_back();
    } else if (zone == popup_zone::popout) {
        logMsg("Popout Window %s", pup->title.c_str());
        popup_set_mode(pup, xplm_WindowPopOut, 0);
    } else if (zone == popup_zone::top_strip || zone == popup_zone::bottom_strip) {
        logMsg("Drag Window %s", pup->title.c_str());
        popup_drag(win, x, y, xplm_MouseDown, pup);
    }
}

// In the window but beyond an edge of the picture (fill_window 0): the black
// there has no zones.
static bool beside_picture(const popup_rect &window, const popup_rect &picture, int x, int y)
{
    bool in_window = window.left <= x && x <= window.right && window.bottom <= y && y <= window.top;
    bool on_picture = picture.left <= x && x <= picture.right && picture.bottom <= y && y <= picture.top;
    return in_window && !on_picture;
}

// The simulator leaves undefined what a geometry change does to a window
// full screen on a monitor. A drag or resize that begins on one is what the
// user asks of a floating window, so the window floats first, where it is,
// and the gesture moves or sizes it from there.
static void float_in_place(popup *pup, XPLMWindowID win, const popup_rect &r)
{
    logMsg("%s floats to be moved: it was full screen on Monitor %d", pup->title.c_str(), pup->mode_monitor);
    popup_set_mode(pup, xplm_WindowPositionFree, -1);
    XPLMSetWindowGeometry(win, r.left, r.top, r.right, r.bottom);
}

static bool moves_or_sizes(popup_zone zone)
{
    return zone == popup_zone::resize_left || zone == popup_zone::resize_right || zone == popup_zone::top_strip ||
           zone == popup_zone::bottom_strip;
}

static void click(XPLMWindowID win, int x, int y, XPLMMouseStatus status, popup *pup)
{
    bool popped_out = XPLMWindowIsPoppedOut(win) != 0;
    popup_rect window = read_rect(win);
    popup_rect picture = popup_chrome_rect(pup, win);
    if (status == xplm_MouseDown && popup_is_full_screen(pup) && !beside_picture(window, picture, x, y) &&
        moves_or_sizes(popup_zone_at(picture, x, y, popped_out, zone_reader::left_button)))
        float_in_place(pup, win, window);

    // Gestures under way, on a floating window, wherever the pointer is.
    if (!popped_out) {
        if (pup->dragging) {
            popup_drag(win, x, y, status, pup);
            return;
        }
        // A resize keeps the side it began with, wherever the pointer goes.
        if (pup->resize_side != 0) {
            popup_resize(win, x, y, status, pup, pup->resize_side > 0);
            return;
        }
    }
    // Every event in a resize grip resizes, also a drag or release that began elsewhere.
    popup_zone zone = beside_picture(window, picture, x, y)
                          ? popup_zone::face
                          : popup_zone_at(picture, x, y, popped_out, zone_reader::left_button);
    if (zone == popup_zone::resize_left || zone == popup_zone::resize_right) {
        popup_resize(win, x, y, status, pup, zone == popup_zone::resize_right);
        return;
    }

    if (status == xplm_MouseDown)
        popup_mouse_down(pup, win, x, y, zone);
}

// The window takes every click, also one whose handling failed.
int popup_click(XPLMWindowID win, int x, int y, XPLMMouseStatus status, void *ref)
{
    guarded("popup_click", [&] { click(win, x, y, status, static_cast<popup *>(ref)); });
    return 1;
}
