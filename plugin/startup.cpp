/*
 * The start-up flight loop, the plug-in's menu in the plug-ins menu, and the
 * registration of the swap and identify commands.
 */
#include "startup.h"

#include <XPLMMenus.h>
#include <XPLMUtilities.h>
#include <acfutils/log.h>

#include "guard.h"
#include "screens.h"
#include "Popups/cockpit.h"
#include "Popups/display_menus.h"
#include "Popups/monitor_labels.h"
#include "Popups/popup_window.h"

int32_t startup_frame = 0;

// The screens' show/hide commands, in the table's order.
static XPLMCommandRef show_commands[screen_count] = {};
static XPLMCommandRef swap_command = nullptr;
static XPLMCommandRef identify_command = nullptr;
static XPLMMenuID popups_menu = nullptr;
static int popups_menu_item = -1;

static void look_up_commands()
{
    logMsg("Frame 45 Set Render");
    startup_frame = 46;
    for (size_t i = 0; i < screen_count; i++)
        show_commands[i] = XPLMFindCommand(screen_table[i].cmd_name);
}

static void build_menu_and_place_popups()
{
    logMsg("Frame 50 Start Render");
    // Set first: a step that failed half-way is not tried again every frame.
    startup_frame = 51;
    popups_menu_item = XPLMAppendMenuItem(XPLMFindPluginsMenu(), "VXR Popups", nullptr, 0);
    popups_menu = XPLMCreateMenu("VXR Popups", XPLMFindPluginsMenu(), popups_menu_item, nullptr, nullptr);

    swap_command = XPLMCreateCommand("vxr/popup/swap", "Swap G5 A/B Bezel-less Popups");
    XPLMRegisterCommandHandler(swap_command, swap_command_handler, 0, nullptr);

    for (size_t i = 0; i < screen_count; i++) {
        if (screen_table[i].group == screen_group::pair)
            XPLMAppendMenuItemWithCommand(popups_menu, screen_table[i].show_item, show_commands[i]);
    }
    XPLMAppendMenuItemWithCommand(popups_menu, "Swap G1000 Popups", swap_command);

    identify_command = XPLMCreateCommand("vxr/popup/identify", "Identify the monitors for the G1000 popups");
    XPLMRegisterCommandHandler(identify_command, identify_command_handler, 0, nullptr);
    XPLMAppendMenuItemWithCommand(popups_menu, "Identify Monitors", identify_command);
    display_menus_build(popups_menu, show_commands);

    assign_instrument_monitors();
    open_popups_at_start();
    display_menus_refresh_checks();
}

static void count_frame()
{
    if (startup_frame == 45)
        look_up_commands();
    else if (startup_frame == 50)
        build_menu_and_place_popups();
    else if (startup_frame < 50)
        startup_frame++;
}

float startup_flight_loop(float, float, int, void *)
{
    guarded("startup_flight_loop", [] { count_frame(); });
    // Once the start-up is done (or its last step failed half-way, which is
    // not tried again) the loop asks not to be called any more.
    return startup_frame > 50 ? 0.0f : -1.0f;
}

void startup_remove_menu_and_swap()
{
    monitor_labels_fini();
    display_menus_destroy();
    if (popups_menu != nullptr) {
        XPLMDestroyMenu(popups_menu);
        popups_menu = nullptr;
    }
    if (popups_menu_item >= 0) {
        XPLMRemoveMenuItem(XPLMFindPluginsMenu(), popups_menu_item);
        popups_menu_item = -1;
    }
    if (swap_command != nullptr) {
        XPLMUnregisterCommandHandler(swap_command, swap_command_handler, 0, nullptr);
        swap_command = nullptr;
    }
    if (identify_command != nullptr) {
        XPLMUnregisterCommandHandler(identify_command, identify_command_handler, 0, nullptr);
        identify_command = nullptr;
    }
}
