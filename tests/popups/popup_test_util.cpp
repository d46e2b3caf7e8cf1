// Helpers shared by the popup tests.
#include "popup_test_util.h"

#include <stdexcept>

#include "Popups/scr_cap.h"

namespace popup_test {

const char pfd_title[] = "VXR G1000 PFD Bezelless";
const char mfd_title[] = "VXR G1000 MFD Bezelless";
const char pfd_cmd[] = "vxr/popup/PFD_NOBEZEL";
const char mfd_cmd[] = "vxr/popup/MFD_NOBEZEL";

const display_markers pfd_markers = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
const display_markers mfd_markers = {0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFF8000};

void load_with_settings(vxr_test::LinkedSim &sim, const std::vector<std::string> &cfg_lines)
{
    std::string text;
    for (const auto &line : cfg_lines)
        text += line + "\n";
    vxr_test::write_file(sim.root.settings_file(), text);
    if (!sim.host->load_linked(vxr_test::linked_plugin(), sim.root.xpl_path()))
        throw std::runtime_error("the linked plug-in did not load");
}

simhost::WindowState window_of(const vxr_test::LinkedSim &sim, const std::string &title)
{
    simhost::WindowState state;
    if (!sim.host->window(title, &state))
        throw std::runtime_error("no window " + title);
    return state;
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

std::vector<simhost::Rect> cockpit_monitors()
{
    return {simhost::monitor_rect(1920, 1080, 0, 0), simhost::monitor_rect(1024, 768, 1920, 0),
            simhost::monitor_rect(1024, 768, 2944, 0)};
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

bool color_near(uint32_t actual, uint32_t expected)
{
    const int tolerance = 8;
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = static_cast<int>((actual >> shift) & 0xff);
        int e = static_cast<int>((expected >> shift) & 0xff);
        if (a - e > tolerance || e - a > tolerance)
            return false;
    }
    return true;
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
