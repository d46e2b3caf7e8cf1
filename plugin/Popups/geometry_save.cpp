/*
 * Right clicks on a popup's corners save its placement in its preferences:
 * top-left the monitor under the click (and reopens the window there),
 * top-right the window's rectangle in OS pixels for popping out,
 * bottom-right swaps.
 */
#include "geometry_save.h"

#include <exception>

#include <acfutils/log.h>

#include "desktop_coords.h"
#include "monitors.h"
#include "popupSystem.h"

// A corner zone: 1 to 49 pixels in from the edge; the edge line itself is in none.
static bool in_corner_band(int distance)
{
    return distance >= 1 && distance <= 49;
}

static void save_monitor_full_screen(popup *pup, int x, int y)
{
    logMsg("Save Monitor Full Screen");
    monitor_point_query query = {x, y, -1};
    XPLMGetAllMonitorBoundsGlobal(find_monitor_at_point, &query);
    pup->prefs->monitor_start->set(query.monitor);
    pup->prefs->popup_at_start->set(2);
    // Closing and opening again places the window by the new preferences.
    toggle_popup(nullptr, xplm_CommandEnd, pup);
    toggle_popup(nullptr, xplm_CommandEnd, pup);
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
    prefs->popup_at_start->set(1);
    prefs->monitor_start->set(-1);
}

int save_geometry_click(XPLMWindowID win, int x, int y, XPLMMouseStatus status, void *ref)
{
    auto *pup = static_cast<popup *>(ref);
    int left = 0, top = 0, right = 0, bottom = 0;
    XPLMGetWindowGeometry(win, &left, &top, &right, &bottom);
    if (status != xplm_MouseDown)
        return 0;

    bool in_left = in_corner_band(x - left);
    bool in_right = in_corner_band(right - x);
    bool in_top = in_corner_band(top - y);
    bool in_bottom = in_corner_band(y - bottom);
    try {
        if (in_left && in_top) {
            save_monitor_full_screen(pup, x, y);
        } else if (in_right && in_top) {
            save_popout_location(pup);
        } else if (in_right && in_bottom) {
            swap_popup_monitors();
        }
    } catch (const std::exception &e) {
        logMsg("Saving the placement of %s failed: %s", pup->title.c_str(), e.what());
    } catch (...) {
        logMsg("Saving the placement of %s failed", pup->title.c_str());
    }
    return 0;
}
