/*
 * Small immediate-mode drawing helpers for the host's own pictures (the
 * synthetic displays, the simulator's backdrop): filled shapes, lines and a
 * 5 x 7 block font, in the current projection's units, colours as 0xRRGGBB.
 */
#ifndef SIMHOST_DRAW2D_H
#define SIMHOST_DRAW2D_H

#include <cstdint>
#include <string>

namespace simhost {

void set_colour(uint32_t rgb, double alpha = 1.0);
// A rectangle in framebuffer pixels, filled by a scissored clear (much
// cheaper than a quad on a software renderer); leaves the scissor test off.
void clear_pixels(int x, int y, int w, int h, uint32_t rgb);
void fill_rect(double x0, double y0, double x1, double y1);
void fill_rect(double x0, double y0, double x1, double y1, uint32_t rgb, double alpha = 1.0);
void line(double x0, double y0, double x1, double y1, double width);
void circle(double cx, double cy, double radius, double width, int segments = 96);
void fill_triangle(double x0, double y0, double x1, double y1, double x2, double y2);

// Text in the block font: each font pixel is a square of `pixel` units, a
// character cell 6 x 8 font pixels (one of them spacing); (x, y) is the
// bottom-left corner of the first character.
void text(double x, double y, double pixel, const std::string &s);
double text_width(double pixel, const std::string &s);

}  // namespace simhost

#endif
