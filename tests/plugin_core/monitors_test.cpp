// Instrument monitors found by width, their assignment to PFD and MFD at
// start-up, the search for the monitor under a point, and the swap.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <XPLMDisplay.h>

#include "config.h"
#include "core_test_util.h"
#include "Popups/monitors.h"

namespace {

using core_test::mfd_title;
using core_test::pfd_title;
using core_test::window_of;
using simhost::monitor_rect;
using vxr_test::LinkedSim;

TEST(Monitors, OnlyTheDisplayUnitWidthsCount)
{
    LinkedSim sim({monitor_rect(1920, 1080, 0, 0), monitor_rect(681, 512, 1920, 0), monitor_rect(682, 512, 2601, 0),
        monitor_rect(683, 512, 3283, 0), monitor_rect(684, 512, 3966, 0)});
    sim.host->run_frames(51);
    EXPECT_EQ(sim.count_logged("VXR Monitor "), 5);
    EXPECT_TRUE(sim.logged_in_order({"VXR Monitor 0: [L: 0 T: 1080], [R: 1920 B: 0]", "VXR: Found Monitor 2 for PFD",
        "VXR: Found Monitor 3 for MFD", "VXR: Setting Monitor 2 to PFD", "VXR: Setting Monitor 3 to MFD"}));
    EXPECT_EQ(sim.count_logged("VXR: Found Monitor 1 "), 0);
    EXPECT_EQ(sim.count_logged("VXR: Found Monitor 4 "), 0);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 2);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 3);
    EXPECT_EQ(pfd_nbzl_prefs.popup_at_start->get(), 2);
    EXPECT_EQ(mfd_nbzl_prefs.popup_at_start->get(), 2);
}

TEST(Monitors, ThePfdGetsTheFirstAndTheMfdTheLastAndBothOpenThere)
{
    LinkedSim sim({monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0), monitor_rect(800, 600, 2944, 0),
        monitor_rect(512, 384, 3744, 0)});
    sim.host->run_frames(51);
    // One line per display for the unit it takes; the unit between is nobody's.
    EXPECT_TRUE(sim.logged_in_order({"VXR: Found Monitor 1 for PFD", "VXR: Found Monitor 3 for MFD",
        "VXR: Setting Monitor 1 to PFD", "VXR: Setting Monitor 3 to MFD", "In Toggle Popup Callback"}));
    EXPECT_EQ(sim.count_logged("VXR: Found Monitor 2 "), 0);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 3);
    simhost::WindowState pfd = window_of(sim, pfd_title), mfd = window_of(sim, mfd_title);
    EXPECT_TRUE(pfd.visible);
    EXPECT_EQ(pfd.mode, simhost::WindowMode::fullscreen);
    EXPECT_EQ(pfd.monitor, 1);
    EXPECT_TRUE(mfd.visible);
    EXPECT_EQ(mfd.monitor, 3);
}

TEST(Monitors, OneDisplayUnitGoesToThePfdAndTheMfdKeepsItsSettings)
{
    LinkedSim sim({monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0)}, false);
    vxr_test::write_file(sim.root.settings_file(), "mfd_nbzl_popup_at_start = 1\nmfd_nbzl_monitor_start = -1\n");
    core_test::load(sim);
    sim.host->run_frames(51);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 1);
    EXPECT_EQ(mfd_nbzl_prefs.popup_at_start->get(), 1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), -1);
    EXPECT_EQ(sim.count_logged("to MFD"), 0);
}

TEST(Monitors, APfdKeptOutOfTheAssignmentLeavesItsMonitorToNobody)
{
    LinkedSim sim(core_test::cockpit_monitors(), false);
    vxr_test::write_file(sim.root.settings_file(), "pfd_nbzl_popup_at_start = -1\n");
    core_test::load(sim);
    sim.host->run_frames(51);
    EXPECT_EQ(sim.count_logged("VXR: Found Monitor 1 for PFD"), 0);
    EXPECT_EQ(sim.count_logged("to PFD"), 0);
    EXPECT_EQ(pfd_nbzl_prefs.popup_at_start->get(), -1);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), -1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 2);
    simhost::WindowState pfd;
    EXPECT_FALSE(sim.host->window(pfd_title, &pfd) && pfd.visible);
    EXPECT_EQ(window_of(sim, mfd_title).monitor, 2);
}

TEST(Monitors, TheMonitorUnderAPointExcludesItsEdges)
{
    LinkedSim sim({monitor_rect(1920, 1080, 0, 0), monitor_rect(800, 600, -800, 0), monitor_rect(1024, 768, 1000, 100)});
    struct probe {
        int x, y, expected;
    };
    for (probe p : std::vector<probe>{{10, 10, 0}, {-400, 300, 1}, {0, 300, -1}, {1920, 50, -1}, {500, 1080, -1},
             {500, 0, -1}, {-801, 300, -1}, {5000, 5000, -1}, {1500, 500, 2}}) {
        monitor_list global;
        list_global_monitors(&global);
        EXPECT_EQ(monitor_at_point(global, p.x, p.y), p.expected) << p.x << "," << p.y;
    }
    EXPECT_TRUE(monitor_is_present(2));
    EXPECT_FALSE(monitor_is_present(3));
    EXPECT_FALSE(monitor_is_present(-1));
}

TEST(Monitors, TheSwapActsOnReleaseAndExchangesTheDisplayUnits)
{
    LinkedSim sim(core_test::cockpit_monitors());
    sim.host->run_frames(51);
    ASSERT_EQ(window_of(sim, pfd_title).monitor, 1);
    ASSERT_EQ(window_of(sim, mfd_title).monitor, 2);

    sim.mark();
    ASSERT_TRUE(sim.host->command("vxr/popup/swap", simhost::Host::CommandAction::begin));
    sim.host->run_frames(5);
    EXPECT_EQ(sim.count_logged("Attempting VXR Screen Swap"), 0);
    ASSERT_TRUE(sim.host->command("vxr/popup/swap", simhost::Host::CommandAction::end));
    EXPECT_TRUE(sim.logged_in_order({"Attempting VXR Screen Swap", "Checking Monitors to Position PFD at 2",
        "Setting PFD Position", "Checking Monitors to Position MFD at 1", "Setting MFD Position"}));
    EXPECT_EQ(window_of(sim, pfd_title).monitor, 2);
    EXPECT_EQ(window_of(sim, mfd_title).monitor, 1);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 2);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 1);

    ASSERT_TRUE(sim.host->command("vxr/popup/swap"));
    EXPECT_EQ(window_of(sim, pfd_title).monitor, 1);
    EXPECT_EQ(window_of(sim, mfd_title).monitor, 2);
}

TEST(Monitors, TheSwapRefusesUnlessBothAreFullScreenOnAMonitor)
{
    LinkedSim sim({monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0)}, false);
    vxr_test::write_file(sim.root.settings_file(), "mfd_nbzl_popup_at_start = 1\n");
    core_test::load(sim);
    sim.host->run_frames(51);
    sim.mark();
    ASSERT_TRUE(sim.host->command("vxr/popup/swap"));
    EXPECT_EQ(sim.count_logged("Unable to swap monitors! Windows do not exist!!"), 1);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), -1);
    EXPECT_EQ(window_of(sim, pfd_title).monitor, 1);
}

TEST(Monitors, ASwapWithNoMonitorMovesTheWindowThatGetsOneAndTheOtherMakesWay)
{
    // The MFD is marked full screen but has no monitor: it opens on the mouse.
    LinkedSim sim({monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0)}, false);
    vxr_test::write_file(sim.root.settings_file(), "mfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = -1\n");
    core_test::load(sim);
    sim.host->run_frames(51);
    ASSERT_EQ(window_of(sim, pfd_title).monitor, 1);
    ASSERT_EQ(window_of(sim, mfd_title).mode, simhost::WindowMode::free);

    sim.mark();
    ASSERT_TRUE(sim.host->command("vxr/popup/swap"));
    EXPECT_TRUE(sim.logged_in_order({"Checking Monitors to Position PFD at -1", "Checking Monitors to Position MFD at 1",
        "Setting MFD Position"}));
    EXPECT_EQ(sim.count_logged("Setting PFD Position"), 0);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), -1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 1);
    EXPECT_EQ(window_of(sim, mfd_title).monitor, 1);
    EXPECT_EQ(window_of(sim, mfd_title).mode, simhost::WindowMode::fullscreen);
    // The PFD, with no monitor to go to, leaves the MFD's new one for the mouse.
    EXPECT_EQ(sim.count_logged("VXR G1000 PFD Bezelless leaves Monitor 1 to VXR G1000 MFD Bezelless"), 1);
    simhost::WindowState pfd = window_of(sim, pfd_title);
    EXPECT_TRUE(pfd.visible);
    EXPECT_EQ(pfd.mode, simhost::WindowMode::free);
}

}  // namespace
