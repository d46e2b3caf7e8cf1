/*
 * Which display goes on which monitor: the start-up assignment of the
 * cockpit's display units to PFD and MFD, the swap of the two, and the
 * user's choice of a display's place from the menu.
 */
#ifndef VXR_COCKPIT_H
#define VXR_COCKPIT_H

#include <cstdint>

#include <XPLMUtilities.h>

struct popup;

void assign_instrument_monitors();
void swap_popup_monitors();
int swap_command_handler(XPLMCommandRef cmd, XPLMCommandPhase phase, void *ref);

// Where the display's preferences open it.
enum class display_place { closed, on_monitor, floating, popped_out };
display_place cockpit_display_place(const popup *pup, int32_t *monitor);

// "PFD", "MFD" or both, by the displays' preferences; nullptr for neither.
const char *cockpit_display_on_monitor(int32_t monitor);

// Each saves the choice in the display's preferences and reopens its window
// there at once. A monitor the other display has is swapped with it.
void cockpit_choose_monitor(popup *pup, int32_t monitor);
void cockpit_choose_floating(popup *pup);
void cockpit_choose_popped_out(popup *pup);

#endif
