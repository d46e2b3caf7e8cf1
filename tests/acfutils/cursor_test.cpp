/*
 * Cursors from PNG files: unreadable files give no cursor, and a readable
 * one becomes the stand-in desktop's cursor with its pixels right way up.
 */
#include <acfutils/cursor.h>

#include <cairo.h>
#include <gtest/gtest.h>

#include "stand_in.h"
#include "test_util.h"

using acf_test::LogCapture;
using acf_test::TempDir;

namespace {

// 16 x 16: top half opaque red, bottom half clear.
void write_cursor_png(const std::string &path, cairo_format_t format)
{
    cairo_surface_t *s = cairo_image_surface_create(format, 16, 16);
    cairo_t *cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 0, 0, 16, 8);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

XPLMCursorStatus custom_cursor(XPLMWindowID, int, int, void *refcon)
{
    cursor_make_current(static_cast<cursor_t *>(refcon));
    return xplm_CursorCustom;
}

}  // namespace

TEST(Cursor, UnreadableFilesGiveNoCursorAndALogLine)
{
    StandIn sim;
    TempDir dir;
    write_cursor_png(dir.file("good.png"), CAIRO_FORMAT_ARGB32);
    std::string png = acf_test::read_file(dir.file("good.png"));
    acf_test::write_file(dir.file("empty.png"), "");
    acf_test::write_file(dir.file("text.png"), "this is not an image\n");
    acf_test::write_file(dir.file("truncated.png"), png.substr(0, png.size() / 2));
    std::string corrupt = png;
    for (size_t i = 40; i < corrupt.size(); i += 7)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
    acf_test::write_file(dir.file("corrupt.png"), corrupt);

    for (const char *name : {"missing.png", "empty.png", "text.png", "truncated.png", "corrupt.png"}) {
        LogCapture log;
        EXPECT_EQ(cursor_read_from_file(dir.file(name).c_str()), nullptr) << name;
        EXPECT_EQ(log.count({dir.file(name)}), 1) << name;
    }
    EXPECT_EQ(sim.host->live().os_cursors, 0);
}

TEST(Cursor, APngBecomesTheDesktopsCursorRightWayUp)
{
    StandIn sim;
    TempDir dir;
    std::string path = dir.file("corner.png");
    write_cursor_png(path, CAIRO_FORMAT_ARGB32);
    cursor_t *cur = cursor_read_from_file(path.c_str());
    ASSERT_NE(cur, nullptr);
    EXPECT_EQ(sim.host->live().os_cursors, 1);

    XPLMWindowID win = sim.window(100, 600, 400, 300, custom_cursor, cur);
    ASSERT_NE(win, nullptr);
    sim.host->mouse_move(250, 450);
    sim.host->run_frames(1);
    simhost::CursorState shown = sim.host->cursor();
    EXPECT_EQ(shown.status, xplm_CursorCustom);
    EXPECT_EQ(shown.custom_name, "corner.png");

    // The desktop draws the cursor centred on the pointer: red above it, the
    // window's colour below it. Monitor rows run from its top (1080).
    std::vector<std::string> files = sim.host->shot(dir.file("shots"), "cursor");
    ASSERT_FALSE(files.empty());
    const int x = 250, y = 1080 - 450;
    EXPECT_EQ(png_pixel(files[0], x, y - 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(png_pixel(files[0], x, y + 5) & 0xFFFFFF, window_color) << "clear cursor pixels show the window";

    XPLMDestroyWindow(win);
    cursor_free(cur);
    EXPECT_EQ(sim.host->live().os_cursors, 0);
}

TEST(Cursor, APngWithoutAlphaReadsAsOpaque)
{
    StandIn sim;
    TempDir dir;
    std::string path = dir.file("opaque.png");
    write_cursor_png(path, CAIRO_FORMAT_RGB24);
    cursor_t *cur = cursor_read_from_file(path.c_str());
    ASSERT_NE(cur, nullptr);
    XPLMWindowID win = sim.window(100, 600, 400, 300, custom_cursor, cur);
    sim.host->mouse_move(250, 450);
    sim.host->run_frames(1);
    std::vector<std::string> files = sim.host->shot(dir.file("shots"), "opaque");
    ASSERT_FALSE(files.empty());
    const int x = 250, y = 1080 - 450;
    EXPECT_EQ(png_pixel(files[0], x, y - 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(png_pixel(files[0], x, y + 5) & 0xFFFFFF, 0x000000u) << "black, not the window's colour";
    XPLMDestroyWindow(win);
    cursor_free(cur);
}
