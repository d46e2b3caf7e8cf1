// Monitors that disappear, come back, move or change order between frames,
// with windows full screen on them, popped out over them or being dragged:
// no crash, the windows stay reachable, the swap and reopening behave, and
// the saved monitors are kept for when the display units come back.
#include <gtest/gtest.h>

#include "Popups/popupSystem.h"
#include "reliability_util.h"

namespace {

using namespace reliability;
using simhost::MouseButton;
using simhost::Rect;
using simhost::WindowMode;
using vxr_test::LinkedSim;

const Rect main_monitor = simhost::monitor_rect(1920, 1080, 0, 0);

bool inside(const Rect &inner, const Rect &outer)
{
    return outer.left <= inner.left && inner.right <= outer.right && outer.bottom <= inner.bottom &&
           inner.top <= outer.top;
}

// PFD and MFD full screen on the two display units after the start-up.
struct FaultMonitors : testing::Test {
    LinkedSim sim{cockpit_monitors(), false};
    int threads = 0;

    void SetUp() override
    {
        sim.load_with_cfg("");
        threads = vxr_test::settled_thread_count(sim);
        sim.host->mouse_move(960, 540);
        sim.host->run_frames(60);
        ASSERT_EQ(window_of(sim, pfd_title).monitor, 1);
        ASSERT_EQ(window_of(sim, mfd_title).monitor, 2);
    }

    void reopen(const char *cmd)
    {
        ASSERT_TRUE(sim.host->command(cmd));
        ASSERT_TRUE(sim.host->command(cmd));
    }

    void expect_on_mouse(const char *title)
    {
        simhost::WindowState w = window_of(sim, title);
        EXPECT_TRUE(w.visible);
        EXPECT_EQ(w.mode, WindowMode::free) << title;
        EXPECT_EQ((w.rect.left + w.rect.right) / 2, 960) << title;
        EXPECT_EQ((w.rect.top + w.rect.bottom) / 2, 540) << title;
        EXPECT_TRUE(inside(w.rect, main_monitor)) << title;
    }

    void expect_pfd_on_its_unit(int monitor)
    {
        simhost::WindowState pfd = window_of(sim, pfd_title);
        EXPECT_TRUE(pfd.visible);
        EXPECT_EQ(pfd.mode, WindowMode::fullscreen);
        EXPECT_EQ(pfd.monitor, monitor);
        EXPECT_TRUE(color_near(sim.host->monitor_pixel(monitor, 64, 64), 0xFF0000));
        EXPECT_TRUE(color_near(sim.host->monitor_pixel(monitor, 960, 700), 0xFFFFFF));
    }
};

TEST_F(FaultMonitors, UnpluggedUnitsLeaveReachableWindowsAndKeepTheirPlaces)
{
    sim.host->set_monitors({main_monitor});
    sim.host->run_frames(5);

    // Reopened, each window comes to the mouse on the monitor that is left.
    sim.mark();
    reopen(pfd_cmd);
    reopen(mfd_cmd);
    EXPECT_EQ(sim.count_logged("Monitor 1 not Available"), 1);
    EXPECT_EQ(sim.count_logged("Monitor 2 not Available"), 1);
    expect_on_mouse(pfd_title);
    expect_on_mouse(mfd_title);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 1);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 2);

    // The close corner reaches them there.
    simhost::WindowState pfd = window_of(sim, pfd_title);
    sim.host->mouse_down(pfd.rect.left + 10, pfd.rect.top - 10, MouseButton::left);
    sim.host->mouse_up(pfd.rect.left + 10, pfd.rect.top - 10, MouseButton::left);
    EXPECT_FALSE(window_of(sim, pfd_title).visible);

    // The units come back: the next opening puts the PFD full screen again.
    sim.host->set_monitors(cockpit_monitors());
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(2);
    expect_pfd_on_its_unit(1);

    sim.host->disable();
    EXPECT_TRUE(nothing_left(*sim.host, threads));
    std::map<std::string, int> cfg;
    ASSERT_TRUE(cfg_is_whole(sim.root.settings_file(), &cfg));
    EXPECT_EQ(cfg["pfd_nbzl_monitor_start"], 1);
    EXPECT_EQ(cfg["mfd_nbzl_monitor_start"], 2);
}

TEST_F(FaultMonitors, TheSwapWithAUnitGoneMovesOnlyWhatCanMove)
{
    // The MFD's unit goes; the swap sends the PFD there, which it cannot be.
    sim.host->set_monitors({main_monitor, cockpit_monitors()[1]});
    sim.host->run_frames(2);
    sim.mark();
    ASSERT_TRUE(sim.host->command(swap_cmd));
    sim.host->run_frames(2);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 2);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 1);
    simhost::WindowState mfd = window_of(sim, mfd_title);
    EXPECT_EQ(mfd.mode, WindowMode::fullscreen);
    EXPECT_EQ(mfd.monitor, 1);
    // The PFD cannot go to its new unit and makes way for the MFD: it comes
    // to the mouse, visible and reachable.
    expect_on_mouse(pfd_title);

    // Back again, a swap and a reopening put everything where it belongs.
    sim.host->set_monitors(cockpit_monitors());
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/Swap G1000 Popups"));
    reopen(mfd_cmd);
    reopen(pfd_cmd);
    sim.host->run_frames(2);
    expect_pfd_on_its_unit(1);
    EXPECT_EQ(window_of(sim, mfd_title).monitor, 2);
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(2, 64, 64), 0xFFFF00));
}

TEST_F(FaultMonitors, UnitsThatMoveOrChangeOrderCarryTheirWindows)
{
    // The units move below the main monitor and shrink to 800 x 600.
    sim.host->set_monitors({main_monitor, simhost::monitor_rect(800, 600, 0, -600),
                            simhost::monitor_rect(800, 600, 800, -600)});
    sim.host->run_frames(2);
    simhost::WindowState pfd = window_of(sim, pfd_title);
    EXPECT_EQ(pfd.rect.left, 0);
    EXPECT_EQ(pfd.rect.bottom, -600);
    EXPECT_EQ(pfd.rect.width(), 800);
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(1, 50, 50), 0xFF0000));

    // Their order changes: index 1 is now the other unit.
    sim.host->set_monitors({main_monitor, cockpit_monitors()[2], cockpit_monitors()[1]});
    sim.host->run_frames(2);
    expect_pfd_on_its_unit(1);
    EXPECT_EQ(window_of(sim, pfd_title).rect.left, 2944);
}

TEST_F(FaultMonitors, APoppedOutWindowOverAVanishedUnitReopensOnTheMouse)
{
    // The MFD popped out over its unit, and that place saved.
    simhost::WindowState mfd = window_of(sim, mfd_title);
    sim.host->mouse_down(mfd.rect.right - 10, mfd.rect.top - 10, MouseButton::left);
    sim.host->mouse_up(mfd.rect.right - 10, mfd.rect.top - 10, MouseButton::left);
    mfd = window_of(sim, mfd_title);
    ASSERT_EQ(mfd.mode, WindowMode::popout);
    sim.host->mouse_down(mfd.rect.right - 10, mfd.rect.top - 10, MouseButton::right);
    sim.host->mouse_up(mfd.rect.right - 10, mfd.rect.top - 10, MouseButton::right);
    ASSERT_EQ(mfd_nbzl_prefs.popup_at_start->get(), 1);
    ASSERT_EQ(mfd_nbzl_prefs.x->get(), 2944);

    sim.host->set_monitors({main_monitor, cockpit_monitors()[1]});
    sim.host->mouse_move(960, 540);
    sim.host->run_frames(2);
    sim.mark();
    reopen(mfd_cmd);
    EXPECT_EQ(sim.count_logged("is on no Monitor"), 1);
    expect_on_mouse(mfd_title);
    EXPECT_EQ(mfd_nbzl_prefs.x->get(), 2944);

    sim.host->set_monitors(cockpit_monitors());
    reopen(mfd_cmd);
    mfd = window_of(sim, mfd_title);
    EXPECT_EQ(mfd.mode, WindowMode::popout);
    EXPECT_EQ(mfd.rect.left, 2944);
    EXPECT_EQ(mfd.rect.width(), 1024);
}

TEST_F(FaultMonitors, MonitorsChangingInTheMiddleOfADragAndAResize)
{
    reopen(mfd_cmd);   // still full screen; the PFD goes to the mouse instead
    pfd_nbzl_prefs.monitor_start->set(-1);
    reopen(pfd_cmd);
    expect_on_mouse(pfd_title);
    simhost::WindowState pfd = window_of(sim, pfd_title);

    sim.host->mouse_down(960, pfd.rect.top - 10, MouseButton::left);
    sim.host->set_monitors({main_monitor});
    sim.host->run_frames(1);
    sim.host->mouse_drag(1000, pfd.rect.top - 30, MouseButton::left);
    sim.host->set_monitors(cockpit_monitors());
    sim.host->run_frames(1);
    sim.host->mouse_up(1000, pfd.rect.top - 30, MouseButton::left);
    EXPECT_EQ(window_of(sim, pfd_title).rect.left, pfd.rect.left + 40);

    pfd = window_of(sim, pfd_title);
    sim.host->mouse_down(pfd.rect.right - 10, pfd.rect.bottom + 10, MouseButton::left);
    sim.host->set_monitors({main_monitor});
    sim.host->mouse_drag(pfd.rect.right - 110, pfd.rect.bottom + 10, MouseButton::left);
    sim.host->run_frames(1);
    sim.host->mouse_up(pfd.rect.right - 110, pfd.rect.bottom + 10, MouseButton::left);
    simhost::WindowState after = window_of(sim, pfd_title);
    EXPECT_EQ(after.rect.right, pfd.rect.right - 100);
    EXPECT_EQ(after.rect.top, pfd.rect.top);
    EXPECT_TRUE(after.visible);
}

TEST_F(FaultMonitors, UnitsGoneAtStartUpAreNotForgotten)
{
    // A restart with the units unplugged until after the start-up.
    sim.host->disable();
    sim.host->set_monitors({main_monitor});
    ASSERT_TRUE(sim.host->enable());
    sim.host->run_frames(60);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 1);
    EXPECT_EQ(pfd_nbzl_prefs.popup_at_start->get(), 2);
    expect_on_mouse(pfd_title);

    sim.host->set_monitors(cockpit_monitors());
    reopen(pfd_cmd);
    sim.host->run_frames(2);
    expect_pfd_on_its_unit(1);
}

}  // namespace
