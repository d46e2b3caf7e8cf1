/*
 * The contact sheet: every screenshot of a run on one PNG, in order, in rows
 * of tiles of one common height, each captioned with its name, so a reader
 * sees the whole run at a glance.
 */
#ifndef SIMHOST_CONTACT_SHEET_H
#define SIMHOST_CONTACT_SHEET_H

#include <string>
#include <vector>

namespace scenario {

struct SheetImage {
    std::string file;      // a PNG
    std::string caption;
};

struct TilePlace {
    int x = 0, y = 0, width = 0, height = 0;   // the scaled picture, y down from the top
    int caption_x = 0, caption_y = 0;          // left end of the caption's baseline
};

struct SheetLayout {
    int width = 0, height = 0;
    int tile_height = 0;
    std::vector<TilePlace> tiles;
};

struct ImageSize {
    int width = 0, height = 0;
    int caption_width = 0;    // the caption's drawn width at the sheet's font size
};

constexpr int sheet_max_row_width = 1920;  // rows wrap before this
constexpr int sheet_max_height = 8000;     // tiles shrink to keep the sheet below this
constexpr int sheet_margin = 16;
constexpr int sheet_caption_height = 24;

// Places the pictures in reading order, each scaled to tile_height.
SheetLayout layout_contact_sheet(const std::vector<ImageSize> &images, int tile_height);

// Writes the sheet; false with a reason when a picture cannot be read or the
// sheet cannot be written.
bool write_contact_sheet(const std::vector<SheetImage> &images, const std::string &png_file, std::string *error);

// Frees the font data cairo and fontconfig keep for the whole process once
// text has been drawn, so a leak checker sees a clean exit. Call once, last.
void release_font_caches();

}  // namespace scenario

#endif
