/*
 * A screen's panel region as the user may set it in popups.cfg:
 * "<prefix>_panel_region = LEFT BOTTOM WIDTH HEIGHT", in panel-texture
 * pixels. A region that cannot be read, or is too small, gives way to the
 * screen's default, with a line that says why.
 */
#ifndef VXR_PANEL_REGION_KEY_H
#define VXR_PANEL_REGION_KEY_H

#include <cstddef>

#include <acfutils/conf.h>

#include "../screens.h"

// The least width and height of a region.
constexpr int panel_region_min_side = 64;

// The screen's region: its key's, when set and sound, else its row's default.
panel_rect panel_region_of(size_t screen, const conf_t *conf);

// Whether the region lies wholly within a panel of that size; when it does
// not, a line names the key and the panel's size (the caller takes the default).
bool panel_region_fits(size_t screen, const panel_rect &region, int panel_w, int panel_h);

// "the PFD takes its default region 0 0 1024 768", or "the Copilot PFD has no panel region".
void panel_region_say_default(size_t screen, char *out, size_t size);

#endif
