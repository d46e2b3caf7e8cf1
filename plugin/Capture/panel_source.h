/*
 * The panel's picture as a display's source: the PFD's and MFD's rectangles of
 * the framebuffer the simulator draws its panel into, copied in the capture
 * pass, registered for the gauges phase while a display shows the panel.
 */
#ifndef VXR_PANEL_SOURCE_H
#define VXR_PANEL_SOURCE_H

#include <XPLMDisplay.h>

#include "capture_source.h"

extern capture_region pfd_regions[];
extern capture_region mfd_regions[];

capture_source *panel_source(capture_display display);
// At enable: no lit pass taken yet, the dataref looked up.
void panel_source_init();
// At disable: the capture pass unregistered.
void panel_source_fini();

// The capture pass, registered for the gauges phase after the simulator's drawing.
int capture_draw_cb(XPLMDrawingPhase phase, int is_before, void *ref);

#endif
