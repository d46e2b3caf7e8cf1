/*
 * Which display goes on which monitor: the start-up assignment of the
 * display units (recognised by their width) to PFD and MFD, the swap of the
 * two windows, and the places the user chooses from the menu.
 */
#include "cockpit.h"

#include <algorithm>
#include <vector>

#include <XPLMDisplay.h>
#include <acfutils/log.h>

#include "../guard.h"
#include "display_menus.h"
#include "monitors.h"
#include "popupSystem.h"
#include "popup_window.h"

// The display units among the monitors X-Plane covers, in its order; the
// first is the PFD's and the last the MFD's unless saved choices say otherwise.
static std::vector<int32_t> find_instrument_monitors()
{
    monitor_list global;
    list_global_monitors(&global);
    std::vector<int32_t> units;
    for (int i = 0; i < global.count; i++) {
        const monitor_entry &m = global.entries[i];
        logMsg("VXR Monitor %d: [L: %d T: %d], [R: %d B: %d]", m.index, m.bounds.left, m.bounds.top, m.bounds.right,
               m.bounds.bottom);
        if (is_instrument_width(m.bounds.right - m.bounds.left))
            units.push_back(m.index);
    }
    return units;
}

// The saved monitor of a display that takes part in the assignment, when the
// other display does not keep it already and the operating system has it,
// whatever its width and whether X-Plane covers it or not: the user chose it
// (from the menu or with a right click), which the start-up cannot know better.
static int32_t kept_monitor(const popup *pup, const monitor_list &os, int32_t kept_by_other)
{
    int32_t saved = pup->prefs->monitor_start->get();
    if (pup->prefs->popup_at_start->get() < AT_START_CLOSED || saved < 0 || saved == kept_by_other)
        return -1;
    return find_monitor(os, saved) != nullptr ? saved : -1;
}

// The first unit (or, from the end, the last) that is not taken; -1 if none.
static int32_t free_unit(const std::vector<int32_t> &units, const std::vector<int32_t> &taken, bool from_end)
{
    auto free = [&taken](int32_t unit) { return std::find(taken.begin(), taken.end(), unit) == taken.end(); };
    if (from_end) {
        auto it = std::find_if(units.rbegin(), units.rend(), free);
        return it == units.rend() ? -1 : *it;
    }
    auto it = std::find_if(units.begin(), units.end(), free);
    return it == units.end() ? -1 : *it;
}

// The free unit found for a display, said once; a kept one is said as it is set.
static void say_found(int32_t monitor, bool kept, const char *display)
{
    if (monitor >= 0 && !kept)
        logMsg("VXR: Found Monitor %d for %s", monitor, display);
}

static void say_kept(int32_t monitor, const char *display)
{
    if (monitor >= 0)
        logMsg("VXR: Keeping Saved Monitor %d for %s", monitor, display);
}

static void assign_monitor(popup *pup, int32_t monitor, bool kept, const char *display)
{
    if (monitor < 0)
        return;
    if (kept)
        say_kept(monitor, display);
    logMsg("VXR: Setting Monitor %d to %s", monitor, display);
    pup->prefs->popup_at_start->set(AT_START_ON_MONITOR);
    pup->prefs->monitor_start->set(monitor);
}

// The monitors that X-Plane does not cover are in the operating system's list
// only. The display units among them are named: the user has to cover them
// in X-Plane's monitor settings for the start-up to find them.
static void log_uncovered_units(const monitor_list &os)
{
    monitor_list covered;
    list_global_monitors(&covered);
    for (int i = 0; i < os.count; i++) {
        const monitor_entry &m = os.entries[i];
        if (find_monitor(covered, m.index) != nullptr)
            continue;
        int width = m.bounds.right - m.bounds.left;
        if (is_instrument_width(width))
            logMsg("VXR: Monitor %d (%d x %d pixels) is a display unit X-Plane does not cover: "
                   "set X-Plane full screen on it in its monitor settings to use it",
                   m.index, width, m.bounds.top - m.bounds.bottom);
    }
}

// A display keeps its saved monitor while it is there; one without a kept one
// gets the first free unit (PFD) or the last (MFD) of those X-Plane covers.
// A display left without a unit keeps its saved values, and so finds its
// unit again when it is plugged back in.
void assign_instrument_monitors()
{
    std::vector<int32_t> units = find_instrument_monitors();
    monitor_list os;
    list_os_monitors(&os);
    log_uncovered_units(os);

    // Units the other screens were given by the user stay theirs.
    std::vector<int32_t> taken;
    for (size_t i = 0; i < screen_count; i++) {
        if (screen_table[i].group == screen_group::pair)
            continue;
        taken.push_back(kept_monitor(&screen_popups[i], os, -1));
        say_kept(taken.back(), screen_table[i].name);
    }
    int32_t pfd_kept = kept_monitor(&PFD_popup, os, -1);
    int32_t mfd_kept = kept_monitor(&MFD_popup, os, pfd_kept);
    int32_t pfd = pfd_kept;
    taken.push_back(mfd_kept);
    if (pfd < 0 && PFD_popup.prefs->popup_at_start->get() >= AT_START_CLOSED)
        pfd = free_unit(units, taken, false);
    int32_t mfd = mfd_kept;
    taken.back() = pfd;
    if (mfd < 0 && MFD_popup.prefs->popup_at_start->get() >= AT_START_CLOSED)
        mfd = free_unit(units, taken, true);

    // One line per display for the unit it takes.
    say_found(pfd, pfd_kept >= 0, "PFD");
    say_found(mfd, mfd_kept >= 0, "MFD");
    assign_monitor(&PFD_popup, pfd, pfd_kept >= 0, "PFD");
    assign_monitor(&MFD_popup, mfd, mfd_kept >= 0, "MFD");
}

// True when the window was put full screen on the monitor.
static bool place_on_monitor(popup *pup, int monitor, const char *checking_line, const char *setting_line)
{
    logMsg(checking_line, monitor);
    if (!monitor_is_present(monitor))
        return false;
    logMsg("%s", setting_line);
    return popup_fill_monitor(pup, monitor);
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
    display_menus_refresh_checks();
}

int swap_command_handler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd)
        guarded("swap_command_handler", [] { swap_popup_monitors(); });
    return 0;
}

static bool opens_on_monitor(const popup *pup, int32_t monitor)
{
    return pup->prefs->popup_at_start->get() > AT_START_CLOSED && pup->prefs->monitor_start->get() == monitor;
}

std::string cockpit_display_on_monitor(int32_t monitor)
{
    std::string names;
    for (size_t i = 0; i < screen_count; i++) {
        if (!opens_on_monitor(&screen_popups[i], monitor))
            continue;
        if (!names.empty())
            names += " and ";
        names += screen_table[i].name;
    }
    return names;
}

static display_spot saved_spot(const popup *pup)
{
    display_spot spot;
    const popup_prefs *prefs = pup->prefs;
    int32_t at_start = prefs->popup_at_start->get();
    spot.monitor = prefs->monitor_start->get();
    if (at_start <= AT_START_CLOSED)
        spot.place = display_place::closed;
    else if (spot.monitor >= 0)
        spot.place = display_place::on_monitor;
    else if (at_start == AT_START_POPPED_OUT)
        spot.place = display_place::popped_out;
    else
        spot.place = display_place::floating;
    if (spot.place == display_place::popped_out) {
        int32_t x = prefs->x->get(), y = prefs->y->get();
        spot.rect = {x, y + prefs->h->get(), x + prefs->w->get(), y};
        spot.rect_known = true;
    }
    if (spot.place != display_place::on_monitor)
        spot.monitor = -1;
    return spot;
}

display_spot cockpit_display_spot(const popup *pup)
{
    if (!popup_is_open(pup))
        return saved_spot(pup);
    display_spot spot;
    desktop_rect &r = spot.rect;
    if (popup_is_full_screen(pup)) {
        spot.place = display_place::on_monitor;
        spot.monitor = pup->mode_monitor;
    } else if (XPLMWindowIsPoppedOut(pup->win)) {
        spot.place = display_place::popped_out;
        XPLMGetWindowGeometryOS(pup->win, &r.left, &r.top, &r.right, &r.bottom);
        spot.rect_known = true;
    } else {
        spot.place = display_place::floating;
        XPLMGetWindowGeometry(pup->win, &r.left, &r.top, &r.right, &r.bottom);
        spot.rect_known = true;
    }
    return spot;
}

// The OS monitor under the middle of the display's window, or of its saved
// pop-out rectangle; -1 for none.
static int32_t monitor_under_spot(const popup *pup, const display_spot &spot)
{
    desktop_rect os = spot.rect;
    if (spot.place == display_place::floating && !window_rect_os(pup->win, &os))
        return -1;
    monitor_list monitors;
    list_os_monitors(&monitors);
    return monitor_at_point(monitors, (os.left + os.right) / 2, (os.top + os.bottom) / 2,
                            monitor_edges::left_bottom_included);
}

// Whether the display is on the monitor, or over it (a floating or popped-out
// window whose middle lies on it), or a closed one will open there.
static bool display_on_or_over(const popup *pup, const display_spot &spot, int32_t monitor)
{
    if (spot.place == display_place::on_monitor)
        return spot.monitor == monitor;
    if (spot.place == display_place::closed || !spot.rect_known)
        return false;
    return monitor_under_spot(pup, spot) == monitor;
}

// The other display's new place: the chosen one's former place, unless that
// lies on the chosen monitor too (a window floating or popped out over it),
// where the other would hide it or be hidden; it then takes the chosen one's
// saved place, or floats on the main monitor.
static display_spot place_for_other(const popup *pup, const display_spot &former, int32_t monitor)
{
    if (!display_on_or_over(pup, former, monitor))
        return former;
    display_spot saved = saved_spot(pup);
    if (saved.place != display_place::floating && saved.place != display_place::closed &&
        !display_on_or_over(pup, saved, monitor))
        return saved;
    display_spot main;
    main.place = display_place::floating;
    int screen_w = 0, screen_h = 0;
    XPLMGetScreenSize(&screen_w, &screen_h);
    int w = static_cast<int>(pup->image_w), h = static_cast<int>(pup->image_h);
    main.rect = {(screen_w - w) / 2, (screen_h + h) / 2, (screen_w + w) / 2, (screen_h - h) / 2};
    main.rect_known = true;
    return main;
}

static void save_spot(popup *pup, const display_spot &spot)
{
    popup_prefs *prefs = pup->prefs;
    if (spot.place == display_place::popped_out) {
        prefs->popup_at_start->set(AT_START_POPPED_OUT);
        prefs->monitor_start->set(-1);
        prefs->x->set(spot.rect.left);
        prefs->y->set(spot.rect.bottom);
        prefs->w->set(spot.rect.right - spot.rect.left);
        prefs->h->set(spot.rect.top - spot.rect.bottom);
        return;
    }
    // A closed place is one that does not open at start: a closed display
    // that takes it stays closed at the next start too. An open one floats
    // where it is put, as it would from the menu.
    if (spot.place == display_place::closed && !popup_is_open(pup))
        prefs->popup_at_start->set(AT_START_CLOSED);
    else
        prefs->popup_at_start->set(AT_START_ON_MONITOR);
    prefs->monitor_start->set(spot.place == display_place::on_monitor ? spot.monitor : -1);
}

// An open window goes there now: a floating place keeps its rectangle.
static void move_window(popup *pup, const display_spot &spot)
{
    if (!popup_is_open(pup))
        return;
    if (spot.place == display_place::floating && spot.rect_known)
        popup_float_at(pup, spot.rect);
    else
        popup_reopen_yielding(pup);
}

void cockpit_put_on_monitor(popup *pup, int32_t monitor)
{
    display_spot former = cockpit_display_spot(pup);
    popup *other = popup_find_other(
        pup, [monitor](const popup *p) { return display_on_or_over(p, cockpit_display_spot(p), monitor); });
    bool swap = other != nullptr && !(former.place == display_place::on_monitor && former.monitor == monitor);
    display_spot other_spot = swap ? place_for_other(pup, former, monitor) : display_spot();
    if (swap) {
        logMsg("VXR: %s takes the place of %s", other->title.c_str(), pup->title.c_str());
        save_spot(other, other_spot);
    }
    pup->prefs->popup_at_start->set(AT_START_ON_MONITOR);
    pup->prefs->monitor_start->set(monitor);
    popup_reopen(pup);
    if (swap)
        move_window(other, other_spot);
    display_menus_refresh_checks();
}

void cockpit_choose_monitor(popup *pup, int32_t monitor)
{
    logMsg("VXR: Monitor %d chosen for %s", monitor, pup->title.c_str());
    cockpit_put_on_monitor(pup, monitor);
}

// A display that opens floating has no monitor and opens on the mouse.
void cockpit_choose_floating(popup *pup)
{
    logMsg("VXR: %s chosen to float in X-Plane", pup->title.c_str());
    pup->prefs->popup_at_start->set(AT_START_ON_MONITOR);
    pup->prefs->monitor_start->set(-1);
    popup_reopen(pup);
    display_menus_refresh_checks();
}

void cockpit_choose_popped_out(popup *pup)
{
    logMsg("VXR: %s chosen to pop out", pup->title.c_str());
    pup->prefs->popup_at_start->set(AT_START_POPPED_OUT);
    pup->prefs->monitor_start->set(-1);
    popup_reopen(pup);
    display_menus_refresh_checks();
}
