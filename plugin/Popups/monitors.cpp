/*
 * Monitors as the simulator enumerates them: the monitor under a point, the
 * instrument monitors (display units recognised by their width), the start-up
 * assignment of those to PFD and MFD, and the swap of the two windows.
 */
#include "monitors.h"

#include <XPLMDisplay.h>
#include <acfutils/log.h>

#include "popupSystem.h"

// The widths of the cockpit's display units.
static bool is_instrument_width(int width)
{
    return width == 512 || width == 682 || width == 683 || width == 800 || width == 1024;
}

void find_monitor_at_point(int index, int left, int top, int right, int bottom, void *ref)
{
    logMsg("Monitor %d: [L: %d T: %d], [R: %d B: %d]", index, left, top, right, bottom);
    auto *query = static_cast<monitor_point_query *>(ref);
    if (left < query->x && query->x < right && bottom < query->y && query->y < top)
        query->monitor = index;
}

void find_instrument_monitors(int index, int left, int top, int right, int bottom, void *ref)
{
    logMsg("VXR Monitor %d: [L: %d T: %d], [R: %d B: %d]", index, left, top, right, bottom);
    if (!is_instrument_width(right - left))
        return;
    auto *pair = static_cast<instrument_monitor_pair *>(ref);
    if (pair->pfd == -1) {
        pair->pfd = index;
        logMsg("VXR: Found Monitor %d for PFD", index);
    } else {
        pair->mfd = index;
        logMsg("VXR: Found Monitor %d for MFD", index);
    }
}

void match_monitor_index(int index, int left, int top, int right, int bottom, void *ref)
{
    logMsg("Monitor %d: [L: %d T: %d], [R: %d B: %d]", index, left, top, right, bottom);
    auto *query = static_cast<monitor_presence_query *>(ref);
    if (index == query->monitor)
        query->found = true;
}

bool monitor_is_present(int index)
{
    monitor_presence_query query = {index, false};
    XPLMGetAllMonitorBoundsGlobal(match_monitor_index, &query);
    return query.found;
}

static void assign_monitor(popup *pup, int monitor, const char *line)
{
    if (monitor < 0 || pup->prefs->popup_at_start->get() < 0)
        return;
    logMsg(line, monitor);
    pup->prefs->popup_at_start->set(2);
    pup->prefs->monitor_start->set(monitor);
}

void assign_instrument_monitors()
{
    instrument_monitor_pair pair = {-1, -1};
    XPLMGetAllMonitorBoundsGlobal(find_instrument_monitors, &pair);
    assign_monitor(&PFD_popup, pair.pfd, "VXR: Setting Monitor %d to PFD");
    assign_monitor(&MFD_popup, pair.mfd, "VXR: Setting Monitor %d to MFD");
}

static void place_on_monitor(popup *pup, int monitor, const char *checking_line, const char *setting_line)
{
    logMsg(checking_line, monitor);
    if (!monitor_is_present(monitor))
        return;
    logMsg("%s", setting_line);
    if (pup->win != nullptr)
        XPLMSetWindowPositioningMode(pup->win, xplm_WindowFullScreenOnMonitor, monitor);
}

void swap_popup_monitors()
{
    logMsg("Attempting VXR Screen Swap");
    popup_prefs *pfd = PFD_popup.prefs;
    popup_prefs *mfd = MFD_popup.prefs;
    if (pfd->popup_at_start->get() != 2 || mfd->popup_at_start->get() != 2) {
        logMsg("Unable to swap monitors! Windows do not exist!!");
        return;
    }
    int pfd_monitor = pfd->monitor_start->get();
    int mfd_monitor = mfd->monitor_start->get();
    pfd->monitor_start->set(mfd_monitor);
    mfd->monitor_start->set(pfd_monitor);
    place_on_monitor(&PFD_popup, mfd_monitor, "Checking Monitors to Position PFD at %d", "Setting PFD Position");
    place_on_monitor(&MFD_popup, pfd_monitor, "Checking Monitors to Position MFD at %d", "Setting MFD Position");
}

int swap_command_handler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd)
        swap_popup_monitors();
    return 0;
}
