/*
 * A popup window's life: made at the first opening, then shown and hidden by
 * the show/hide command, reopened by its preferences, opened at start-up.
 * Opening places it full screen on its saved monitor, popped out at its
 * saved rectangle, or centred on the mouse; one monitor shows at most one
 * display full screen.
 */
#include "popup_window.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <acfutils/assert.h>
#include <acfutils/log.h>
#include <acfutils/widget.h>

#include "../Capture/stock_device_source.h"
#include "../guard.h"
#include "display_menus.h"
#include "geometry_save.h"
#include "monitors.h"
#include "no_signal.h"
#include "picture_aspect.h"
#include "popupSystem.h"
#include "popup_callbacks.h"
#include "popup_zones.h"

// Keys are not taken: a window that was given the keyboard focus gives it
// back, so that the user's keys reach the simulator's commands again.
static void popup_key(XPLMWindowID win, char, XPLMKeyFlags, char, void *, int losing_focus)
{
    guarded("popup_key", [&] {
        if (!losing_focus && XPLMHasKeyboardFocus(win))
            XPLMTakeKeyboardFocus(nullptr);
    });
}

// The wheel is never taken: the simulator passes it on (to what lies under
// the window). The window is the simulator's one of this popup.
static int popup_wheel(XPLMWindowID win, int, int, int, int, void *ref)
{
    return guarded("popup_wheel", 0, [&] {
        VERIFY(XPLMGetWindowRefCon(win) == ref);
        return 0;
    });
}

static bool popup_create_window(popup *pup)
{
    int screen_w = 0, screen_h = 0;
    XPLMGetScreenSize(&screen_w, &screen_h);

    XPLMCreateWindow_t params = {};
    params.structSize = sizeof(params);
    params.left = static_cast<int>((screen_w - pup->image_w) * 0.5);
    params.top = static_cast<int>((screen_h + pup->image_h) * 0.5);
    params.right = static_cast<int>((screen_w + pup->image_w) * 0.5);
    params.bottom = static_cast<int>((screen_h - pup->image_h) * 0.5);
    params.visible = 0;
    params.drawWindowFunc = popup_draw;
    params.handleMouseClickFunc = popup_click;
    params.handleKeyFunc = popup_key;
    params.handleCursorFunc = popup_cursor;
    params.handleMouseWheelFunc = popup_wheel;
    params.refcon = pup;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFloatingWindows;
    params.handleRightClickFunc = save_geometry_click;

    pup->win = XPLMCreateWindowEx(&params);
    if (pup->win == nullptr) {
        logMsg("Window for %s could not be created; the next show/hide command tries again", pup->title.c_str());
        return false;
    }
    XPLMSetWindowTitle(pup->win, pup->title.c_str());
    XPLMSetWindowResizingLimits(pup->win, popup_min_w, 0, popup_max_w, popup_max_h);
    return true;
}

static void popup_close(popup *pup)
{
    logMsg("Popup Closed");
    if (XPLMWindowIsPoppedOut(pup->win))
        popup_set_mode(pup, xplm_WindowPositionFree, 0);
    XPLMSetWindowIsVisible(pup->win, 0);
    // The overlay's texture and the picture's copies stay for the next opening.
    pup->awaiting_monitor = false;
    logMsg("MTCR FINI");
    capture_follow_windows();
    display_menus_refresh_checks();
    logMsg("Popup Close Fini");
}

// The width a window opened on the mouse may have on a monitor: no larger
// than the monitor either way, its aspect kept, and not below the least
// width (such a window keeps its top-left corner on the monitor).
static int width_on_monitor(const popup *pup, int width, const desktop_rect &monitor)
{
    int monitor_w = monitor.right - monitor.left, monitor_h = monitor.top - monitor.bottom;
    if (width > monitor_w)
        width = monitor_w;
    if (pup->image_h / pup->image_w * width > monitor_h)
        width = static_cast<int>(monitor_h * pup->image_w / pup->image_h);
    return std::max(width, popup_min_w);
}

// Centred on the mouse, and moved the least needed to lie wholly on the
// monitor under it, so that no corner or strip is out of reach. X-Plane
// draws its floating windows only on the monitors it covers: with the
// pointer anywhere else, the nearest of those takes the window.
static void popup_place_on_mouse(popup *pup)
{
    // The width a floating window has; any other takes the picture's own,
    // since its geometry may follow the change of mode only a frame later.
    int left = 0, top = 0, right = 0, bottom = 0;
    XPLMGetWindowGeometry(pup->win, &left, &top, &right, &bottom);
    int width = pup->mode == xplm_WindowPositionFree ? right - left : static_cast<int>(pup->image_w);
    // A window left full screen on a monitor that has gone, or popped out,
    // takes no geometry until it floats again.
    popup_set_mode(pup, xplm_WindowPositionFree, -1);
    int mx = 0, my = 0;
    XPLMGetMouseLocationGlobal(&mx, &my);
    desktop_rect monitor;
    bool on_monitor = monitor_bounds_near(mx, my, &monitor);
    if (on_monitor)
        width = width_on_monitor(pup, width, monitor);
    int half_w = width / 2;
    int half_h = static_cast<int>(pup->image_h / pup->image_w * width) / 2;
    desktop_rect r = {mx - half_w, my + half_h, mx + half_w, my - half_h};
    if (on_monitor)
        r = keep_within(r, monitor);
    XPLMSetWindowGeometry(pup->win, r.left, r.top, r.right, r.bottom);
    window_follow_VR(pup->win);
}

// The rectangle about the centre of r with its width (made no larger than
// the monitor allows) and the picture's aspect, moved the least needed to lie
// wholly on the monitor.
static desktop_rect picture_shape_on(const popup *pup, const desktop_rect &r, const desktop_rect *monitor)
{
    int width = r.right - r.left;
    if (monitor != nullptr)
        width = width_on_monitor(pup, width, *monitor);
    int height = static_cast<int>(pup->image_h / pup->image_w * width);
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    desktop_rect shaped = {cx - width / 2, cy + height / 2, cx - width / 2 + width, cy + height / 2 - height};
    return monitor != nullptr ? keep_within(shaped, *monitor) : shaped;
}

void popup_fit_picture(popup *pup)
{
    // Full screen, the window is its monitor's shape; the drawing keeps the
    // picture's aspect inside it where fill_window asks for that.
    if (!popup_is_open(pup) || popup_is_full_screen(pup))
        return;
    desktop_rect r;
    if (XPLMWindowIsPoppedOut(pup->win)) {
        XPLMGetWindowGeometryOS(pup->win, &r.left, &r.top, &r.right, &r.bottom);
        monitor_list os;
        list_os_monitors(&os);
        const desktop_rect *m = find_monitor(os, monitor_at_point(os, (r.left + r.right) / 2, (r.top + r.bottom) / 2,
                                                                  monitor_edges::left_bottom_included));
        r = picture_shape_on(pup, r, m);
        XPLMSetWindowGeometryOS(pup->win, r.left, r.top, r.right, r.bottom);
        return;
    }
    XPLMGetWindowGeometry(pup->win, &r.left, &r.top, &r.right, &r.bottom);
    desktop_rect monitor;
    bool on_monitor = monitor_bounds_near((r.left + r.right) / 2, (r.top + r.bottom) / 2, &monitor);
    r = picture_shape_on(pup, r, on_monitor ? &monitor : nullptr);
    XPLMSetWindowGeometry(pup->win, r.left, r.top, r.right, r.bottom);
}

// A saved pop-out rectangle, in OS pixels, counts as reachable when its top
// strip, with both top corners, lies on monitors of the operating system,
// whether the simulator covers them or not: the window can then be closed,
// popped in and dragged. A window mostly off screen opens on the mouse.
static bool popout_rect_reachable(int32_t x, int32_t y, int32_t w, int32_t h)
{
    int64_t top = int64_t(y) + h, right = int64_t(x) + w;
    if (top > INT_MAX || right > INT_MAX)
        return false;
    int64_t strip = static_cast<int64_t>(std::ceil(popup_reachable_piece * os_pixels_per_boxel()));
    return os_top_strip_on_monitors(x, top, right, std::min<int64_t>(strip, h));
}

// Another display's window, open and popped out at exactly this rectangle
// (OS pixels), would hide this one wholly, as when neither has a saved place:
// this one goes beside it, right, left, above or below, the first that lies
// wholly on the monitor that holds the other; on a monitor too small for
// both, down and right by a corner's size, its close corner in reach.
static desktop_rect beside_other_popout(const popup *pup, const desktop_rect &r)
{
    desktop_rect o;
    const popup *other = popup_find_other(pup, [&](const popup *p) {
        if (!popup_is_open(p) || !XPLMWindowIsPoppedOut(p->win))
            return false;
        XPLMGetWindowGeometryOS(p->win, &o.left, &o.top, &o.right, &o.bottom);
        return o.left == r.left && o.top == r.top && o.right == r.right && o.bottom == r.bottom;
    });
    if (other == nullptr)
        return r;
    int w = r.right - r.left, h = r.top - r.bottom;
    monitor_list os;
    list_os_monitors(&os);
    const desktop_rect *m = find_monitor(os, monitor_at_point(os, (o.left + o.right) / 2, (o.top + o.bottom) / 2,
                                                              monitor_edges::left_bottom_included));
    const desktop_rect tries[] = {{o.right, o.top, o.right + w, o.bottom},
                                  {o.left - w, o.top, o.left, o.bottom},
                                  {o.left, o.top + h, o.right, o.top},
                                  {o.left, o.bottom, o.right, o.bottom - h}};
    for (const desktop_rect &t : tries) {
        if (m != nullptr && m->left <= t.left && t.right <= m->right && m->bottom <= t.bottom && t.top <= m->top)
            return t;
    }
    int step = static_cast<int>(popup_reachable_piece * os_pixels_per_boxel());
    return {r.left + step, r.top - step, r.right + step, r.bottom - step};
}

// The window is open full screen on the monitor, by the plug-in's own record
// of the mode it gave the window (its geometry may not have followed yet);
// the record holds for every monitor, also those X-Plane does not cover.
static bool fills_monitor(const popup *pup, int32_t monitor)
{
    return popup_is_full_screen(pup) && pup->mode_monitor == monitor && XPLMGetWindowIsVisible(pup->win);
}

// Another display, when its window is open full screen on this monitor and
// its own saved monitor is this one: the monitor is taken.
static popup *monitor_held_by_other(const popup *pup, int32_t monitor)
{
    return popup_find_other(pup, [monitor](const popup *other) {
        return other->prefs->monitor_start->get() == monitor && fills_monitor(other, monitor);
    });
}

// A window put full screen on its saved monitor takes it: the other
// display's window, if it was there, makes way. The one that makes way
// yields: it goes where its own preferences put it but sends nobody away.
enum class monitor_claim { takes, yields };

static void popup_place(popup *pup, monitor_claim claim)
{
    int32_t monitor = pup->prefs->monitor_start->get();
    if (monitor >= 0) {
        logMsg("Checking Monitors to Position Window at %d", monitor);
        if (monitor_is_present(monitor)) {
            if (popup *holder = monitor_held_by_other(pup, monitor)) {
                logMsg("Monitor %d is taken by %s", monitor, holder->title.c_str());
                popup_place_on_mouse(pup);
                return;
            }
            logMsg("Setting Position");
            popup_set_mode(pup, xplm_WindowFullScreenOnMonitor, monitor);
            if (claim == monitor_claim::takes)
                make_way_on_monitor(pup, monitor);
            return;
        }
        logMsg("Monitor %d not Available", monitor);
        popup_place_on_mouse(pup);
        pup->awaiting_monitor = true;
        return;
    }
    if (pup->prefs->popup_at_start->get() == AT_START_POPPED_OUT) {
        logMsg("Auto Popout and Position Window");
        int32_t x = pup->prefs->x->get(), y = pup->prefs->y->get();
        int32_t w = pup->prefs->w->get(), h = pup->prefs->h->get();
        if (popout_rect_reachable(x, y, w, h)) {
            desktop_rect r = beside_other_popout(pup, {x, y + h, x + w, y});
            popup_set_mode(pup, xplm_WindowPopOut, 0);
            XPLMSetWindowGeometryOS(pup->win, r.left, r.top, r.right, r.bottom);
            return;
        }
        logMsg("Saved Popout Window Location (x %d y %d w %d h %d) is on no Monitor; placing %s at the mouse",
               x, y, w, h, pup->title.c_str());
    }
    popup_place_on_mouse(pup);
}

// Opening waits for nothing: the overlay image was read at enable, and its
// texture is made at the window's first draw.
static void popup_open(popup *pup, monitor_claim claim)
{
    if (pup->image == nullptr && !pup->image_file.empty())
        logMsg("No overlay for %s: its image file was not read; showing the live picture only", pup->title.c_str());
    logMsg("Window Opened");

    pup->capture.clear_failed();
    // The source its device's binding asks for now, not at the last look.
    stock_device_check_bound(pup);
    // Placed at its picture's shape, when the source tells it already.
    picture_aspect_take(pup);
    popup_place(pup, claim);
    popup_expect_pictures(pup);
    XPLMSetWindowIsVisible(pup->win, 1);
    capture_follow_windows();
    display_menus_refresh_checks();
    logMsg("Window Opened");
}

static void toggle(popup *pup)
{
    logMsg("In Toggle Popup Callback");
    VERIFY(pup != 0);

    if (pup->win == nullptr && !popup_create_window(pup))
        return;
    if (XPLMGetWindowIsVisible(pup->win))
        popup_close(pup);
    else
        popup_open(pup, monitor_claim::takes);
}

// Logged as the close and the open of the show/hide command it does the work of.
static void reopen(popup *pup, monitor_claim claim)
{
    logMsg("In Toggle Popup Callback");
    if (pup->win == nullptr && !popup_create_window(pup))
        return;
    if (XPLMGetWindowIsVisible(pup->win)) {
        popup_close(pup);
        logMsg("In Toggle Popup Callback");
    }
    popup_open(pup, claim);
}

void popup_reopen(popup *pup)
{
    reopen(pup, monitor_claim::takes);
}

void popup_reopen_yielding(popup *pup)
{
    reopen(pup, monitor_claim::yields);
}

void popup_float_at(popup *pup, const desktop_rect &r)
{
    popup_set_mode(pup, xplm_WindowPositionFree, -1);
    XPLMSetWindowGeometry(pup->win, r.left, r.top, r.right, r.bottom);
}

// Quiet: it runs every second, and its lines come only with a change.
void popups_follow_monitors()
{
    monitor_list os;
    list_os_monitors(&os);
    for (popup *pup : popup_list) {
        if (!popup_is_open(pup))
            continue;
        if (popup_is_full_screen(pup) && find_monitor(os, pup->mode_monitor) == nullptr) {
            logMsg("VXR: Monitor %d is gone: %s comes to the mouse", pup->mode_monitor, pup->title.c_str());
            popup_place_on_mouse(pup);
            pup->awaiting_monitor = true;
            continue;
        }
        int32_t saved = pup->prefs->monitor_start->get();
        if (pup->awaiting_monitor && saved >= 0 && pup->prefs->popup_at_start->get() == AT_START_ON_MONITOR &&
            find_monitor(os, saved) != nullptr) {
            logMsg("VXR: Monitor %d is back: %s returns to it", saved, pup->title.c_str());
            pup->awaiting_monitor = false;
            popup_place(pup, monitor_claim::takes);
        }
    }
}

void make_way_on_monitor(const popup *pup, int32_t monitor)
{
    for (popup *other : popup_list) {
        if (other == pup || !fills_monitor(other, monitor))
            continue;
        logMsg("%s leaves Monitor %d to %s", other->title.c_str(), monitor, pup->title.c_str());
        reopen(other, monitor_claim::yields);
    }
}

bool popup_fill_monitor(popup *pup, int32_t monitor)
{
    if (pup->win == nullptr)
        return false;
    popup_set_mode(pup, xplm_WindowFullScreenOnMonitor, monitor);
    return true;
}

int toggle_popup(XPLMCommandRef, XPLMCommandPhase phase, void *ref)
{
    if (phase == xplm_CommandEnd)
        guarded("toggle_popup", [ref] { toggle(static_cast<popup *>(ref)); });
    return 1;
}

// Both displays set to open at start full screen on one monitor: the PFD
// opens first and keeps it.
static bool start_monitors_clash()
{
    int32_t pfd_monitor = PFD_popup.prefs->monitor_start->get();
    return pfd_monitor >= 0 && pfd_monitor == MFD_popup.prefs->monitor_start->get() &&
           PFD_popup.prefs->popup_at_start->get() > AT_START_CLOSED &&
           MFD_popup.prefs->popup_at_start->get() > AT_START_CLOSED;
}

void open_popups_at_start()
{
    std::vector<popup *> order = popup_list;
    if (start_monitors_clash())
        std::reverse(order.begin(), order.end());
    for (popup *pup : order) {
        if (pup->prefs->popup_at_start->get() <= AT_START_CLOSED)
            continue;
        // Opened by its command before the start-up: it stays open.
        if (popup_is_open(pup)) {
            logMsg("%s is open already: placing it", pup->title.c_str());
            popup_place(pup, monitor_claim::takes);
        } else {
            // One display failing to open does not keep the other closed.
            guarded("open_popups_at_start", [pup] { toggle(pup); });
        }
    }
}
