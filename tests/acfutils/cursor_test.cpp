/*
 * Cursors from PNG files: unreadable files give no cursor; a readable one,
 * made current, is the cursor the real desktop (the X server) shows over the
 * simulator's window or a popped-out window, pixels right way up and hot spot
 * at the centre; without a display cursors load but are never current.
 */
#include <acfutils/cursor.h>

#include <cstdlib>
#include <string>

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
    return cursor_make_current(static_cast<cursor_t *>(refcon)) ? xplm_CursorCustom : xplm_CursorDefault;
}

// As the plug-in asks: the window under the pointer names itself.
XPLMCursorStatus custom_cursor_at(XPLMWindowID win, int, int, void *refcon)
{
    return cursor_make_current_at(static_cast<cursor_t *>(refcon), win, -1) ? xplm_CursorCustom
                                                                          : xplm_CursorDefault;
}

// DISPLAY taken away for the scope, put back after.
class NoDisplay {
public:
    NoDisplay()
    {
        const char *value = getenv("DISPLAY");
        had_ = value != nullptr;
        saved_ = had_ ? value : "";
        unsetenv("DISPLAY");
    }
    ~NoDisplay()
    {
        if (had_)
            setenv("DISPLAY", saved_.c_str(), 1);
    }
    NoDisplay(const NoDisplay &) = delete;
    NoDisplay &operator=(const NoDisplay &) = delete;

private:
    bool had_;
    std::string saved_;
};

#define SKIP_WITHOUT_DESKTOP(sim)                                                       \
    if (!(sim).host->has_desktop())                                                 \
        GTEST_SKIP() << "no desktop (DISPLAY not set) to read the cursor from"

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
    SKIP_WITHOUT_DESKTOP(sim);
    TempDir dir;
    std::string path = dir.file("corner.png");
    write_cursor_png(path, CAIRO_FORMAT_ARGB32);
    cursor_t *cur = cursor_read_from_file(path.c_str());
    ASSERT_NE(cur, nullptr);
    EXPECT_EQ(sim.host->live().os_cursors, 1) << "held by the library on the X server";

    XPLMWindowID win = sim.window(100, 600, 400, 300, custom_cursor, cur);
    ASSERT_NE(win, nullptr);
    sim.host->mouse_move(250, 450);
    sim.host->run_frames(1);
    EXPECT_EQ(sim.host->cursor().status, xplm_CursorCustom);
    simhost::DesktopCursor shown;
    ASSERT_TRUE(sim.host->desktop_cursor(&shown));
    ASSERT_EQ(shown.width, 16);
    ASSERT_EQ(shown.height, 16);
    EXPECT_EQ(shown.hot_x, 8);
    EXPECT_EQ(shown.hot_y, 8);
    EXPECT_EQ(shown.argb[0], 0xFFFF0000u) << "red on top";
    EXPECT_EQ(shown.argb[16 * 7 + 15], 0xFFFF0000u);
    EXPECT_EQ(shown.argb[16 * 8], 0x00000000u) << "clear below";
    EXPECT_EQ(shown.argb[16 * 16 - 1], 0x00000000u);

    // The shot draws the desktop's cursor with its hot spot on the pointer:
    // red above it, the window's colour below it. Rows run from the top (1080).
    std::vector<std::string> files = sim.host->shot(dir.file("shots"), "cursor");
    ASSERT_FALSE(files.empty());
    const int x = 250, y = 1080 - 450;
    EXPECT_EQ(png_pixel(files[0], x, y - 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(png_pixel(files[0], x, y + 5) & 0xFFFFFF, window_color) << "clear cursor pixels show the window";

    XPLMDestroyWindow(win);
    cursor_free(cur);
    EXPECT_EQ(sim.host->live().os_cursors, 0) << "the last cursor freed closes the connection";
}

TEST(Cursor, APngWithoutAlphaReadsAsOpaque)
{
    StandIn sim;
    SKIP_WITHOUT_DESKTOP(sim);
    TempDir dir;
    std::string path = dir.file("opaque.png");
    write_cursor_png(path, CAIRO_FORMAT_RGB24);
    cursor_t *cur = cursor_read_from_file(path.c_str());
    ASSERT_NE(cur, nullptr);
    XPLMWindowID win = sim.window(100, 600, 400, 300, custom_cursor, cur);
    sim.host->mouse_move(250, 450);
    simhost::DesktopCursor shown;
    ASSERT_TRUE(sim.host->desktop_cursor(&shown));
    ASSERT_EQ(shown.argb.size(), 256u);
    EXPECT_EQ(shown.argb[0], 0xFFFF0000u);
    EXPECT_EQ(shown.argb[16 * 8], 0xFF000000u) << "black, not clear";
    XPLMDestroyWindow(win);
    cursor_free(cur);
}

TEST(Cursor, OverAPoppedOutWindowTheCursorIsDefinedOnItsOwnWindow)
{
    StandIn sim;
    SKIP_WITHOUT_DESKTOP(sim);
    TempDir dir;
    write_cursor_png(dir.file("a.png"), CAIRO_FORMAT_ARGB32);
    write_cursor_png(dir.file("b.png"), CAIRO_FORMAT_RGB24);
    cursor_t *a = cursor_read_from_file(dir.file("a.png").c_str());
    cursor_t *b = cursor_read_from_file(dir.file("b.png").c_str());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(sim.host->live().os_cursors, 2);
    XPLMWindowID inside = sim.window(100, 600, 400, 300, custom_cursor, a);
    XPLMWindowID popped = sim.window(1000, 600, 1300, 300, custom_cursor, b);
    XPLMSetWindowPositioningMode(popped, xplm_WindowPopOut, 0);
    sim.host->run_frames(1);

    simhost::DesktopCursor shown;
    sim.host->mouse_move(1150, 450);
    ASSERT_TRUE(sim.host->desktop_cursor(&shown));
    ASSERT_EQ(shown.argb.size(), 256u);
    EXPECT_EQ(shown.argb[16 * 8], 0xFF000000u) << "b, the popped-out window's";
    sim.host->mouse_move(250, 450);
    ASSERT_TRUE(sim.host->desktop_cursor(&shown));
    EXPECT_EQ(shown.argb[16 * 8], 0x00000000u) << "a, on the simulator's window";
    // Back over the pop-out, whose own window still has b defined.
    XPLMSetWindowIsVisible(inside, 0);
    sim.host->mouse_move(1150, 450);
    ASSERT_TRUE(sim.host->desktop_cursor(&shown));
    EXPECT_EQ(shown.argb[16 * 8], 0xFF000000u);

    XPLMDestroyWindow(popped);
    XPLMDestroyWindow(inside);
    cursor_free(a);
    EXPECT_EQ(sim.host->live().os_cursors, 1);
    cursor_free(b);
    EXPECT_EQ(sim.host->live().os_cursors, 0);
}

// Asked once a frame, as X-Plane asks: the same cursor asked by the window
// next door in the next frame is defined on that window's own native window,
// and the one left behind is given back; so is the last one once the pointer
// has left every window that asks (nothing asked for a frame).
TEST(Cursor, OnceAFrameTheWindowNextDoorGetsItAndTheOneLeftBehindIsGivenBack)
{
    StandIn sim;
    SKIP_WITHOUT_DESKTOP(sim);
    simhost::HostTiming timing = sim.host->timing();
    timing.cursor_every_move = false;
    sim.host->set_timing(timing);
    TempDir dir;
    write_cursor_png(dir.file("a.png"), CAIRO_FORMAT_ARGB32);
    cursor_t *a = cursor_read_from_file(dir.file("a.png").c_str());
    ASSERT_NE(a, nullptr);
    XPLMWindowID left = sim.window(100, 600, 400, 300, custom_cursor_at, a);
    XPLMWindowID right = sim.window(400, 600, 700, 300, custom_cursor_at, a);
    XPLMSetWindowPositioningMode(left, xplm_WindowPopOut, 0);
    XPLMSetWindowPositioningMode(right, xplm_WindowPopOut, 0);
    sim.host->run_frames(2);
    auto shows_a = [&] {
        simhost::DesktopCursor shown;
        return sim.host->desktop_cursor(&shown) && shown.argb.size() == 256u && shown.argb[0] == 0xFFFF0000u;
    };

    sim.host->mouse_move(250, 450);
    sim.host->run_frames(1);
    EXPECT_TRUE(shows_a());
    sim.host->mouse_move(550, 450);
    sim.host->run_frames(1);
    EXPECT_TRUE(shows_a()) << "the window next door, in the next frame";
    // Back over the left window between frames, before anyone is asked: it
    // was given back when the cursor went next door.
    sim.host->mouse_move(250, 450);
    EXPECT_FALSE(shows_a());
    sim.host->run_frames(1);
    EXPECT_TRUE(shows_a());

    // Off both windows for two frames: the caller's once-a-frame call gives
    // the last window back.
    sim.host->mouse_move(1000, 450);
    sim.host->run_frames(2);
    cursor_give_back_unasked();
    sim.host->mouse_move(250, 450);
    EXPECT_FALSE(shows_a());

    XPLMDestroyWindow(left);
    XPLMDestroyWindow(right);
    cursor_free(a);
}

TEST(Cursor, WithoutTheSimulatorsWindowHandleNoCursorIsCurrentAndThatIsLoggedOnce)
{
    StandIn sim;
    SKIP_WITHOUT_DESKTOP(sim);
    TempDir dir;
    write_cursor_png(dir.file("c.png"), CAIRO_FORMAT_ARGB32);
    cursor_t *cur = cursor_read_from_file(dir.file("c.png").c_str());
    ASSERT_NE(cur, nullptr);
    XPLMWindowID win = sim.window(100, 600, 400, 300, custom_cursor, cur);
    LogCapture log;
    sim.host->withhold_window_handle(true);
    sim.host->mouse_move(250, 450);
    EXPECT_EQ(sim.host->cursor().status, xplm_CursorDefault);
    sim.host->run_frames(3);
    EXPECT_EQ(sim.host->cursor().status, xplm_CursorDefault);
    EXPECT_EQ(sim.host->cursor().custom_name, "");
    EXPECT_EQ(log.count({"Cursors are off: the simulator gives no window handle"}), 1);
    // Once the handle is there the cursor shows.
    sim.host->withhold_window_handle(false);
    sim.host->mouse_move(251, 450);
    EXPECT_EQ(sim.host->cursor().status, xplm_CursorCustom);
    simhost::DesktopCursor shown;
    ASSERT_TRUE(sim.host->desktop_cursor(&shown));
    ASSERT_EQ(shown.argb.size(), 256u);
    EXPECT_EQ(shown.argb[0], 0xFFFF0000u);
    XPLMDestroyWindow(win);
    cursor_free(cur);
}

TEST(Cursor, WithoutADisplayCursorsLoadButAreNeverCurrentAndThatIsLoggedOnce)
{
    StandIn sim;
    TempDir dir;
    write_cursor_png(dir.file("c.png"), CAIRO_FORMAT_ARGB32);
    {
        NoDisplay none;
        LogCapture log;
        cursor_t *first = cursor_read_from_file(dir.file("c.png").c_str());
        cursor_t *second = cursor_read_from_file(dir.file("c.png").c_str());
        ASSERT_NE(first, nullptr) << "the file was read";
        ASSERT_NE(second, nullptr);
        EXPECT_FALSE(cursor_make_current(first));
        EXPECT_FALSE(cursor_make_current(second));
        EXPECT_EQ(log.count({"Cursors are off"}), 1);
        EXPECT_EQ(log.lines().size(), 1u);
        cursor_free(first);
        cursor_free(second);
    }
    EXPECT_FALSE(cursor_make_current(nullptr));
    // The part without a display has held; the rest needs one.
    SKIP_WITHOUT_DESKTOP(sim);
    // With the display back, the next cursors open it afresh.
    cursor_t *again = cursor_read_from_file(dir.file("c.png").c_str());
    ASSERT_NE(again, nullptr);
    XPLMWindowID win = sim.window(100, 600, 400, 300, custom_cursor, again);
    sim.host->mouse_move(250, 450);
    EXPECT_EQ(sim.host->cursor().status, xplm_CursorCustom);
    XPLMDestroyWindow(win);
    cursor_free(again);
}
