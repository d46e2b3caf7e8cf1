// "Identify Monitors" on 800 x 600 units, the smallest the start-up knows, at
// every UI scale: in a screenshot of each unit the label lies on the unit and
// the screens' names (amber) stand clear of its frame, each line readable.
#include <algorithm>
#include <cstdlib>
#include <string>

#include <cairo.h>
#include <gtest/gtest.h>

#include "popup_test_util.h"
#include "temp_dir.h"

namespace {

void expect_names_whole(const std::string &png)
{
    cairo_surface_t *img = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(img), CAIRO_STATUS_SUCCESS) << png;
    const int w = cairo_image_surface_get_width(img), h = cairo_image_surface_get_height(img);
    auto is = [&](int x, int y, uint32_t rgb, int tolerance) {
        uint32_t px = reinterpret_cast<const uint32_t *>(cairo_image_surface_get_data(img) +
                                                         y * cairo_image_surface_get_stride(img))[x];
        for (int shift : {0, 8, 16})
            if (std::abs(int((px >> shift) & 0xFF) - int((rgb >> shift) & 0xFF)) > tolerance)
                return false;
        return true;
    };
    int left = w, right = -1, top = h, bottom = -1, name_left = w, name_right = -1, line = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (is(x, y, 0x0D1429, 3))
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = y;
    EXPECT_TRUE(left > 0 && right < w - 1 && top > 0 && bottom < h - 1) << png;
    for (int y = top; y <= bottom + 1; y++) {
        bool amber = false;
        for (int x = left; y <= bottom && x <= right; x++)
            if (is(x, y, 0xFFBF00, 60))
                amber = true, name_left = std::min(name_left, x), name_right = std::max(name_right, x);
        if (!amber && line > 0) {
            EXPECT_GE(line, 18) << png << ": a line of names only " << line << " pixels high";
        }
        line = amber ? line + 1 : 0;
    }
    EXPECT_TRUE(name_left - left >= 6 && right - name_right >= 6) << png << ": names cut or on the frame";
    cairo_surface_destroy(img);
}

class IdentifyLabels : public testing::TestWithParam<int> {};

TEST_P(IdentifyLabels, EveryNameStandsWholeAndReadableOnASmallUnit)
{
    using simhost::monitor_rect;
    vxr_test::LinkedSim sim({monitor_rect(1920, 1080, 0, 0), monitor_rect(800, 600, 1920, 0),
                             monitor_rect(800, 600, 2720, 0), monitor_rect(800, 600, 3520, 0)}, false);
    sim.host->set_ui_scale(GetParam());
    popup_test::load_with_settings(
        sim, {"primus_pfd_2_nbzl_popup_at_start = 2", "primus_pfd_2_nbzl_monitor_start = 1",
              "primus_rmu_2_nbzl_popup_at_start = 2", "primus_rmu_2_nbzl_monitor_start = 2",
              "pfd2_nbzl_popup_at_start = 2", "pfd2_nbzl_monitor_start = 2", "cdu815_2_nbzl_popup_at_start = 2",
              "cdu815_2_nbzl_monitor_start = 3", "mcdu_2_nbzl_popup_at_start = 2", "mcdu_2_nbzl_monitor_start = 3"});
    sim.host->run_frames(51);
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/Identify Monitors"));
    sim.host->run_frames(2);
    vxr_test::TempDir shots;
    sim.host->shot(shots.path(), "labels");
    for (int unit = 1; unit <= 3; unit++)
        expect_names_whole(shots.file("labels-monitor" + std::to_string(unit) + ".png"));
}

INSTANTIATE_TEST_SUITE_P(UiScales, IdentifyLabels, testing::Values(100, 150, 200));

}  // namespace
