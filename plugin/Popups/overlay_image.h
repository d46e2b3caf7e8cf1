/*
 * Reading a popup's overlay image: a PNG loaded with cairo, refused before
 * any pixel is read when its header declares more than an overlay may be.
 */
#ifndef VXR_OVERLAY_IMAGE_H
#define VXR_OVERLAY_IMAGE_H

#include <cairo.h>

// The largest overlay side, in pixels: four times the display's width.
constexpr unsigned overlay_image_max_side = 4096;

// The image, or nullptr after one log line naming the file and the reason.
cairo_surface_t *overlay_image_read(const char *path);

#endif
