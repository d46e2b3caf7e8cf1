/*
 * The stock G1000's screens as a display's source: X-Plane 12's avionics
 * functions, looked up at run time (X-Plane 11 has none), the after-draw
 * callbacks on the PFD's and MFD's devices that copy their screens while a
 * display is open on them, and the look at whether the aircraft uses them.
 */
#ifndef VXR_STOCK_DEVICE_SOURCE_H
#define VXR_STOCK_DEVICE_SOURCE_H

#include <XPLMDisplay.h>

#include "capture_source.h"

struct popup;

// The devices' screens: each one whole screen, sized when first copied.
extern capture_region *const pfd_device_regions;
extern capture_region *const mfd_device_regions;

capture_source *stock_device_source(capture_display display);
// Whether the aircraft uses the display's device now.
bool stock_device_is_bound(capture_display display);

// Looks the avionics functions and the devices' handles up; logs one line
// when this X-Plane has none.
void stock_avionics_init();
// Unregisters the callbacks and forgets the handles.
void stock_avionics_fini();
// A display whose device was bound or unbound since the last look chooses
// its source again (from a flight loop: X-Plane promises nothing of when a
// device is bound, relative to the plane-loaded message).
void stock_devices_check_bound();
// The same for one popup (a window that opens shows the source its device's
// binding asks for at that moment).
void stock_device_check_bound(popup *pup);

// The device's after-draw callback: copies its screen for a visible popup
// that shows it. Always returns 1.
int device_after_draw_cb(XPLMDeviceID device, int is_before, void *ref);

#endif
