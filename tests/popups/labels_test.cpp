// "Identify Monitors" on the smallest display unit the start-up recognises
// (800 x 600), at every UI scale: each label lies on its unit, and the names
// of the screens set for it stand whole inside the label's frame, their lines
// tall enough to read. Looked at in a screenshot of each unit.
#include <algorithm>
#include <string>
#include <vector>

#include <cairo.h>
#include <gtest/gtest.h>

#include "popup_test_util.h"
#include "temp_dir.h"

namespace {

using simhost::monitor_rect;
using vxr_test::LinkedSim;

struct label_scan {
    int left = 1 << 30, right = -1, bottom = 1 << 30, top = -1;   // the label's background, y down
    int name_left = 1 << 30, name_right = -1;                       // its amber names
    std::vector<int> name_line_heights;
};

bool near(uint32_t px, int r, int g, int b, int tolerance)
{
    return std::abs(int((px >> 16) & 0xFF) - r) <= tolerance && std::abs(int((px >> 8) & 0xFF) - g) <= tolerance &&
           std::abs(int(px & 0xFF) - b) <= tolerance;
}

label_scan scan_label(const std::string &png)
{
    label_scan s;
    cairo_surface_t *image = cairo_image_surface_create_from_png(png.c_str());
    EXPECT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS) << png;
    const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char *data = cairo_image_surface_get_data(image);
    auto pixel = [&](int x, int y) { return *reinterpret_cast<const uint32_t *>(data + y * stride + 4 * x); };
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            if (near(pixel(x, y), 0x0D, 0x14, 0x29, 3)) {
                s.left = std::min(s.left, x), s.right = std::max(s.right, x);
                s.bottom = std::min(s.bottom, y), s.top = std::max(s.top, y);
            }
        }
    }
    int run = 0;
    for (int y = s.bottom; y <= s.top; y++) {
        bool amber_row = false;
        for (int x = s.left; x <= s.right; x++) {
            uint32_t p = pixel(x, y);
            if (((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) > 140 && ((p >> 8) & 0xFF) < 220 && (p & 0xFF) < 80) {
                amber_row = true;
                s.name_left = std::min(s.name_left, x), s.name_right = std::max(s.name_right, x);
            }
        }
        if (amber_row)
            run++;
        if ((!amber_row || y == s.top) && run > 0) {
            s.name_line_heights.push_back(run);
            run = 0;
        }
    }
    cairo_surface_destroy(image);
    EXPECT_GT(w, 0);
    EXPECT_LT(s.right, w - 1) << png;
    EXPECT_GT(s.left, 0) << png;
    EXPECT_LT(s.top, h - 1) << png;
    EXPECT_GT(s.bottom, 0) << png;
    return s;
}

class IdentifyLabels : public testing::TestWithParam<int> {};

TEST_P(IdentifyLabels, EveryNameStandsWholeAndReadableOnASmallUnit)
{
    LinkedSim sim({monitor_rect(1920, 1080, 0, 0), monitor_rect(800, 600, 1920, 0), monitor_rect(800, 600, 2720, 0),
                   monitor_rect(800, 600, 3520, 0), monitor_rect(800, 600, 4320, 0)},
                  false);
    sim.host->set_ui_scale(GetParam());
    popup_test::load_with_settings(
        sim, {"primus_pfd_2_nbzl_popup_at_start = 2", "primus_pfd_2_nbzl_monitor_start = 1",
              "primus_rmu_2_nbzl_popup_at_start = 2", "primus_rmu_2_nbzl_monitor_start = 2",
              "pfd2_nbzl_popup_at_start = 2", "pfd2_nbzl_monitor_start = 2", "cdu815_2_nbzl_popup_at_start = 2",
              "cdu815_2_nbzl_monitor_start = 3", "mcdu_2_nbzl_popup_at_start = 2", "mcdu_2_nbzl_monitor_start = 3",
              "gns530_2_nbzl_popup_at_start = 2", "gns530_2_nbzl_monitor_start = 4"});
    sim.host->run_frames(51);
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/Identify Monitors"));
    sim.host->run_frames(2);
    vxr_test::TempDir shots;
    sim.host->shot(shots.path(), "labels");

    for (int unit = 1; unit <= 4; unit++) {
        SCOPED_TRACE("unit " + std::to_string(unit));
        label_scan s = scan_label(shots.file("labels-monitor" + std::to_string(unit) + ".png"));
        // The names clear of the frame on both sides: nothing is cut.
        ASSERT_LE(s.name_left, s.name_right);
        EXPECT_GE(s.name_left - s.left, 6);
        EXPECT_GE(s.right - s.name_right, 6);
        // Each line of names at least 18 pixels from its capitals' tops down.
        ASSERT_FALSE(s.name_line_heights.empty());
        for (int height : s.name_line_heights)
            EXPECT_GE(height, 18);
    }
}

INSTANTIATE_TEST_SUITE_P(UiScales, IdentifyLabels, testing::Values(100, 150, 200));

}  // namespace
