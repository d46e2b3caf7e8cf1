/*
 * Monitors as the simulator enumerates them: the monitor under a point, the
 * instrument monitors (display units recognised by their width), the start-up
 * assignment of those to PFD and MFD, the swap of the two windows, and the
 * rule that one monitor shows at most one of them full screen.
 */
#include "monitors.h"

#include <algorithm>

#include <XPLMDisplay.h>
#include <acfutils/log.h>

#include "../guard.h"
#include "desktop_coords.h"
#include "popupSystem.h"

// The widths of the cockpit's display units.
static bool is_instrument_width(int width)
{
    return width == 512 || width == 682 || width == 683 || width == 800 || width == 1024;
}

// The simulator calls these three for each monitor it enumerates: each goes
// through the guard like every other callback.
void find_monitor_at_point(int index, int left, int top, int right, int bottom, void *ref)
{
    guarded("find_monitor_at_point", [&] {
        logMsg("Monitor %d: [L: %d T: %d], [R: %d B: %d]", index, left, top, right, bottom);
        auto *query = static_cast<monitor_point_query *>(ref);
        if (left < query->x && query->x < right && bottom < query->y && query->y < top)
            query->monitor = index;
    });
}

static void note_instrument_monitor(int index, int left, int top, int right, int bottom, instrument_monitor_pair *pair)
{
    logMsg("VXR Monitor %d: [L: %d T: %d], [R: %d B: %d]", index, left, top, right, bottom);
    if (!is_instrument_width(right - left))
        return;
    pair->all.push_back(index);
    if (pair->pfd == -1) {
        pair->pfd = index;
        logMsg("VXR: Found Monitor %d for PFD", index);
    } else {
        pair->mfd = index;
        logMsg("VXR: Found Monitor %d for MFD", index);
    }
}

void find_instrument_monitors(int index, int left, int top, int right, int bottom, void *ref)
{
    guarded("find_instrument_monitors", [&] {
        note_instrument_monitor(index, left, top, right, bottom, static_cast<instrument_monitor_pair *>(ref));
    });
}

void match_monitor_index(int index, int left, int top, int right, int bottom, void *ref)
{
    guarded("match_monitor_index", [&] {
        logMsg("Monitor %d: [L: %d T: %d], [R: %d B: %d]", index, left, top, right, bottom);
        auto *query = static_cast<monitor_presence_query *>(ref);
        if (index == query->monitor)
            query->found = true;
    });
}

// Asked of the operating system's monitors: X-Plane puts a window full screen
// on any of them, also one it does not cover with a window of its own.
bool monitor_is_present(int index)
{
    monitor_presence_query query = {index, false};
    XPLMGetAllMonitorBoundsOS(match_monitor_index, &query);
    return query.found;
}

// The saved monitor of a display that takes part in the assignment, when the
// other display does not keep it already and it is one of the units, or a
// monitor X-Plane does not cover: the start-up cannot find such a monitor
// itself, so the user naming it is the only way it gets a display.
static int32_t kept_monitor(const popup *pup, const std::vector<int32_t> &units,
                            const std::vector<int32_t> &uncovered, int32_t kept_by_other)
{
    int32_t saved = pup->prefs->monitor_start->get();
    if (pup->prefs->popup_at_start->get() < AT_START_CLOSED || saved < 0 || saved == kept_by_other)
        return -1;
    auto listed = [saved](const std::vector<int32_t> &list) {
        return std::find(list.begin(), list.end(), saved) != list.end();
    };
    return listed(units) || listed(uncovered) ? saved : -1;
}

// The first unit (or, from the end, the last) that is not taken; -1 if none.
static int32_t free_unit(const std::vector<int32_t> &units, int32_t taken, bool from_end)
{
    auto free = [taken](int32_t unit) { return unit != taken; };
    if (from_end) {
        auto it = std::find_if(units.rbegin(), units.rend(), free);
        return it == units.rend() ? -1 : *it;
    }
    auto it = std::find_if(units.begin(), units.end(), free);
    return it == units.end() ? -1 : *it;
}

static void assign_monitor(popup *pup, int32_t monitor, bool kept, const char *display)
{
    if (monitor < 0)
        return;
    if (kept)
        logMsg("VXR: Keeping Saved Monitor %d for %s", monitor, display);
    logMsg("VXR: Setting Monitor %d to %s", monitor, display);
    pup->prefs->popup_at_start->set(AT_START_ON_MONITOR);
    pup->prefs->monitor_start->set(monitor);
}

// The monitors that X-Plane does not cover are in the operating system's list
// only. The display units among them are named: the user has to cover them
// in X-Plane's monitor settings for the start-up to find them.
static std::vector<int32_t> uncovered_monitors()
{
    monitor_list covered, os;
    list_global_monitors(&covered);
    list_os_monitors(&os);
    std::vector<int32_t> uncovered;
    for (int i = 0; i < os.count; i++) {
        const monitor_entry &m = os.entries[i];
        if (find_monitor(covered, m.index) != nullptr)
            continue;
        uncovered.push_back(m.index);
        int width = m.bounds.right - m.bounds.left;
        if (is_instrument_width(width))
            logMsg("VXR: Monitor %d (%d x %d pixels) is a display unit X-Plane does not cover: "
                   "set X-Plane full screen on it in its monitor settings to use it",
                   m.index, width, m.bounds.top - m.bounds.bottom);
    }
    return uncovered;
}

// A display keeps its saved unit, covered or not; one without a kept unit
// gets the first free unit (PFD) or the last (MFD) of those X-Plane covers.
// A display left without a unit keeps its saved values, and so finds its
// unit again when it is plugged back in.
void assign_instrument_monitors()
{
    instrument_monitor_pair pair = {-1, -1, {}};
    XPLMGetAllMonitorBoundsGlobal(find_instrument_monitors, &pair);
    std::vector<int32_t> uncovered = uncovered_monitors();

    int32_t pfd_kept = kept_monitor(&PFD_popup, pair.all, uncovered, -1);
    int32_t mfd_kept = kept_monitor(&MFD_popup, pair.all, uncovered, pfd_kept);
    int32_t pfd = pfd_kept;
    if (pfd < 0 && PFD_popup.prefs->popup_at_start->get() >= AT_START_CLOSED)
        pfd = free_unit(pair.all, mfd_kept, false);
    int32_t mfd = mfd_kept;
    if (mfd < 0 && MFD_popup.prefs->popup_at_start->get() >= AT_START_CLOSED)
        mfd = free_unit(pair.all, pfd, true);

    assign_monitor(&PFD_popup, pfd, pfd_kept >= 0, "PFD");
    assign_monitor(&MFD_popup, mfd, mfd_kept >= 0, "MFD");
}

static popup *other_display(const popup *pup)
{
    return pup == &PFD_popup ? &MFD_popup : &PFD_popup;
}

// The window is open full screen on the monitor, by the plug-in's own record
// of the mode it gave the window (its geometry may not have followed yet);
// the record holds for every monitor, also those X-Plane does not cover.
static bool fills_monitor(const popup *pup, int32_t monitor)
{
    return popup_is_full_screen(pup) && pup->mode_monitor == monitor && XPLMGetWindowIsVisible(pup->win);
}

popup *monitor_held_by_other(const popup *pup, int32_t monitor)
{
    popup *other = other_display(pup);
    if (other->prefs->monitor_start->get() != monitor || !fills_monitor(other, monitor))
        return nullptr;
    return other;
}

void make_way_on_monitor(const popup *pup, int32_t monitor)
{
    // The window that makes way is reopened, and that opening may not in turn
    // send this one away.
    static bool making_way = false;
    popup *other = other_display(pup);
    if (making_way || !fills_monitor(other, monitor))
        return;
    struct reset {
        ~reset() { making_way = false; }
    } reset_at_return;
    making_way = true;
    logMsg("%s leaves Monitor %d to %s", other->title.c_str(), monitor, pup->title.c_str());
    toggle_popup(nullptr, xplm_CommandEnd, other);
    toggle_popup(nullptr, xplm_CommandEnd, other);
}

// True when the window was put full screen on the monitor.
static bool place_on_monitor(popup *pup, int monitor, const char *checking_line, const char *setting_line)
{
    logMsg(checking_line, monitor);
    if (!monitor_is_present(monitor))
        return false;
    logMsg("%s", setting_line);
    if (pup->win == nullptr)
        return false;
    popup_set_mode(pup, xplm_WindowFullScreenOnMonitor, monitor);
    return true;
}

void swap_popup_monitors()
{
    logMsg("Attempting VXR Screen Swap");
    popup_prefs *pfd = PFD_popup.prefs;
    popup_prefs *mfd = MFD_popup.prefs;
    if (pfd->popup_at_start->get() != AT_START_ON_MONITOR || mfd->popup_at_start->get() != AT_START_ON_MONITOR) {
        logMsg("Unable to swap monitors! Windows do not exist!!");
        return;
    }
    int pfd_monitor = pfd->monitor_start->get();
    int mfd_monitor = mfd->monitor_start->get();
    pfd->monitor_start->set(mfd_monitor);
    mfd->monitor_start->set(pfd_monitor);
    bool pfd_placed =
        place_on_monitor(&PFD_popup, mfd_monitor, "Checking Monitors to Position PFD at %d", "Setting PFD Position");
    bool mfd_placed =
        place_on_monitor(&MFD_popup, pfd_monitor, "Checking Monitors to Position MFD at %d", "Setting MFD Position");
    // A window that could not move may be left on the monitor the other one
    // came to; it makes way. On a monitor both name, the PFD stays.
    if (pfd_placed)
        make_way_on_monitor(&PFD_popup, mfd_monitor);
    if (mfd_placed && pfd_monitor != mfd_monitor)
        make_way_on_monitor(&MFD_popup, pfd_monitor);
}

int swap_command_handler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd)
        guarded("swap_command_handler", [] { swap_popup_monitors(); });
    return 0;
}
