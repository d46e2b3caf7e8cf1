/*
 * Right clicks on a popup's corners save its placement in its preferences:
 * top-left the monitor under the click, covered by X-Plane or not (the window
 * reopens there), top-right the window's rectangle in OS pixels for popping
 * out, bottom-right swaps.
 */
#include "geometry_save.h"

#include <acfutils/log.h>

#include "../guard.h"
#include "cockpit.h"
#include "display_menus.h"
#include "monitors.h"
#include "popup.h"
#include "popup_area.h"
#include "popup_window.h"
#include "popup_zones.h"

// The monitor under the click: one X-Plane covers, found in boxels, or else
// one it does not cover (a window popped out onto it or filling it), found
// in the operating system's pixels.
static int32_t monitor_under_click(popup *pup, int x, int y)
{
    monitor_list global;
    list_global_monitors(&global);
    log_monitors(global, "Monitor ");
    int monitor = monitor_at_point(global, x, y);
    if (monitor >= 0)
        return monitor;
    int os_x = 0, os_y = 0;
    if (!window_point_os(pup->win, x, y, &os_x, &os_y))
        return -1;
    monitor_list os;
    list_os_monitors(&os);
    log_monitors(os, "Monitor ");
    return monitor_at_point(os, os_x, os_y);
}

static void save_monitor_full_screen(popup *pup, int x, int y)
{
    logMsg("Save Monitor Full Screen");
    int32_t monitor = monitor_under_click(pup, x, y);
    // A monitor the other display is on, or over, is swapped with it.
    if (monitor >= 0) {
        cockpit_put_on_monitor(pup, monitor);
        return;
    }
    pup->prefs->monitor_start->set(monitor);
    pup->prefs->popup_at_start->set(AT_START_ON_MONITOR);
    popup_reopen(pup);
    display_menus_refresh_checks();
}

// The saved rectangle is where the pop-out opens, which the simulator takes in
// operating-system pixels; the window's own rectangle is in boxels unless it
// is popped out, and one boxel is 1.5 or 2 pixels at 150 or 200 % scale.
static void save_popout_location(popup *pup)
{
    logMsg("Save Popout Window Location");
    desktop_rect r;
    if (!window_rect_os(pup->win, &r))
        logMsg("%s lies on no monitor of the simulator; saving its rectangle unconverted", pup->title.c_str());
    popup_prefs *prefs = pup->prefs;
    prefs->x->set(r.left);
    prefs->y->set(r.bottom);
    prefs->w->set(r.right - r.left);
    prefs->h->set(r.top - r.bottom);
    prefs->popup_at_start->set(AT_START_POPPED_OUT);
    prefs->monitor_start->set(-1);
    display_menus_refresh_checks();
}

// A press on a corner saves a place or swaps the displays; elsewhere it does nothing.
static void save_geometry(XPLMWindowID win, int x, int y, popup *pup)
{
    // The corners as drawn: on the picture, whatever fill_window says.
    popup_rect r = popup_chrome_rect(pup, win);
    switch (popup_zone_at(r, x, y, false, zone_reader::right_button)) {
    case popup_zone::close:
        save_monitor_full_screen(pup, x, y);
        return;
    case popup_zone::popout:
        save_popout_location(pup);
        return;
    case popup_zone::resize_right:
        swap_popup_monitors();
        return;
    default:
        return;
    }
}

// Every press is the window's, and so is the rest of its gesture, whether a
// corner acted on it or not: passed on, the simulator's mouse tracking would
// lose the gesture (and its mouse-look, or a cockpit control under the
// window, would take it).
int save_geometry_click(XPLMWindowID win, int x, int y, XPLMMouseStatus status, void *ref)
{
    if (status == xplm_MouseDown)
        guarded("save_geometry_click", [&] { save_geometry(win, x, y, static_cast<popup *>(ref)); });
    return 1;
}
