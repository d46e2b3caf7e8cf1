/*
 * A cairo image painted once, made into a GL texture once: the captions and
 * labels the plug-in draws over or beside the displays.
 */
#ifndef VXR_SURFACE_TEXTURE_H
#define VXR_SURFACE_TEXTURE_H

#include <cairo.h>
#include <acfutils/glew.h>

// Uploads the ARGB32 image into a new texture named by the simulator (linear,
// clamped), with pixel unpacking as the image needs it and the unpack state
// found given back: its one reading of state, made once per image. Leaves
// the texture bound on unit 0, through the simulator.
GLuint surface_texture_upload(cairo_surface_t *surface);

// Unbinds the texture through the simulator (whose binding cache must not go
// on believing the name is bound) and deletes it; *tex becomes 0.
void surface_texture_free(GLuint *tex);

// Draws the texture, premultiplied as cairo paints, over the rectangle.
void surface_texture_draw(GLuint tex, double left, double bottom, double right, double top);

#endif
