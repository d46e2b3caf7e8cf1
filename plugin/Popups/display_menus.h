/*
 * The "PFD Monitor" and "MFD Monitor" sub-menus: one item per monitor of the
 * operating system, "Floating in X-Plane" and "Popped Out", the display's
 * current place checked; rebuilt when the monitors change.
 */
#ifndef VXR_DISPLAY_MENUS_H
#define VXR_DISPLAY_MENUS_H

#include <XPLMMenus.h>

// Appends both sub-menus to the menu and starts watching the monitors.
void display_menus_build(XPLMMenuID parent);
// Checks the item of each display's place: where an open one is now, where
// a closed one will open.
void display_menus_refresh_checks();
// Stops the watch and destroys the sub-menus (their items in the parent go with it).
void display_menus_destroy();

#endif
