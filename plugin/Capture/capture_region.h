/*
 * Capture regions: rectangles of a framebuffer the simulator draws a display
 * into, copied on the graphics card into textures (rate-limited), and drawn
 * into popup windows as textured quads.
 */
#ifndef VXR_CAPTURE_REGION_H
#define VXR_CAPTURE_REGION_H

#include <cstdint>
#include <limits>

#include <acfutils/geom.h>

#include "sim_framebuffer.h"

struct capture_region {
    double src_x;    // NaN ends a region table
    double src_y;
    double src_w;
    double src_h;
    double dst_x;    // fractions of the popup's drawn area, measured from its top-left
    double dst_y;
    double dst_w;
    double dst_h;
    double fps;
    uint64_t last_cap_us;
    uint32_t tex;
    uint32_t fbo;
    bool failed;     // its copy was refused: not captured until the popup opens again
    bool multisampled;   // the framebuffer is multisampled: not copied until it is plain again
};

// The copy's pace: at most `fps` copies a second by the simulator's clock.

// The entry that ends a region table.
constexpr capture_region capture_table_end = {std::numeric_limits<double>::quiet_NaN(),
                                              std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                              false, false};

// False (logged once) when this thread has no framebuffer functions to copy with.
bool capture_functions_loaded();

bool capture_region_is_end(const capture_region *region);
bool capture_region_due(const capture_region *region, uint64_t now_us);
// Copies the region out of the simulator's framebuffer when due; its texture
// and framebuffer object are made at the first copy and kept. False when the
// framebuffer gives the region no picture (refused), whether due or not.
bool capture_region_grab(capture_region *region, const sim_framebuffer &fb, uint64_t now_us);
// The rate-limited copy of a device's whole screen: the region takes the
// place and size of the screen's viewport.
bool capture_region_grab_viewport(capture_region *region, const sim_screen &screen, uint64_t now_us);
void capture_region_release(capture_region *region);
// Draws the region's picture, its colours scaled by brightness (0 to 1), or
// black where it has none yet.
void capture_region_draw(capture_region *region, vect2_t pos, vect2_t size, float brightness);
// Gives every region of a table a new chance after a failed framebuffer object.
void capture_regions_clear_failed(capture_region *table);

#endif
