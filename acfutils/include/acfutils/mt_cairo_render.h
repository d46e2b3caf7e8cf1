/*
 * Threaded cairo renderer: a worker thread per renderer paints an ARGB32
 * surface through the render callback; the main thread uploads each newly
 * finished surface to a GL texture and draws it as a blended, textured quad.
 * An fps of 0 paints only on request.
 */
#ifndef ACFUTILS_MT_CAIRO_RENDER_H
#define ACFUTILS_MT_CAIRO_RENDER_H

#include <stdbool.h>
#include <cairo.h>
#include "core.h"
#include "geom.h"
#include "log.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct mt_cairo_render mt_cairo_render_t;

typedef bool (*mt_cairo_init_cb_t)(cairo_t *cr, void *userinfo);
typedef void (*mt_cairo_render_cb_t)(cairo_t *cr, unsigned w, unsigned h, void *userinfo);
typedef void (*mt_cairo_fini_cb_t)(cairo_t *cr, void *userinfo);

/* filename and line name the caller in the library's own log lines.
 * NULL (and a log line) when w or h is 0 or the worker cannot start. */
API_EXPORT mt_cairo_render_t *mt_cairo_render_init_impl(const char *filename, int line,
    unsigned w, unsigned h, double fps, mt_cairo_init_cb_t init_cb,
    mt_cairo_render_cb_t render_cb, mt_cairo_fini_cb_t fini_cb, void *userinfo);
#define mt_cairo_render_init(w, h, fps, init_cb, render_cb, fini_cb, userinfo) \
    mt_cairo_render_init_impl(log_basename(__FILE__), __LINE__, (w), (h), (fps), \
        (init_cb), (render_cb), (fini_cb), (userinfo))

/* Stops and joins the worker, frees the surfaces and the texture.
 * Call on the thread that draws (it owns the texture). */
API_EXPORT void mt_cairo_render_fini(mt_cairo_render_t *mtcr);
// Draws the bound texture, which holds cairo's pixels (row 0 the image's top
// row), as a quad from (l, b) to (r, t): also for textures the caller uploads.
API_EXPORT void mt_cairo_render_quad(double l, double b, double r, double t);
/* Asks for one render and returns at once. */
API_EXPORT void mt_cairo_render_once(mt_cairo_render_t *mtcr);
/* Returns when a render that started after the call has finished. */
API_EXPORT void mt_cairo_render_once_wait(mt_cairo_render_t *mtcr);
/* Draws the last finished surface at pos (left, bottom) with size, in the
 * current GL projection; uploads it first if it is new. Allocates nothing. */
API_EXPORT void mt_cairo_render_draw(mt_cairo_render_t *mtcr, vect2_t pos, vect2_t size);

#ifdef __cplusplus
}
#endif

#endif
