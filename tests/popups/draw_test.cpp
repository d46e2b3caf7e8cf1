// Drawing: the live displays right way up with their markers where they
// belong, full screen and popped out, the drawn area with and without
// fill_window, and the overlay image over the picture.
#include <filesystem>

#include <cairo.h>
#include <gtest/gtest.h>

#include "Popups/popupSystem.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using simhost::Rect;
using vxr_test::LinkedSim;

// Reads a popped-out window's pixel, 0xRRGGBB; a missing window fails the test.
uint32_t popout_pixel(LinkedSim &sim, const std::string &title, int x, int y)
{
    uint32_t rgb = 0;
    EXPECT_TRUE(sim.host->popout_pixel(title, x, y, &rgb)) << title << " at " << x << "," << y;
    return rgb;
}

TEST(PopupDraw, ThePfdFullScreenShowsItsMarkersRightWayUp)
{
    LinkedSim sim(cockpit_monitors(), false);
    load_with_settings(sim, {"pfd_nbzl_monitor_start = 1", "pfd_nbzl_popup_at_start = -1"});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(2);

    const int y_low = display_to_area_y(64, 768), y_high = display_to_area_y(704, 768);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, y_low), pfd_markers.bottom_left);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 960, y_low), pfd_markers.bottom_right);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, y_high), pfd_markers.top_left);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 960, y_high), pfd_markers.top_right);
    // The MFD's picture is not what the PFD shows.
    EXPECT_FALSE(color_near(sim.host->monitor_pixel(1, 64, y_low), mfd_markers.bottom_left));
}

TEST(PopupDraw, TheMfdPoppedOutShowsItsMarkersRightWayUp)
{
    LinkedSim sim({}, false);
    load_with_settings(sim, {"mfd_nbzl_popup_at_start = 1", "mfd_nbzl_x = 100", "mfd_nbzl_y = 200",
                             "mfd_nbzl_w = 1024", "mfd_nbzl_h = 768"});
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    ASSERT_EQ(window_of(sim, mfd_title).mode, simhost::WindowMode::popout);
    sim.host->run_frames(2);

    const int y_low = display_to_area_y(64, 768), y_high = display_to_area_y(704, 768);
    EXPECT_PRED2(color_near, popout_pixel(sim, mfd_title, 64, y_low), mfd_markers.bottom_left);
    EXPECT_PRED2(color_near, popout_pixel(sim, mfd_title, 960, y_low), mfd_markers.bottom_right);
    EXPECT_PRED2(color_near, popout_pixel(sim, mfd_title, 64, y_high), mfd_markers.top_left);
    EXPECT_PRED2(color_near, popout_pixel(sim, mfd_title, 960, y_high), mfd_markers.top_right);
}

TEST(PopupDraw, FillWindowStretchesTheFaceOrKeepsTheImageAspect)
{
    // A pop-out rectangle far taller than the image's aspect: 683 x 900.
    LinkedSim sim({}, false);
    load_with_settings(sim, {"pfd_nbzl_popup_at_start = 1", "pfd_nbzl_x = 100", "pfd_nbzl_y = 100",
                             "pfd_nbzl_w = 683", "pfd_nbzl_h = 900", "pfd_nbzl_fill_window = 1"});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(2);
    const int x_left = display_to_area_x(64, 683), x_right = display_to_area_x(960, 683);

    // Stretched over the whole window.
    EXPECT_PRED2(color_near, popout_pixel(sim, pfd_title, x_left, display_to_area_y(704, 900)), pfd_markers.top_left);
    EXPECT_PRED2(color_near, popout_pixel(sim, pfd_title, x_right, display_to_area_y(64, 900)),
                 pfd_markers.bottom_right);

    // At the image's aspect: trunc(0.75 x 683) = 512 high, standing on the bottom edge.
    PFD_popup.prefs->fill_window->set(0);
    sim.host->run_frames(2);
    EXPECT_PRED2(color_near, popout_pixel(sim, pfd_title, x_left, display_to_area_y(704, 512)), pfd_markers.top_left);
    EXPECT_PRED2(color_near, popout_pixel(sim, pfd_title, x_right, display_to_area_y(64, 512)),
                 pfd_markers.bottom_right);
    EXPECT_FALSE(color_near(popout_pixel(sim, pfd_title, x_left, display_to_area_y(704, 900)), pfd_markers.top_left));
}

// With fill_window 0 the picture keeps the image's aspect inside the window:
// on a 1024 x 600 unit it is as high as the window, 800 wide, centred (112
// pixels in), and nothing is drawn on the main monitor above the unit.
TEST(PopupDraw, OnAWideUnitTheKeptAspectStaysInsideTheWindow)
{
    LinkedSim sim(wide_unit_monitors(), false);
    load_with_settings(sim, {"pfd_nbzl_monitor_start = 1", "pfd_nbzl_popup_at_start = -1",
                             "pfd_nbzl_fill_window = 0"});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(1);
    ASSERT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{0, 600, 1024, 0}));
    sim.host->run_frames(1);

    const int x_left = 112 + display_to_area_x(64, 800), x_right = 112 + display_to_area_x(960, 800);
    const int y_low = display_to_area_y(64, 600), y_high = display_to_area_y(704, 600);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, x_left, y_low), pfd_markers.bottom_left);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, x_right, y_low), pfd_markers.bottom_right);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, x_left, y_high), pfd_markers.top_left);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, x_right, y_high), pfd_markers.top_right);

    // The main monitor's outside view right above the unit: its ground, left
    // of the runway, up to where a picture 768 high would have reached.
    const uint32_t ground = 0x4F5E33;
    for (int y : {0, 60, 120, 167})
        for (int x : {40, 200, 400})
            EXPECT_PRED2(color_near, sim.host->monitor_pixel(0, x, y), ground) << x << "," << y;

    // The overlay lies on the picture: the strips beside it are not covered.
    EXPECT_FALSE(color_near(sim.host->monitor_pixel(1, 56, y_low), pfd_markers.bottom_left));
    EXPECT_FALSE(color_near(sim.host->monitor_pixel(1, 1024 - 56, y_high), pfd_markers.top_right));
}

// A popped-out window wider than the image's aspect: the picture is as high as
// the window and centred across it.
TEST(PopupDraw, InAWideWindowThePictureIsCentredAcrossIt)
{
    LinkedSim sim({}, false);
    load_with_settings(sim, {"pfd_nbzl_popup_at_start = 1", "pfd_nbzl_x = 100", "pfd_nbzl_y = 100",
                             "pfd_nbzl_w = 1000", "pfd_nbzl_h = 300", "pfd_nbzl_fill_window = 0"});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(2);

    // 400 x 300, (1000 - 400) / 2 = 300 pixels in.
    EXPECT_PRED2(color_near, popout_pixel(sim, pfd_title, 300 + display_to_area_x(64, 400), display_to_area_y(64, 300)),
                 pfd_markers.bottom_left);
    EXPECT_PRED2(color_near,
                 popout_pixel(sim, pfd_title, 300 + display_to_area_x(960, 400), display_to_area_y(704, 300)),
                 pfd_markers.top_right);
}

// An overlay of the test's own: transparent but for an opaque magenta bar
// across the upper part of the image (image rows 100 to 200 from the top).
void write_test_overlay(const std::string &path)
{
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1024, 768);
    cairo_t *cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 0, 1);
    cairo_rectangle(cr, 300, 100, 424, 100);
    cairo_fill(cr);
    cairo_destroy(cr);
    ASSERT_EQ(cairo_surface_write_to_png(s, path.c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(s);
}

TEST(PopupDraw, TheOverlayLiesOverThePictureAndScalesWithTheWindow)
{
    LinkedSim sim(cockpit_monitors(), false);
    write_test_overlay(sim.root.plugin_dir() + "/resources/popup/nobezel.png");
    load_with_settings(sim, {"pfd_nbzl_monitor_start = 1", "pfd_nbzl_popup_at_start = -1",
                             "mfd_nbzl_popup_at_start = 1", "mfd_nbzl_x = 100", "mfd_nbzl_y = 100",
                             "mfd_nbzl_w = 512", "mfd_nbzl_h = 384"});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    sim.host->run_frames(2);

    // Full screen at the image's own size: the bar at rows 568 to 668 from the bottom.
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 512, 768 - 150), 0xFF00FFu);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 310, 768 - 110), 0xFF00FFu);
    EXPECT_FALSE(color_near(sim.host->monitor_pixel(1, 512, 150), 0xFF00FFu));
    EXPECT_FALSE(color_near(sim.host->monitor_pixel(1, 290, 768 - 150), 0xFF00FFu));
    // Its transparent parts let the picture through.
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, display_to_area_y(64, 768)), pfd_markers.bottom_left);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 960, display_to_area_y(704, 768)), pfd_markers.top_right);

    // Half the size popped out: the bar at half the place.
    EXPECT_PRED2(color_near, popout_pixel(sim, mfd_title, 256, 384 - 75), 0xFF00FFu);
    EXPECT_FALSE(color_near(popout_pixel(sim, mfd_title, 256, 75), 0xFF00FFu));
    EXPECT_PRED2(color_near, popout_pixel(sim, mfd_title, 32, display_to_area_y(64, 384)), mfd_markers.bottom_left);
}

}  // namespace
