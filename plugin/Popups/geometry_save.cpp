/*
 * Right clicks on a popup's corners save its placement in its preferences:
 * top-left the monitor under the click (and reopens the window there),
 * top-right the window's rectangle for popping out, bottom-right swaps.
 */
#include "geometry_save.h"

#include <exception>

#include <acfutils/log.h>

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

static void save_popout_location(popup *pup, int left, int top, int right, int bottom)
{
    logMsg("Save Popout Window Location");
    popup_prefs *prefs = pup->prefs;
    prefs->x->set(left);
    prefs->y->set(bottom);
    prefs->w->set(right - left);
    prefs->h->set(top - bottom);
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
            save_popout_location(pup, left, top, right, bottom);
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
