/*
 * Screenshot files (see screenshots.h).
 */
#include "screenshots.h"

#include <cstring>

#include <cairo.h>

namespace simhost {
namespace {

void draw_arrow(cairo_t *cr, int x, int y)
{
    static const double outline[][2] = {{0, 0}, {0, 17}, {4, 13}, {7, 20}, {10, 19}, {7, 12}, {12, 12}};
    cairo_move_to(cr, x + outline[0][0] + 0.5, y + outline[0][1] + 0.5);
    for (const auto &p : outline)
        cairo_line_to(cr, x + p[0] + 0.5, y + p[1] + 0.5);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void draw_desktop_cursor(cairo_t *cr, const DesktopCursor &cursor, int x, int y)
{
    cairo_surface_t *image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cursor.width, cursor.height);
    cairo_surface_flush(image);
    unsigned char *data = cairo_image_surface_get_data(image);
    int stride = cairo_image_surface_get_stride(image);
    for (int row = 0; row < cursor.height; row++)
        memcpy(data + static_cast<size_t>(row) * static_cast<size_t>(stride),
               &cursor.argb[static_cast<size_t>(row) * static_cast<size_t>(cursor.width)],
               static_cast<size_t>(cursor.width) * 4);
    cairo_surface_mark_dirty(image);
    cairo_set_source_surface(cr, image, x - cursor.hot_x, y - cursor.hot_y);
    cairo_paint(cr);
    cairo_surface_destroy(image);
}

}  // namespace

bool write_screenshot(const std::string &path, const std::vector<uint32_t> &pixels, int width, int height,
                      const CursorOverlay &cursor)
{
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_surface_flush(surface);
    unsigned char *data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int row = 0; row < height; row++)
        memcpy(data + static_cast<size_t>(row) * static_cast<size_t>(stride),
               &pixels[static_cast<size_t>(row) * static_cast<size_t>(width)], static_cast<size_t>(width) * 4);
    cairo_surface_mark_dirty(surface);

    if (cursor.visible) {
        cairo_t *cr = cairo_create(surface);
        if (cursor.desktop != nullptr)
            draw_desktop_cursor(cr, *cursor.desktop, cursor.x, cursor.y);
        else
            draw_arrow(cr, cursor.x, cursor.y);
        cairo_destroy(cr);
    }
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace simhost
