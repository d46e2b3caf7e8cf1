// The start-up assignment of the display units: saved monitors that are
// present units are kept, the others are given out first-free to the PFD and
// last-free to the MFD, and no unit ever ends up with both displays on it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <XPLMDisplay.h>

#include "config.h"
#include "core_test_util.h"

namespace {

using core_test::mfd_title;
using core_test::pfd_title;
using core_test::window_of;
using simhost::monitor_rect;
using simhost::Rect;
using simhost::WindowMode;
using vxr_test::LinkedSim;

const Rect main_monitor = monitor_rect(1920, 1080, 0, 0);

// A main monitor followed by n display units, 1024 wide, left to right.
std::vector<Rect> cockpit_with_units(int n)
{
    std::vector<Rect> monitors = {main_monitor};
    for (int i = 0; i < n; i++)
        monitors.push_back(monitor_rect(1024, 768, 1920 + 1024 * i, 0));
    return monitors;
}

struct Assignment {
    const char *name;
    std::vector<Rect> monitors;
    std::string cfg;
    int pfd_monitor, mfd_monitor;          // monitor_start after the start-up
    std::vector<std::string> logged;       // in this order
    int uncovered = -1;                    // a monitor X-Plane does not cover
};

void PrintTo(const Assignment &c, std::ostream *os) { *os << c.name; }

class StartupAssignment : public testing::TestWithParam<Assignment> {};

TEST_P(StartupAssignment, GivesEachDisplayItsUnitAndOpensItThere)
{
    const Assignment &c = GetParam();
    LinkedSim sim(c.monitors, false);
    if (c.uncovered >= 0) {
        std::vector<simhost::Monitor> os;
        for (const Rect &r : c.monitors)
            os.push_back({r, &r != &c.monitors[c.uncovered]});
        sim.host->set_os_monitors(os);
    }
    sim.host->mouse_move(960, 540);
    sim.mark();
    sim.load_with_cfg(c.cfg);
    sim.host->run_frames(51);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), c.pfd_monitor);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), c.mfd_monitor);
    EXPECT_TRUE(sim.logged_in_order(c.logged));

    // Each window opened at start is full screen on its unit when that is a
    // present unit, and otherwise on the mouse.
    int units = static_cast<int>(c.monitors.size());
    for (auto [title, monitor] : {std::pair<const char *, int>{pfd_title, c.pfd_monitor}, {mfd_title, c.mfd_monitor}}) {
        simhost::WindowState w;
        if (!sim.host->window(title, &w) || !w.visible)
            continue;
        if (monitor >= 0 && monitor < units) {
            EXPECT_EQ(w.mode, WindowMode::fullscreen) << title;
            EXPECT_EQ(w.monitor, monitor) << title;
        } else {
            EXPECT_EQ(w.mode, WindowMode::free) << title;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Units, StartupAssignment, testing::Values(
    // Units numbered as before and nothing saved: the PFD the first, the MFD the last.
    Assignment{"nothing_saved_two_units", cockpit_with_units(2), "", 1, 2,
        {"VXR: Found Monitor 1 for PFD", "VXR: Found Monitor 2 for MFD", "VXR: Setting Monitor 1 to PFD",
         "VXR: Setting Monitor 2 to MFD"}},
    Assignment{"nothing_saved_three_units", cockpit_with_units(3), "", 1, 3,
        {"VXR: Setting Monitor 1 to PFD", "VXR: Setting Monitor 3 to MFD"}},
    Assignment{"nothing_saved_one_unit", cockpit_with_units(1), "", 1, -1, {"VXR: Setting Monitor 1 to PFD"}},
    // What the last start-up gave, saved: the same again.
    Assignment{"last_assignment_saved", cockpit_with_units(2),
        "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 1\nmfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 2\n",
        1, 2, {"VXR: Keeping Saved Monitor 1 for PFD", "VXR: Keeping Saved Monitor 2 for MFD"}},
    // A swap saved: kept.
    Assignment{"swap_saved", cockpit_with_units(2),
        "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 2\nmfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 1\n",
        2, 1, {"VXR: Keeping Saved Monitor 2 for PFD", "VXR: Setting Monitor 2 to PFD",
               "VXR: Keeping Saved Monitor 1 for MFD", "VXR: Setting Monitor 1 to MFD"}},
    // Only the PFD saved: the MFD takes the last unit the PFD does not keep.
    Assignment{"pfd_saved_on_the_last_unit", cockpit_with_units(3),
        "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 3\n", 3, 2,
        {"VXR: Keeping Saved Monitor 3 for PFD", "VXR: Setting Monitor 2 to MFD"}},
    // Only the MFD saved: the PFD takes the first unit the MFD does not keep.
    Assignment{"mfd_saved_on_the_first_unit", cockpit_with_units(2),
        "mfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 1\n", 2, 1,
        {"VXR: Setting Monitor 2 to PFD", "VXR: Keeping Saved Monitor 1 for MFD"}},
    // Both saved on one unit: the PFD keeps it.
    Assignment{"both_saved_on_one_unit", cockpit_with_units(2),
        "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 2\nmfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 2\n",
        2, 1, {"VXR: Keeping Saved Monitor 2 for PFD", "VXR: Setting Monitor 1 to MFD"}},
    // A saved monitor that is there is kept whatever its width (the main
    // monitor here); one that is not there is not.
    Assignment{"saved_main_monitor_kept_absent_unit_not", cockpit_with_units(2),
        "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 0\nmfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 7\n",
        0, 2, {"VXR: Keeping Saved Monitor 0 for PFD", "VXR: Setting Monitor 2 to MFD"}},
    // A saved monitor X-Plane does not cover is kept while the OS has it; the
    // MFD takes the unit X-Plane covers.
    Assignment{"saved_uncovered_unit_kept", cockpit_with_units(2),
        "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 2\n", 2, 1,
        {"VXR: Monitor 2 (1024 x 768 pixels) is a display unit X-Plane does not cover",
         "VXR: Keeping Saved Monitor 2 for PFD", "VXR: Setting Monitor 1 to MFD"}, 2},
    // A display kept out keeps its values and takes no unit.
    Assignment{"pfd_kept_out", cockpit_with_units(2),
        "pfd_nbzl_popup_at_start = -1\npfd_nbzl_monitor_start = 2\n", 2, 2,
        {"VXR: Found Monitor 2 for MFD", "VXR: Setting Monitor 2 to MFD"}},
    // The swap saved and the PFD's unit unplugged: the MFD keeps the unit that
    // is left, and the PFD, without one, keeps its saved unit for later.
    Assignment{"swap_saved_pfd_unit_unplugged", cockpit_with_units(1),
        "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 2\nmfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 1\n",
        2, 1, {"VXR: Keeping Saved Monitor 1 for MFD", "Monitor 2 not Available"}}),
    [](const testing::TestParamInfo<Assignment> &info) { return std::string(info.param.name); });

TEST(StartupAssignment, AKeptOutDisplayLogsNoAssignment)
{
    LinkedSim sim(cockpit_with_units(2), false);
    sim.load_with_cfg("pfd_nbzl_popup_at_start = -1\npfd_nbzl_monitor_start = 1\n");
    sim.host->run_frames(51);
    EXPECT_EQ(sim.count_logged("for PFD"), 0);   // it takes no unit
    EXPECT_EQ(sim.count_logged("to PFD"), 0);
    EXPECT_EQ(pfd_nbzl_prefs.popup_at_start->get(), -1);
}

// Both displays saved on the one unit there is: the PFD takes it, the MFD
// comes to the mouse and keeps its saved unit.
TEST(StartupAssignment, OneUnitSavedForBothGoesToThePfd)
{
    LinkedSim sim(cockpit_with_units(1), false);
    sim.host->mouse_move(960, 540);
    sim.load_with_cfg(
        "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 1\nmfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 1\n");
    sim.host->run_frames(51);
    simhost::WindowState pfd = window_of(sim, pfd_title), mfd = window_of(sim, mfd_title);
    EXPECT_TRUE(pfd.visible);
    EXPECT_EQ(pfd.mode, WindowMode::fullscreen);
    EXPECT_EQ(pfd.monitor, 1);
    EXPECT_TRUE(mfd.visible);
    EXPECT_EQ(mfd.mode, WindowMode::free);
    EXPECT_EQ((mfd.rect.left + mfd.rect.right) / 2, 960);
    EXPECT_EQ(sim.count_logged("Monitor 1 is taken by VXR G1000 PFD Bezelless"), 1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 1);
}

}  // namespace
