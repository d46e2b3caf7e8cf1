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

// Where a screen's items stand in the plug-in's menu, and which of its keys
// popups.cfg holds.
enum class screen_group {
    // The G1000's PFD and MFD: their show/hide items head the menu, before
    // the swap, and all their keys are written at the first enable.
    pair,
    // Another screen of the G1000: its show/hide item and places' sub-menu
    // follow those of the pair.
    cockpit,
    // Any other stock screen: a sub-menu of its own under "Other Screens",
    // with its show/hide item first, enabled while the aircraft uses its
    // device. Its window shows the device's screen at the screen's own size,
    // without an overlay.
    other,
};

struct screen_row {
    const char *name;           // in log lines and menus: "PFD", "GNS 530 (pilot)"
    const char *title;          // the window's title
    const char *cmd_name;       // its show/hide command
    const char *key_prefix;     // its keys in popups.cfg are <prefix>_x, <prefix>_monitor_start, ...
    int device;                 // X-Plane's stock device, or no_device
    panel_rect panel_region;    // where the panel texture holds it when no key says otherwise
    const char *show_item;      // its show/hide item
    const char *monitor_menu;   // the sub-menu of its places
    // Any screen but the pair's keys reach the file once the user gives them a value.
    screen_group group;
};

// A G1000 screen of 1024 x 768 at `left` on the panel's bottom edge.
constexpr panel_rect g1000_panel_region(int left)
{
    return {left, 0, 1024, 768};
}

constexpr panel_rect no_panel_region = {0, 0, 0, 0};

// The rows after the G1000's list every other stock device, 0 to 19.
#define OTHER_SCREEN(name, device_id, key)                                                                  \
    {name, "VXR " name " Bezelless", "vxr/popup/" #device_id "_NOBEZEL", key "_nbzl", xplm_device_##device_id, \
     no_panel_region, "Show/Hide", name, screen_group::other}

inline constexpr screen_row screen_table[] = {
    {"PFD", "VXR G1000 PFD Bezelless", "vxr/popup/PFD_NOBEZEL", "pfd_nbzl", xplm_device_G1000_PFD_1,
     g1000_panel_region(0), "PFD POPUP", "PFD Monitor", screen_group::pair},
    {"MFD", "VXR G1000 MFD Bezelless", "vxr/popup/MFD_NOBEZEL", "mfd_nbzl", xplm_device_G1000_MFD,
     g1000_panel_region(1024), "MFD POPUP", "MFD Monitor", screen_group::pair},
    {"Copilot PFD", "VXR G1000 Copilot PFD Bezelless", "vxr/popup/PFD2_NOBEZEL", "pfd2_nbzl",
     xplm_device_G1000_PFD_2, no_panel_region, "Show/Hide Copilot PFD", "Copilot PFD Monitor",
     screen_group::cockpit},
    OTHER_SCREEN("GNS 430 (pilot)", GNS430_1, "gns430_1"),
    OTHER_SCREEN("GNS 430 (copilot)", GNS430_2, "gns430_2"),
    OTHER_SCREEN("GNS 530 (pilot)", GNS530_1, "gns530_1"),
    OTHER_SCREEN("GNS 530 (copilot)", GNS530_2, "gns530_2"),
    OTHER_SCREEN("CDU 739 (pilot)", CDU739_1, "cdu739_1"),
    OTHER_SCREEN("CDU 739 (copilot)", CDU739_2, "cdu739_2"),
    OTHER_SCREEN("CDU 815 (pilot)", CDU815_1, "cdu815_1"),
    OTHER_SCREEN("CDU 815 (copilot)", CDU815_2, "cdu815_2"),
    OTHER_SCREEN("Primus PFD (pilot)", Primus_PFD_1, "primus_pfd_1"),
    OTHER_SCREEN("Primus PFD (copilot)", Primus_PFD_2, "primus_pfd_2"),
    OTHER_SCREEN("Primus MFD 1", Primus_MFD_1, "primus_mfd_1"),
    OTHER_SCREEN("Primus MFD 2", Primus_MFD_2, "primus_mfd_2"),
    OTHER_SCREEN("Primus MFD 3", Primus_MFD_3, "primus_mfd_3"),
    OTHER_SCREEN("Primus RMU (pilot)", Primus_RMU_1, "primus_rmu_1"),
    OTHER_SCREEN("Primus RMU (copilot)", Primus_RMU_2, "primus_rmu_2"),
    OTHER_SCREEN("MCDU (pilot)", MCDU_1, "mcdu_1"),
    OTHER_SCREEN("MCDU (copilot)", MCDU_2, "mcdu_2"),
};

#undef OTHER_SCREEN

constexpr size_t screen_count = sizeof(screen_table) / sizeof(screen_table[0]);
constexpr size_t screen_pfd = 0;
constexpr size_t screen_mfd = 1;

#endif
