/*
 * The table of screens: every display the plug-in gives a window of its own,
 * with its names, its keys in popups.cfg, its stock device and its default
 * panel region. Everything a display does works for any row.
 */
#ifndef VXR_SCREENS_H
#define VXR_SCREENS_H

#include <cstddef>

#include <XPLMDisplay.h>

// A rectangle of the panel texture, in its pixels, origin bottom-left; a
// width of 0 says there is none.
struct panel_rect {
    int left, bottom, width, height;
};

constexpr int no_device = -1;

struct screen_row {
    const char *name;           // in log lines: "PFD", "Copilot PFD"
    const char *title;          // the window's title
    const char *cmd_name;       // its show/hide command
    const char *key_prefix;     // its keys in popups.cfg are <prefix>_x, <prefix>_monitor_start, ...
    int device;                 // X-Plane's stock device, or no_device
    panel_rect panel_region;    // where the panel texture holds it when no key says otherwise
    const char *show_item;      // the show/hide item in the plug-in's menu
    const char *monitor_menu;   // the sub-menu of its places
    // The G1000's PFD and MFD: their show/hide items head the menu, before
    // the swap, and their keys are all written to popups.cfg at the first
    // enable. Any other screen's items follow the places' sub-menus, and its
    // keys reach the file once the user gives them a value.
    bool pair;
};

// A G1000 screen of 1024 x 768 at `left` on the panel's bottom edge.
constexpr panel_rect g1000_panel_region(int left)
{
    return {left, 0, 1024, 768};
}

constexpr panel_rect no_panel_region = {0, 0, 0, 0};

inline constexpr screen_row screen_table[] = {
    {"PFD", "VXR G1000 PFD Bezelless", "vxr/popup/PFD_NOBEZEL", "pfd_nbzl", xplm_device_G1000_PFD_1,
     g1000_panel_region(0), "PFD POPUP", "PFD Monitor", true},
    {"MFD", "VXR G1000 MFD Bezelless", "vxr/popup/MFD_NOBEZEL", "mfd_nbzl", xplm_device_G1000_MFD,
     g1000_panel_region(1024), "MFD POPUP", "MFD Monitor", true},
    {"Copilot PFD", "VXR G1000 Copilot PFD Bezelless", "vxr/popup/PFD2_NOBEZEL", "pfd2_nbzl",
     xplm_device_G1000_PFD_2, no_panel_region, "Show/Hide Copilot PFD", "Copilot PFD Monitor", false},
};

constexpr size_t screen_count = sizeof(screen_table) / sizeof(screen_table[0]);
constexpr size_t screen_pfd = 0;
constexpr size_t screen_mfd = 1;

#endif
