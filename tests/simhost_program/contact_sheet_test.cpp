// The contact sheet: tiles in reading order at one height, wrapped rows,
// captions under the tiles, and the pixels of the written PNG.
#include <cmath>
#include <filesystem>
#include <fstream>

#include <cairo.h>
#include <gtest/gtest.h>

#include "contact_sheet.h"
#include "temp_dir.h"

using namespace scenario;

namespace {

void write_solid_png(const std::string &file, int w, int h, double r, double g, double b)
{
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t *cr = cairo_create(s);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_paint(cr);
    cairo_destroy(cr);
    ASSERT_EQ(cairo_surface_write_to_png(s, file.c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(s);
}

struct Png {
    cairo_surface_t *surface;
    explicit Png(const std::string &file) : surface(cairo_image_surface_create_from_png(file.c_str())) {}
    ~Png() { cairo_surface_destroy(surface); }
    bool ok() const { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface); }
    int height() const { return cairo_image_surface_get_height(surface); }
    uint32_t rgb(int x, int y) const
    {
        const unsigned char *row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const uint32_t *>(row)[x] & 0xFFFFFFu;
    }
};

bool overlap(const TilePlace &a, const TilePlace &b)
{
    // Each tile with its caption strip below it.
    int a_bottom = a.y + a.height + sheet_caption_height, b_bottom = b.y + b.height + sheet_caption_height;
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b_bottom && b.y < a_bottom;
}

}  // namespace

TEST(ContactSheetLayout, TilesShareAHeightKeepTheirShapeAndReadInOrder)
{
    std::vector<ImageSize> sizes = {{1920, 1080, 50}, {1024, 768, 50}, {256, 192, 50}, {300, 600, 50}};
    SheetLayout layout = layout_contact_sheet(sizes, 240);
    ASSERT_EQ(layout.tiles.size(), sizes.size());
    for (size_t i = 0; i < sizes.size(); i++) {
        const TilePlace &t = layout.tiles[i];
        EXPECT_EQ(t.height, 240);
        EXPECT_NEAR(t.width, 240.0 * sizes[i].width / sizes[i].height, 0.5) << i;
        EXPECT_GE(t.x, sheet_margin);
        EXPECT_LE(t.x + t.width, layout.width - sheet_margin);
        EXPECT_LE(t.y + t.height + sheet_caption_height, layout.height);
        EXPECT_GT(t.caption_y, t.y + t.height);
        EXPECT_LE(t.caption_y, t.y + t.height + sheet_caption_height);
        if (i > 0) {
            EXPECT_EQ(t.y, layout.tiles[i - 1].y);
            EXPECT_GE(t.x, layout.tiles[i - 1].x + layout.tiles[i - 1].width + sheet_margin);
        }
    }
}

TEST(ContactSheetLayout, RowsWrapBeforeTheMaximumWidth)
{
    std::vector<ImageSize> sizes(10, ImageSize{1920, 1080, 60});
    SheetLayout layout = layout_contact_sheet(sizes, 240);
    EXPECT_LE(layout.width, sheet_max_row_width + 2 * sheet_margin);
    int rows = 1;
    for (size_t i = 1; i < sizes.size(); i++) {
        const TilePlace &prev = layout.tiles[i - 1], &t = layout.tiles[i];
        if (t.y != prev.y) {
            rows++;
            EXPECT_GT(t.y, prev.y + prev.height + sheet_caption_height);
            EXPECT_EQ(t.x, sheet_margin);
        } else {
            EXPECT_GT(t.x, prev.x);
        }
        for (size_t j = 0; j < i; j++)
            EXPECT_FALSE(overlap(layout.tiles[j], t)) << j << " and " << i;
    }
    EXPECT_GT(rows, 1);
    EXPECT_LT(rows, 10);

    // A picture wider than a row gets a row of its own rather than being lost.
    SheetLayout wide = layout_contact_sheet({{100, 100, 10}, {20000, 100, 10}, {100, 100, 10}}, 100);
    EXPECT_EQ(wide.tiles[1].x, sheet_margin);
    EXPECT_GT(wide.tiles[1].y, wide.tiles[0].y);
    EXPECT_GT(wide.tiles[2].y, wide.tiles[1].y);
    EXPECT_GE(wide.width, wide.tiles[1].x + wide.tiles[1].width);
}

TEST(ContactSheetLayout, ALongCaptionWidensItsCell)
{
    SheetLayout layout = layout_contact_sheet({{100, 100, 300}, {100, 100, 10}}, 100);
    const TilePlace &first = layout.tiles[0], &second = layout.tiles[1];
    EXPECT_EQ(first.caption_x, sheet_margin);
    EXPECT_EQ(first.x, sheet_margin + 100);          // centred over its caption
    EXPECT_GE(second.caption_x, first.caption_x + 300 + sheet_margin);
    EXPECT_GE(second.x, first.caption_x + 300 + sheet_margin);
}

TEST(ContactSheet, PaintsEachShotInItsTileWithACaption)
{
    vxr_test::TempDir dir;
    write_solid_png(dir.file("red.png"), 400, 300, 1, 0, 0);
    write_solid_png(dir.file("green.png"), 200, 100, 0, 1, 0);
    write_solid_png(dir.file("blue.png"), 100, 200, 0, 0, 1);
    std::vector<SheetImage> images = {
        {dir.file("red.png"), "one"}, {dir.file("green.png"), "two"}, {dir.file("blue.png"), "three"}};
    std::string error;
    ASSERT_TRUE(write_contact_sheet(images, dir.file("sheet.png"), &error)) << error;

    // Captions this short are narrower than their tiles, so the tiles sit
    // where a layout without captions puts them.
    SheetLayout layout = layout_contact_sheet({{400, 300, 0}, {200, 100, 0}, {100, 200, 0}}, 240);
    Png sheet(dir.file("sheet.png"));
    ASSERT_TRUE(sheet.ok());
    EXPECT_EQ(sheet.width(), layout.width);
    EXPECT_EQ(sheet.height(), layout.height);
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (size_t i = 0; i < images.size(); i++) {
        const TilePlace &t = layout.tiles[i];
        EXPECT_EQ(sheet.rgb(t.x + t.width / 2, t.y + t.height / 2), colours[i]) << i;
        EXPECT_EQ(sheet.rgb(t.x + 2, t.y + 2), colours[i]) << i;
        EXPECT_EQ(sheet.rgb(t.x + t.width - 3, t.y + t.height - 3), colours[i]) << i;
        int bright = 0;
        for (int y = t.y + t.height + 2; y < t.y + t.height + sheet_caption_height; y++) {
            for (int x = t.x; x < t.x + t.width; x++)
                bright += (sheet.rgb(x, y) & 0xFF) > 0xC0;
        }
        EXPECT_GT(bright, 10) << "no caption under tile " << i;
    }
    // Between the tiles lies the background, not a picture.
    const TilePlace &a = layout.tiles[0];
    uint32_t gap = sheet.rgb(a.x + a.width + sheet_margin / 2, a.y + a.height / 2);
    EXPECT_NE(gap, colours[0]);
    EXPECT_NE(gap, colours[1]);
    EXPECT_EQ((gap >> 16) & 0xFF, gap & 0xFF);
}

TEST(ContactSheet, ManyShotsShrinkTheTilesToKeepTheSheetReadable)
{
    vxr_test::TempDir dir;
    write_solid_png(dir.file("wide.png"), 192, 108, 0.5, 0.5, 0);
    std::vector<SheetImage> images(200, SheetImage{dir.file("wide.png"), "monitor"});
    std::string error;
    ASSERT_TRUE(write_contact_sheet(images, dir.file("sheet.png"), &error)) << error;
    Png sheet(dir.file("sheet.png"));
    ASSERT_TRUE(sheet.ok());
    EXPECT_LE(sheet.height(), sheet_max_height);
    EXPECT_LE(sheet.width(), sheet_max_row_width + 2 * sheet_margin);
    // At the full tile height the same shots would not fit.
    std::vector<ImageSize> sizes(200, ImageSize{192, 108, 0});
    EXPECT_GT(layout_contact_sheet(sizes, 240).height, sheet_max_height);
}

TEST(ContactSheet, ReportsPicturesItCannotRead)
{
    vxr_test::TempDir dir;
    write_solid_png(dir.file("ok.png"), 10, 10, 1, 1, 1);
    {
        std::ofstream broken(dir.file("broken.png"));
        broken << "not a png";
    }
    std::string error;
    EXPECT_FALSE(write_contact_sheet({{dir.file("ok.png"), "ok"}, {dir.file("missing.png"), "missing"}},
                                     dir.file("sheet.png"), &error));
    EXPECT_NE(error.find("missing.png"), std::string::npos);
    EXPECT_FALSE(write_contact_sheet({{dir.file("broken.png"), "broken"}}, dir.file("sheet.png"), &error));
    EXPECT_NE(error.find("broken.png"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("sheet.png")));
    EXPECT_FALSE(write_contact_sheet({{dir.file("ok.png"), "ok"}}, dir.file("no/such/folder/sheet.png"), &error));
    EXPECT_NE(error.find("sheet.png"), std::string::npos);
}
