// Lays out and paints the contact sheet with cairo.
#include "contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include <cairo.h>
#ifndef _WIN32
#include <fontconfig/fontconfig.h>
#endif

namespace scenario {

namespace {

constexpr double caption_font_size = 14;
constexpr int tile_heights[] = {240, 160, 120, 80, 48};

struct SurfaceDeleter {
    void operator()(cairo_surface_t *s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t *cr) const { cairo_destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

void set_caption_font(cairo_t *cr)
{
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, caption_font_size);
}

}  // namespace

SheetLayout layout_contact_sheet(const std::vector<ImageSize> &images, int tile_height)
{
    SheetLayout layout;
    layout.tile_height = tile_height;
    const int row_height = tile_height + sheet_caption_height + sheet_margin;
    int x = sheet_margin, y = sheet_margin, widest = 0;
    for (const ImageSize &image : images) {
        int scaled = std::max(1, static_cast<int>(std::lround(static_cast<double>(image.width) * tile_height /
                                                              std::max(1, image.height))));
        // A caption wider than its picture widens the cell, so no caption overlaps the next.
        int cell = std::max(scaled, image.caption_width);
        if (x > sheet_margin && x + cell > sheet_margin + sheet_max_row_width) {
            x = sheet_margin;
            y += row_height;
        }
        TilePlace tile;
        tile.x = x + (cell - scaled) / 2;
        tile.y = y;
        tile.width = scaled;
        tile.height = tile_height;
        tile.caption_x = x + (cell - image.caption_width) / 2;
        tile.caption_y = y + tile_height + sheet_caption_height - 7;
        layout.tiles.push_back(tile);
        x += cell + sheet_margin;
        widest = std::max(widest, x);
    }
    layout.width = std::max(widest, 2 * sheet_margin);
    layout.height = images.empty() ? 2 * sheet_margin : y + row_height;
    return layout;
}

bool write_contact_sheet(const std::vector<SheetImage> &images, const std::string &png_file, std::string *error)
{
    std::vector<Surface> pictures;
    std::vector<ImageSize> sizes;
    Surface scratch(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    Context measure(cairo_create(scratch.get()));
    set_caption_font(measure.get());
    for (const SheetImage &image : images) {
        Surface picture(cairo_image_surface_create_from_png(image.file.c_str()));
        if (cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS) {
            *error = "cannot read " + image.file + ": " + cairo_status_to_string(cairo_surface_status(picture.get()));
            return false;
        }
        cairo_text_extents_t extents;
        cairo_text_extents(measure.get(), image.caption.c_str(), &extents);
        sizes.push_back(ImageSize{cairo_image_surface_get_width(picture.get()),
                                  cairo_image_surface_get_height(picture.get()),
                                  static_cast<int>(std::ceil(extents.x_advance))});
        pictures.push_back(std::move(picture));
    }

    SheetLayout layout;
    for (int h : tile_heights) {
        layout = layout_contact_sheet(sizes, h);
        if (layout.height <= sheet_max_height)
            break;
    }

    Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width, layout.height));
    if (cairo_surface_status(sheet.get()) != CAIRO_STATUS_SUCCESS) {
        *error = "cannot make a " + std::to_string(layout.width) + " x " + std::to_string(layout.height) +
                 " sheet: " + cairo_status_to_string(cairo_surface_status(sheet.get()));
        return false;
    }
    Context cr(cairo_create(sheet.get()));
    cairo_set_source_rgb(cr.get(), 0.19, 0.19, 0.19);
    cairo_paint(cr.get());
    set_caption_font(cr.get());
    for (size_t i = 0; i < pictures.size(); i++) {
        const TilePlace &tile = layout.tiles[i];
        cairo_save(cr.get());
        cairo_rectangle(cr.get(), tile.x, tile.y, tile.width, tile.height);
        cairo_clip(cr.get());
        cairo_translate(cr.get(), tile.x, tile.y);
        cairo_scale(cr.get(), static_cast<double>(tile.width) / sizes[i].width,
                    static_cast<double>(tile.height) / sizes[i].height);
        cairo_set_source_surface(cr.get(), pictures[i].get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
        cairo_paint(cr.get());
        cairo_restore(cr.get());

        // A thin frame, so a black picture still shows where it ends.
        cairo_set_source_rgb(cr.get(), 0.55, 0.55, 0.55);
        cairo_set_line_width(cr.get(), 1);
        cairo_rectangle(cr.get(), tile.x - 0.5, tile.y - 0.5, tile.width + 1, tile.height + 1);
        cairo_stroke(cr.get());

        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_move_to(cr.get(), tile.caption_x, tile.caption_y);
        cairo_show_text(cr.get(), images[i].caption.c_str());
    }
    cairo_surface_flush(sheet.get());
    cairo_status_t status = cairo_surface_write_to_png(sheet.get(), png_file.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        *error = "cannot write " + png_file + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

void release_font_caches()
{
    cairo_debug_reset_static_data();
#ifndef _WIN32
    // cairo's Windows build draws text with the system's fonts, not fontconfig.
    FcFini();
#endif
}

}  // namespace scenario
