/*
 * The panel's picture as a display's source: each screen's rectangle of
 * the framebuffer the simulator draws its panel into, copied in the capture
 * pass, registered for the gauges phase while a display shows the panel.
 */
#ifndef VXR_PANEL_SOURCE_H
#define VXR_PANEL_SOURCE_H

#include <XPLMDisplay.h>

#include "capture_source.h"

// The PFD's and MFD's region tables.
extern capture_region *const pfd_regions;
extern capture_region *const mfd_regions;

capture_source *panel_source(capture_display display);
// At enable: no lit pass taken yet, the dataref looked up, each screen's
// region taken from its key or its default.
void panel_source_init();
// From the watch: each region set in popups.cfg is held once against the
// panel's size, once a lit pass has shown it; one that does not fit gives
// way to the screen's default, with a line.
void panel_sources_check_fit();
// At disable: the capture pass unregistered.
void panel_source_fini();

// The capture pass, registered for the gauges phase after the simulator's drawing.
int capture_draw_cb(XPLMDrawingPhase phase, int is_before, void *ref);

#endif
