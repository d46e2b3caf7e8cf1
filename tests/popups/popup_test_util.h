/*
 * Helpers for the popup tests: a stand-in host with the linked plug-in loaded
 * over prepared settings, the popups' commands and titles, a clock the test
 * steps by hand, and colour comparison for pixels read back from the host.
 */
#ifndef VXR_POPUP_TEST_UTIL_H
#define VXR_POPUP_TEST_UTIL_H

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <simhost/host.h>
#include "sim_fixture.h"

namespace popup_test {

using vxr_test::color_near;
using vxr_test::cockpit_monitors;
using vxr_test::mfd_cmd;
using vxr_test::mfd_title;
using vxr_test::pfd_cmd;
using vxr_test::pfd_title;
using vxr_test::window_of;

// Writes popups.cfg with these lines, then loads (starts and enables) the
// linked plug-in on a sim made with load = false.
void load_with_settings(vxr_test::LinkedSim &sim, const std::vector<std::string> &cfg_lines);

simhost::Rect rect_of(const vxr_test::LinkedSim &sim, const std::string &title);
// Equal edges; a failure shows both rectangles.
testing::AssertionResult same_rect(const simhost::Rect &actual, const simhost::Rect &expected);


// The capture clock, stepped by the test: starts at start_us.
void use_test_clock(uint64_t start_us);
void advance_test_clock(uint64_t us);

// PFD and MFD saved full screen on the two display units, neither opening at
// start, with the capture clock stepped by the test.
struct SavedOnUnits : testing::Test {
    vxr_test::LinkedSim sim{cockpit_monitors(), false};

    void SetUp() override;
    void TearDown() override;
    // One frame, the clock advanced first.
    void frame(uint64_t advance_us = 50000);
};


// A 1024 x 600 display unit (monitor 1) right below a 1920 x 1080 main
// monitor (monitor 0), their left edges at x = 0.
std::vector<simhost::Rect> wide_unit_monitors();

// The markers of the synthetic displays, centred 64 px in from each corner of
// a 1024 x 768 display: bottom-left, bottom-right, top-left, top-right.
struct display_markers {
    uint32_t bottom_left, bottom_right, top_left, top_right;
};
extern const display_markers pfd_markers;
extern const display_markers mfd_markers;

// Where a display point lands in a drawn area of w x h pixels (origin
// bottom-left) filled by a capture region: full width, lower 99.5 % of the height.
int display_to_area_x(double display_x, double area_w);
int display_to_area_y(double display_y, double area_h);

}  // namespace popup_test

#endif
