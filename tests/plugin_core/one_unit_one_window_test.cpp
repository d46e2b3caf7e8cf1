// Never two windows full screen on one display unit: not after a start-up
// with a unit unplugged, not at a later opening, and not after a swap that
// can move only one of them. The window left without a unit comes to the
// mouse and keeps its saved unit for when it returns.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config.h"
#include "core_test_util.h"

namespace {

using core_test::cockpit_monitors;
using core_test::mfd_title;
using core_test::pfd_title;
using core_test::window_of;
using simhost::Rect;
using simhost::WindowMode;
using vxr_test::LinkedSim;

const Rect main_monitor = simhost::monitor_rect(1920, 1080, 0, 0);
const char pfd_cmd[] = "vxr/popup/PFD_NOBEZEL";
const char mfd_cmd[] = "vxr/popup/MFD_NOBEZEL";

// PFD and MFD full screen on the two units after the start-up, the mouse in
// the middle of the main monitor.
struct OneUnitOneWindow : testing::Test {
    LinkedSim sim{cockpit_monitors(), false};

    void SetUp() override
    {
        sim.host->mouse_move(960, 540);
        sim.load_with_cfg("");
        sim.host->run_frames(51);
        ASSERT_EQ(window_of(sim, pfd_title).monitor, 1);
        ASSERT_EQ(window_of(sim, mfd_title).monitor, 2);
    }

    void reopen(const char *cmd)
    {
        ASSERT_TRUE(sim.host->command(cmd));
        ASSERT_TRUE(sim.host->command(cmd));
    }

    void expect_full_screen(const char *title, int monitor)
    {
        simhost::WindowState w = window_of(sim, title);
        EXPECT_TRUE(w.visible) << title;
        EXPECT_EQ(w.mode, WindowMode::fullscreen) << title;
        EXPECT_EQ(w.monitor, monitor) << title;
    }

    void expect_on_mouse(const char *title)
    {
        simhost::WindowState w = window_of(sim, title);
        EXPECT_TRUE(w.visible) << title;
        EXPECT_EQ(w.mode, WindowMode::free) << title;
        EXPECT_EQ((w.rect.left + w.rect.right) / 2, 960) << title;
        EXPECT_EQ((w.rect.top + w.rect.bottom) / 2, 540) << title;
    }
};

TEST_F(OneUnitOneWindow, AStartUpAfterASwapWithAUnitUnpluggedShowsBoth)
{
    ASSERT_TRUE(sim.host->command("vxr/popup/swap"));
    sim.host->disable();
    sim.host->set_monitors({main_monitor, cockpit_monitors()[1]});
    ASSERT_TRUE(sim.host->enable());
    sim.host->run_frames(51);

    // The MFD keeps the unit that is left; the PFD, whose unit is gone, is on the mouse.
    expect_full_screen(mfd_title, 1);
    expect_on_mouse(pfd_title);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 2);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 1);
    sim.host->run_frames(2);
    EXPECT_TRUE(core_test::color_near(sim.host->monitor_pixel(1, 64, 64), 0xFFFF00));

    // Plugged in again, the PFD's next opening puts it on its unit.
    sim.host->set_monitors(cockpit_monitors());
    reopen(pfd_cmd);
    expect_full_screen(pfd_title, 2);
    expect_full_screen(mfd_title, 1);
}

TEST_F(OneUnitOneWindow, AnOpeningOnAUnitTheOtherHoldsGoesToTheMouse)
{
    mfd_nbzl_prefs.monitor_start->set(1);
    sim.mark();
    reopen(mfd_cmd);
    EXPECT_TRUE(sim.logged_in_order({"Checking Monitors to Position Window at 1",
        "Monitor 1 is taken by VXR G1000 PFD Bezelless"}));
    expect_on_mouse(mfd_title);
    expect_full_screen(pfd_title, 1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 1);

    // With the PFD closed the unit is free again.
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    reopen(mfd_cmd);
    expect_full_screen(mfd_title, 1);
    // And the PFD, opened again, finds it held by the MFD now.
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    expect_on_mouse(pfd_title);
    expect_full_screen(mfd_title, 1);
}

TEST_F(OneUnitOneWindow, AWindowLeftOnAUnitItNoLongerHoldsGivesWay)
{
    // Swapped while both units are gone: neither window can move, so each
    // stays on the unit that is now the other's.
    sim.host->set_monitors({main_monitor});
    sim.host->run_frames(2);
    ASSERT_TRUE(sim.host->command("vxr/popup/swap"));
    sim.host->set_monitors(cockpit_monitors());
    sim.host->run_frames(2);
    ASSERT_EQ(window_of(sim, mfd_title).monitor, 2);

    sim.mark();
    reopen(pfd_cmd);
    expect_full_screen(pfd_title, 2);
    // The MFD left the PFD's unit for its own.
    expect_full_screen(mfd_title, 1);
    EXPECT_EQ(sim.count_logged("VXR G1000 MFD Bezelless leaves Monitor 2"), 1);
    sim.host->run_frames(2);
    EXPECT_TRUE(core_test::color_near(sim.host->monitor_pixel(2, 64, 64), 0xFF0000));
    EXPECT_TRUE(core_test::color_near(sim.host->monitor_pixel(1, 64, 64), 0xFFFF00));
}

TEST_F(OneUnitOneWindow, ASwapThatCanMoveOnlyOneSendsTheOtherToTheMouse)
{
    // The MFD's unit goes; the swap gives the PFD's unit to the MFD, and the
    // PFD, whose new unit is missing, leaves it.
    sim.host->set_monitors({main_monitor, cockpit_monitors()[1]});
    sim.host->run_frames(2);
    ASSERT_TRUE(sim.host->command("vxr/popup/swap"));
    expect_full_screen(mfd_title, 1);
    expect_on_mouse(pfd_title);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 2);

    // The unit back, the swap puts both on their units again.
    sim.host->set_monitors(cockpit_monitors());
    ASSERT_TRUE(sim.host->command("vxr/popup/swap"));
    expect_full_screen(pfd_title, 1);
    EXPECT_EQ(window_of(sim, mfd_title).monitor, 2);
}

}  // namespace
