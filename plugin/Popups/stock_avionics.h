/*
 * The stock G1000's screens as the popups' second capture source: X-Plane
 * 12's avionics functions, looked up at run time (X-Plane 11 has none), the
 * after-draw callbacks on the PFD's and MFD's devices that copy their
 * screens, and the choice of each popup's source.
 */
#ifndef VXR_STOCK_AVIONICS_H
#define VXR_STOCK_AVIONICS_H

#include <XPLMDisplay.h>

struct popup;

// Looks the avionics functions up and registers the devices' callbacks;
// logs one line when this X-Plane has none. Then chooses the sources.
void stock_avionics_init();
// Unregisters the callbacks; the popups go back to their panel regions.
void stock_avionics_fini();
bool stock_avionics_available();

// Chooses every popup's source again (at enable, and when the user's
// aircraft is loaded), logging one line per popup; a popup whose source
// changes gives the old one's textures back and keeps its window.
void popups_choose_sources();

// The device's after-draw callback: copies its screen for a visible popup
// that shows it. Always returns 1.
int device_after_draw_cb(XPLMDeviceID device, int is_before, void *ref);

#endif
