/*
 * The display sub-menus. Each item's reference says what it chooses: a
 * monitor's index, one of the two places without a monitor, or (first in an
 * other screen's sub-menu) its show/hide command. Once a second, and after
 * each choice, the other screens' sub-menus are enabled or disabled as the
 * aircraft uses their devices or not (an open window's stays enabled), and
 * the monitors are compared with those listed; the items are rebuilt only
 * when they differ, and the windows follow monitors gone or back. The checks
 * follow every change of a display's place as it happens.
 */
#include "display_menus.h"

#include <cstdint>
#include <cstdio>

#include <XPLMProcessing.h>
#include <acfutils/log.h>

#include "../Capture/panel_source.h"
#include "../Capture/stock_device_source.h"
#include "../guard.h"
#include "cockpit.h"
#include "monitors.h"
#include "popupSystem.h"
#include "popup_window.h"

namespace {

constexpr intptr_t choice_floating = -1;
constexpr intptr_t choice_popped_out = -2;
constexpr intptr_t choice_show_hide = -3;
constexpr float watch_interval_s = 1.0f;
constexpr int max_items = monitor_list::max_monitors + 3;

struct display_menu {
    popup *pup = nullptr;
    const char *name = nullptr;
    XPLMMenuID menu = nullptr;
    // Where its item stands, and whether it is enabled (other screens only).
    XPLMMenuID holder = nullptr;
    int holder_item = -1;
    bool enabled = true;
    intptr_t choices[max_items] = {};
    XPLMMenuCheck checks[max_items] = {};
    int count = 0;
};

// In the order of the screen table.
display_menu menus[screen_count];
XPLMMenuID other_screens = nullptr;
monitor_list listed = {};
bool watching = false;

bool same_monitors(const monitor_list &a, const monitor_list &b)
{
    if (a.count != b.count)
        return false;
    for (int i = 0; i < a.count; i++) {
        const desktop_rect &ra = a.entries[i].bounds, &rb = b.entries[i].bounds;
        if (a.entries[i].index != b.entries[i].index || ra.right - ra.left != rb.right - rb.left ||
            ra.top - ra.bottom != rb.top - rb.bottom)
            return false;
    }
    return true;
}

void append(display_menu &m, const char *name, intptr_t choice)
{
    XPLMAppendMenuItem(m.menu, name, reinterpret_cast<void *>(choice), 0);
    m.choices[m.count] = choice;
    XPLMCheckMenuItem(m.menu, m.count, xplm_Menu_Unchecked);
    m.checks[m.count] = xplm_Menu_Unchecked;
    m.count++;
}

void fill(display_menu &m)
{
    XPLMClearAllMenuItems(m.menu);
    m.count = 0;
    if (screen_table[m.pup->capture.display].group == screen_group::other)
        append(m, screen_table[m.pup->capture.display].show_item, choice_show_hide);
    for (int i = 0; i < listed.count; i++) {
        const monitor_entry &e = listed.entries[i];
        char name[64];
        snprintf(name, sizeof(name), "Monitor %d - %d x %d", e.index, e.bounds.right - e.bounds.left,
                 e.bounds.top - e.bounds.bottom);
        append(m, name, e.index);
    }
    append(m, "Floating in X-Plane", choice_floating);
    append(m, "Popped Out", choice_popped_out);
}

intptr_t current_choice(const popup *pup)
{
    display_spot spot = cockpit_display_spot(pup);
    switch (spot.place) {
    case display_place::on_monitor: return spot.monitor;
    case display_place::floating: return choice_floating;
    case display_place::popped_out: return choice_popped_out;
    case display_place::closed: break;
    }
    return INTPTR_MIN;
}

// An other screen's sub-menu can be chosen while the aircraft uses its
// device, or when a panel region is set for it, and always while its window
// is open: its Show/Hide closes it.
void follow_devices()
{
    for (display_menu &m : menus) {
        if (m.holder != other_screens || m.menu == nullptr)
            continue;
        const capture_display display = m.pup->capture.display;
        const bool usable = popup_is_open(m.pup) || stock_device_is_bound(display) ||
                            panel_source(display)->state() == source_state::live;
        if (usable != m.enabled) {
            XPLMEnableMenuItem(m.holder, m.holder_item, usable ? 1 : 0);
            m.enabled = usable;
        }
    }
}

void choose(void *menu_ref, void *item_ref)
{
    guarded("display_menu_choice", [=] {
        auto *m = static_cast<display_menu *>(menu_ref);
        intptr_t choice = reinterpret_cast<intptr_t>(item_ref);
        if (choice == choice_show_hide)
            XPLMCommandOnce(m->pup->cmd);
        else if (choice == choice_floating)
            cockpit_choose_floating(m->pup);
        else if (choice == choice_popped_out)
            cockpit_choose_popped_out(m->pup);
        else
            cockpit_choose_monitor(m->pup, static_cast<int32_t>(choice));
        display_menus_refresh_checks();
        follow_devices();
    });
}

void rebuild_if_monitors_changed()
{
    monitor_list now;
    list_os_monitors(&now);
    if (same_monitors(now, listed))
        return;
    listed = now;
    logMsg("VXR: The display menus list %d monitors", listed.count);
    for (display_menu &m : menus)
        fill(m);
}

float watch_monitors(float, float, int, void *)
{
    guarded("display_menus_watch", [] {
        follow_devices();
        rebuild_if_monitors_changed();
        popups_follow_monitors();
        display_menus_refresh_checks();
    });
    return watch_interval_s;
}

}  // namespace

void display_menus_build(XPLMMenuID parent, const XPLMCommandRef show_commands[screen_count])
{
    for (size_t i = 0; i < screen_count; i++) {
        display_menu &m = menus[i];
        m.pup = &screen_popups[i];
        m.name = screen_table[i].monitor_menu;
        const screen_group group = screen_table[i].group;
        if (group == screen_group::cockpit)
            XPLMAppendMenuItemWithCommand(parent, screen_table[i].show_item, show_commands[i]);
        if (group == screen_group::other && other_screens == nullptr) {
            int item = XPLMAppendMenuItem(parent, "Other Screens", nullptr, 0);
            other_screens = XPLMCreateMenu("Other Screens", parent, item, nullptr, nullptr);
        }
        m.holder = group == screen_group::other ? other_screens : parent;
        m.holder_item = XPLMAppendMenuItem(m.holder, m.name, nullptr, 0);
        m.menu = XPLMCreateMenu(m.name, m.holder, m.holder_item, choose, &m);
        m.enabled = true;
        m.count = 0;
    }
    follow_devices();
    listed.count = -1;
    rebuild_if_monitors_changed();
    display_menus_refresh_checks();
    XPLMRegisterFlightLoopCallback(watch_monitors, watch_interval_s, nullptr);
    watching = true;
}

void display_menus_refresh_checks()
{
    for (display_menu &m : menus) {
        if (m.menu == nullptr)
            continue;
        intptr_t current = current_choice(m.pup);
        for (int i = 0; i < m.count; i++) {
            XPLMMenuCheck check = m.choices[i] == current ? xplm_Menu_Checked : xplm_Menu_Unchecked;
            if (check != m.checks[i]) {
                XPLMCheckMenuItem(m.menu, i, check);
                m.checks[i] = check;
            }
        }
    }
}

void display_menus_destroy()
{
    if (watching) {
        XPLMUnregisterFlightLoopCallback(watch_monitors, nullptr);
        watching = false;
    }
    for (display_menu &m : menus) {
        if (m.menu != nullptr)
            XPLMDestroyMenu(m.menu);
        m.menu = nullptr;
        m.holder = nullptr;
        m.count = 0;
    }
    if (other_screens != nullptr)
        XPLMDestroyMenu(other_screens);
    other_screens = nullptr;
}
