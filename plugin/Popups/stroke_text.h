/*
 * Block capitals and digits drawn as cairo strokes on a 6 x 8 grid: the
 * plug-in's captions need no font, so they look the same on every system.
 */
#ifndef VXR_STROKE_TEXT_H
#define VXR_STROKE_TEXT_H

#include <cairo.h>

// The width of the text at the unit (one grid step): 6 units a character and
// 3 between; characters the table lacks take their place blank.
double stroke_text_width(const char *text, double unit);

// Strokes the text in the current source, its top-left at (x, y), y down.
void stroke_text_paint(cairo_t *cr, const char *text, double x, double y, double unit);

#endif
