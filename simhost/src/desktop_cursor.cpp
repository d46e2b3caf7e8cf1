/*
 * The cursor read back from the desktop and named: the plug-in's cursor
 * image (a PNG in its resources/popup/cursors/) with the very same pixels.
 */
#include "sim.h"
#include "simhost/utf8_path.h"

#include <cstring>
#include <filesystem>

#include <cairo.h>

namespace simhost {
namespace {

// The PNG's pixels as the desktop keeps a cursor's: premultiplied ARGB32.
bool same_pixels(const std::string &png_path, const DesktopCursor &shown)
{
    cairo_surface_t *png = cairo_image_surface_create_from_png(png_path.c_str());
    bool same = cairo_surface_status(png) == CAIRO_STATUS_SUCCESS &&
                cairo_image_surface_get_width(png) == shown.width &&
                cairo_image_surface_get_height(png) == shown.height;
    if (same) {
        cairo_surface_t *argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, shown.width, shown.height);
        cairo_t *cr = cairo_create(argb);
        cairo_set_source_surface(cr, png, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(argb);
        const unsigned char *data = cairo_image_surface_get_data(argb);
        int stride = cairo_image_surface_get_stride(argb);
        for (int y = 0; y < shown.height && same; y++)
            same = memcmp(data + static_cast<size_t>(y) * static_cast<size_t>(stride),
                          &shown.argb[static_cast<size_t>(y) * static_cast<size_t>(shown.width)],
                          static_cast<size_t>(shown.width) * 4) == 0;
        cairo_surface_destroy(argb);
    }
    cairo_surface_destroy(png);
    return same;
}

}  // namespace

std::string Sim::plugin_cursor_dir() const
{
    // The plug-in's folder holds its platform folder (with the library) and resources/.
    std::filesystem::path xpl = fs_path(plugin.path);
    return utf8_path(xpl.parent_path().parent_path() / "resources" / "popup" / "cursors");
}

CursorState Sim::cursor_on_desktop() const
{
    CursorState state = cursor;
    DesktopCursor shown;
    state.desktop = native.read_cursor(&shown);
    if (!state.desktop || plugin.path.empty())
        return state;
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(fs_path(plugin_cursor_dir()), ec)) {
        if (entry.path().extension() == ".png" && same_pixels(utf8_path(entry.path()), shown)) {
            state.custom_name = utf8_path(entry.path().filename());
            break;
        }
    }
    return state;
}

}  // namespace simhost
