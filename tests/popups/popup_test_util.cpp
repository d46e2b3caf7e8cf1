// Helpers shared by the popup tests.
#include "popup_test_util.h"

#include <stdexcept>

#include "Capture/capture_clock.h"

namespace popup_test {


const display_markers pfd_markers = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
const display_markers mfd_markers = {0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFF8000};

void load_with_settings(vxr_test::LinkedSim &sim, const std::vector<std::string> &cfg_lines)
{
    std::string text;
    for (const auto &line : cfg_lines)
        text += line + "\n";
    sim.load_with_cfg(text);
}

simhost::Rect rect_of(const vxr_test::LinkedSim &sim, const std::string &title)
{
    return window_of(sim, title).rect;
}

static std::string rect_text(const simhost::Rect &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

testing::AssertionResult same_rect(const simhost::Rect &actual, const simhost::Rect &expected)
{
    if (actual.left == expected.left && actual.top == expected.top && actual.right == expected.right &&
        actual.bottom == expected.bottom)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "rect " << rect_text(actual) << ", expected " << rect_text(expected);
}

std::vector<simhost::Rect> wide_unit_monitors()
{
    return {simhost::monitor_rect(1920, 1080, 0, 600), simhost::monitor_rect(1024, 600, 0, 0)};
}

static uint64_t test_now_us = 0;

static uint64_t test_clock()
{
    return test_now_us;
}

void use_test_clock(uint64_t start_us)
{
    test_now_us = start_us;
    capture_clock_set_source(test_clock);
}

void advance_test_clock(uint64_t us)
{
    test_now_us += us;
}

void SavedOnUnits::SetUp()
{
    use_test_clock(1000000);
    load_with_settings(sim, {"pfd_nbzl_monitor_start = 1", "pfd_nbzl_popup_at_start = -1",
                             "mfd_nbzl_monitor_start = 2", "mfd_nbzl_popup_at_start = -1"});
}

void SavedOnUnits::TearDown() { capture_clock_set_source(nullptr); }

void SavedOnUnits::frame(uint64_t advance_us)
{
    advance_test_clock(advance_us);
    sim.host->run_frames(1);
}

int display_to_area_x(double display_x, double area_w)
{
    return static_cast<int>(display_x / 1024.0 * area_w);
}

int display_to_area_y(double display_y, double area_h)
{
    return static_cast<int>(display_y / 768.0 * area_h * 0.995);
}

}  // namespace popup_test
