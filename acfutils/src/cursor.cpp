/*
 * Cursors: a PNG read with cairo into ARGB32 pixels and handed to the
 * platform's back end, which makes a desktop cursor of them.
 */
#include <acfutils/cursor.h>

#include <cstring>
#include <vector>
#include <cairo.h>

#include <acfutils/helpers.h>
#include <acfutils/log.h>

#include "cursor_os.h"

struct cursor {
    uintptr_t os_cursor;   // 0: read, but the desktop has no cursor for it
};

namespace {

// The image as ARGB32 whatever format the PNG loaded in, rows packed top to bottom.
std::vector<uint32_t> argb_pixels(cairo_surface_t *png, int w, int h)
{
    cairo_surface_t *argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t *cr = cairo_create(argb);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(argb);

    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    const unsigned char *data = cairo_image_surface_get_data(argb);
    int stride = cairo_image_surface_get_stride(argb);
    for (int y = 0; y < h; y++)
        memcpy(&pixels[static_cast<size_t>(y) * w], data + static_cast<size_t>(y) * stride, w * sizeof(uint32_t));
    cairo_surface_destroy(argb);
    return pixels;
}

}  // namespace

cursor_t *cursor_read_from_file(const char *filename)
{
    cairo_surface_t *png = cairo_image_surface_create_from_png(filename);
    cairo_status_t status = cairo_surface_status(png);
    if (status != CAIRO_STATUS_SUCCESS) {
        logMsg("Cannot read cursor %s: %s", filename, cairo_status_to_string(status));
        cairo_surface_destroy(png);
        return nullptr;
    }
    int w = cairo_image_surface_get_width(png);
    int h = cairo_image_surface_get_height(png);
    std::vector<uint32_t> pixels = argb_pixels(png, w, h);
    cairo_surface_destroy(png);

    cursor_t *cur = static_cast<cursor_t *>(lacf_malloc(sizeof(cursor_t)));
    if (cur == nullptr) {
        logMsg("Cannot make cursor %s: out of memory", filename);
        return nullptr;
    }
    os_cursor_retain();
    // The art points with its centre.
    cur->os_cursor = os_cursor_create(pixels.data(), w, h, w / 2, h / 2, filename);
    return cur;
}

bool cursor_make_current(cursor_t *cur)
{
    return cursor_make_current_at(cur, nullptr, 0);
}

bool cursor_make_current_at(cursor_t *cur, const void *window, int part)
{
    return cur != nullptr && cur->os_cursor != 0 && os_cursor_show(cur->os_cursor, window, part);
}

void cursor_give_back(void)
{
    os_cursor_give_back();
}

void cursor_give_back_unasked(void)
{
    os_cursor_give_back_unasked();
}

void cursor_free(cursor_t *cur)
{
    if (cur == nullptr)
        return;
    if (cur->os_cursor != 0)
        os_cursor_destroy(cur->os_cursor);
    lacf_free(cur);
    os_cursor_release();
}
