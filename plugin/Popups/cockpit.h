/*
 * Which display goes on which monitor: the start-up assignment of the
 * cockpit's display units to PFD and MFD, the swap of the two, and the
 * user's choice of a display's place from the menu.
 */
#ifndef VXR_COCKPIT_H
#define VXR_COCKPIT_H

#include <cstdint>
#include <string>

#include <XPLMUtilities.h>

#include "monitors.h"

struct popup;

void assign_instrument_monitors();
void swap_popup_monitors();
int swap_command_handler(XPLMCommandRef cmd, XPLMCommandPhase phase, void *ref);

// Where a display is: an open one where its window is now, a closed one
// where its preferences will open it. The rectangle is known for an open
// floating window (global boxels) and for a popped-out one, open or saved
// (OS pixels).
enum class display_place { closed, on_monitor, floating, popped_out };
struct display_spot {
    display_place place = display_place::closed;
    int32_t monitor = -1;
    desktop_rect rect = {};
    bool rect_known = false;
};
display_spot cockpit_display_spot(const popup *pup);

// The names of the displays whose preferences open them full screen on the
// monitor, joined by " and " ("PFD and GNS 530 (pilot)"); empty for none.
std::string cockpit_display_on_monitor(int32_t monitor);

// Each saves the choice in the display's preferences and reopens its window
// there at once. A monitor the other display is on, or over, is swapped with
// it: the other display takes this one's former place.
void cockpit_choose_monitor(popup *pup, int32_t monitor);
// The same for a monitor saved with a right click, without the menu's line.
void cockpit_put_on_monitor(popup *pup, int32_t monitor);
void cockpit_choose_floating(popup *pup);
void cockpit_choose_popped_out(popup *pup);

#endif
