/*
 * The places' sub-menus, one per screen ("PFD Monitor", "MFD Monitor", ...):
 * one item per monitor of the operating system, "Floating in X-Plane" and "Popped Out", the display's
 * current place checked; rebuilt when the monitors change.
 */
#ifndef VXR_DISPLAY_MENUS_H
#define VXR_DISPLAY_MENUS_H

#include <XPLMMenus.h>
#include <XPLMUtilities.h>

#include "../screens.h"

// Appends each screen's sub-menu to the menu, in the table's order: the
// copilot's PFD's show/hide item before its own, the other stock screens'
// under "Other Screens". Starts watching the monitors and the devices.
void display_menus_build(XPLMMenuID parent, const XPLMCommandRef show_commands[screen_count]);
// Checks the item of each display's place: where an open one is now, where
// a closed one will open.
void display_menus_refresh_checks();
// Stops the watch and destroys the sub-menus (their items in the parent go with it).
void display_menus_destroy();

#endif
