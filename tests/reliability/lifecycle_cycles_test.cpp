// Enable and disable, a thousand times (a hundred in sanitizer builds), with
// the windows in every state a user can leave them in: closed, full screen,
// popped out, in the middle of a drag or a resize. Every disable must leave
// nothing of the plug-in alive and popups.cfg whole with what is in memory.
#include <gtest/gtest.h>

#include "Popups/popupSystem.h"
#include "reliability_util.h"

#ifndef VXR_LIFECYCLE_CYCLES
#define VXR_LIFECYCLE_CYCLES 1000
#endif

namespace {

using namespace reliability;
using simhost::MouseButton;
using vxr_test::LinkedSim;

// Small monitors keep frames cheap: a 640 x 480 main monitor and two
// 512-wide display units, which the start-up gives to the PFD and the MFD.
std::vector<simhost::Rect> small_cockpit()
{
    return {simhost::monitor_rect(640, 480, 0, 0), simhost::monitor_rect(512, 384, 640, 0),
            simhost::monitor_rect(512, 384, 1152, 0)};
}

// The PFD goes full screen at start; the MFD stays out of the start-up and
// opens floating at the mouse, to be dragged, resized and popped out.
const char cycle_cfg[] = "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 1\n"
                         "mfd_nbzl_popup_at_start = -1\nmfd_nbzl_w = 400\n";

struct LifecycleCycles : testing::Test {
    LinkedSim sim{small_cockpit(), false};
    int threads = 0;

    void SetUp() override
    {
        sim.load_with_cfg(cycle_cfg);
        // Only the albedo pass: the capture is not what these cycles are about.
        sim.host->set_panel_passes(simhost::PanelPasses{false, 1});
        sim.host->disable();
        threads = vxr_test::settled_thread_count(sim);
    }

    // The MFD opens floating, centred on the middle of the main monitor.
    simhost::WindowState open_mfd()
    {
        sim.host->mouse_move(320, 240);
        EXPECT_TRUE(sim.host->command(mfd_cmd));
        return window_of(sim, mfd_title);
    }

    void click(int x, int y)
    {
        sim.host->mouse_down(x, y, MouseButton::left);
        sim.host->mouse_up(x, y, MouseButton::left);
    }

    // Leaves the plug-in in the state of this cycle, enabled.
    void enter_state(int state)
    {
        switch (state) {
        case 0:   // disabled again at once
            break;
        case 1: { // after the start-up: the menu, the PFD full screen
            sim.host->run_frames(52);
            simhost::WindowState pfd = window_of(sim, pfd_title);
            ASSERT_TRUE(pfd.visible);
            ASSERT_EQ(pfd.monitor, 1);
            break;
        }
        case 2: { // the MFD popped out, lit and drawn
            simhost::WindowState mfd = open_mfd();
            click(mfd.rect.right - 10, mfd.rect.top - 10);
            ASSERT_EQ(window_of(sim, mfd_title).mode, simhost::WindowMode::popout);
            sim.host->set_panel_passes(simhost::PanelPasses{true, 2});
            sim.host->run_frames(2);
            sim.host->set_panel_passes(simhost::PanelPasses{false, 1});
            break;
        }
        case 3: { // the MFD in the middle of a drag
            simhost::WindowState mfd = open_mfd();
            int x = (mfd.rect.left + mfd.rect.right) / 2, y = mfd.rect.top - 10;
            sim.host->mouse_down(x, y, MouseButton::left);
            sim.host->mouse_drag(x + 30, y - 20, MouseButton::left);
            sim.host->run_frames(1);
            ASSERT_EQ(window_of(sim, mfd_title).rect.left, mfd.rect.left + 30);
            break;
        }
        case 4: { // the MFD in the middle of a resize
            simhost::WindowState mfd = open_mfd();
            sim.host->mouse_down(mfd.rect.right - 10, mfd.rect.bottom + 10, MouseButton::left);
            sim.host->mouse_drag(mfd.rect.right + 40, mfd.rect.bottom, MouseButton::left);
            sim.host->run_frames(1);
            ASSERT_EQ(window_of(sim, mfd_title).rect.right, mfd.rect.right + 50);
            break;
        }
        case 5: { // both open and the PFD's place saved by a right click;
                  // the next start-up gives it its unit again
            ASSERT_TRUE(sim.host->command(pfd_cmd));
            open_mfd();
            simhost::WindowState pfd = window_of(sim, pfd_title);
            ASSERT_EQ(pfd.monitor, 1);
            sim.host->mouse_down(pfd.rect.right - 10, pfd.rect.top - 10, MouseButton::right);
            sim.host->mouse_up(pfd.rect.right - 10, pfd.rect.top - 10, MouseButton::right);
            ASSERT_EQ(pfd_nbzl_prefs.popup_at_start->get(), 1);
            sim.host->run_frames(1);
            break;
        }
        }
    }
};

TEST_F(LifecycleCycles, EveryDisableLeavesNothingAliveAndTheSettingsWhole)
{
    for (int cycle = 0; cycle < VXR_LIFECYCLE_CYCLES; cycle++) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        ASSERT_TRUE(sim.host->enable());
        enter_state(cycle % 6);
        if (HasFatalFailure())
            return;
        std::map<std::string, int> in_memory = prefs_in_memory();
        sim.host->disable();

        ASSERT_TRUE(nothing_left(*sim.host, threads));
        ASSERT_EQ(sim.host->count_submenus("VXR Popups"), 0);
        std::map<std::string, int> on_disk;
        ASSERT_TRUE(cfg_is_whole(sim.root.settings_file(), &on_disk));
        ASSERT_EQ(on_disk, in_memory);
    }
    sim.host->unload();
    EXPECT_TRUE(nothing_left(*sim.host, threads));
}

TEST_F(LifecycleCycles, AGestureCutByADisableDoesNotCarryOverToTheNextEnable)
{
    for (int state : {3, 4}) {
        SCOPED_TRACE(state == 3 ? "cut in a drag" : "cut in a resize");
        ASSERT_TRUE(sim.host->enable());
        enter_state(state);
        sim.host->disable();
        // The release of the cut gesture comes while the plug-in is away.
        sim.host->mouse_up(600, 100, MouseButton::left);

        ASSERT_TRUE(sim.host->enable());
        simhost::WindowState mfd = open_mfd();
        // The first gesture is a new one: a drag on the face moves or sizes
        // nothing, and then the close corner closes.
        int x = (mfd.rect.left + mfd.rect.right) / 2, y = (mfd.rect.top + mfd.rect.bottom) / 2;
        sim.host->mouse_down(x, y, MouseButton::left);
        sim.host->mouse_drag(x + 50, y - 30, MouseButton::left);
        sim.host->mouse_up(x + 50, y - 30, MouseButton::left);
        simhost::WindowState after = window_of(sim, mfd_title);
        EXPECT_EQ(after.rect.left, mfd.rect.left);
        EXPECT_EQ(after.rect.right, mfd.rect.right);
        EXPECT_EQ(after.rect.bottom, mfd.rect.bottom);
        click(mfd.rect.left + 10, mfd.rect.top - 10);
        EXPECT_FALSE(window_of(sim, mfd_title).visible);
        sim.host->disable();
    }
}

}  // namespace
