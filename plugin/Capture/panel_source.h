/*
 * The panel's picture as a display's source: the PFD's and MFD's rectangles of
 * the framebuffer the simulator draws its panel into, copied in the capture
 * pass that the plug-in registers for the gauges phase.
 */
#ifndef VXR_PANEL_SOURCE_H
#define VXR_PANEL_SOURCE_H

#include <XPLMDisplay.h>

#include "capture_source.h"

extern capture_region pfd_regions[];
extern capture_region mfd_regions[];

capture_source *panel_source(capture_display display);
// At enable: no lit pass taken yet.
void panel_source_init();

// The capture pass, registered for the gauges phase after the simulator's drawing.
int capture_draw_cb(XPLMDrawingPhase phase, int is_before, void *ref);

#endif
