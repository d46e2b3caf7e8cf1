// The start-up flight loop: what happens on which call after enable, the menu
// it builds, and that enables and disables never leave a second menu or swap.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config.h"
#include "core_test_util.h"
#include "startup.h"
#include "Popups/popupSystem.h"

namespace {

using core_test::mfd_title;
using core_test::pfd_title;
using core_test::window_of;
using vxr_test::LinkedSim;

const std::vector<std::string> menu_items = {"PFD POPUP", "MFD POPUP", "Swap G1000 Popups", "Identify Monitors",
                                              "PFD Monitor", "MFD Monitor", "Show/Hide Copilot PFD",
                                              "Copilot PFD Monitor", "Other Screens"};

int flight_loop_calls = 0;

void count_flight_loops(simhost::CallbackKind kind, bool entering)
{
    if (entering && kind == simhost::CallbackKind::flight_loop)
        flight_loop_calls++;
}

TEST(Startup, TheDeferredStepsRunOnThe46thAnd51stCallsOnly)
{
    LinkedSim sim;
    sim.mark();
    sim.host->run_frames(45);
    EXPECT_TRUE(sim.log_since_mark().empty());
    EXPECT_EQ(startup_frame, 45);

    sim.host->run_frames(1);
    ASSERT_EQ(sim.log_since_mark().size(), 1u);
    EXPECT_NE(sim.log_since_mark()[0].find("Frame 45 Set Render"), std::string::npos);

    sim.mark();
    sim.host->run_frames(4);
    EXPECT_TRUE(sim.log_since_mark().empty());
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 0);

    sim.host->run_frames(1);
    EXPECT_EQ(sim.count_logged("Frame 50 Start Render"), 1);
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 1);
    EXPECT_EQ(sim.host->menu_items("VXR Popups"), menu_items);
    EXPECT_EQ(startup_frame, 51);

    // Its work done, the start-up loop is called no more: in 200 frames
    // (3.3 s) only the once-a-second looks at the stock devices and at the
    // monitors run.
    sim.mark();
    flight_loop_calls = 0;
    simhost::set_callback_probe(count_flight_loops);
    sim.host->run_frames(200);
    simhost::set_callback_probe(nullptr);
    EXPECT_LE(flight_loop_calls, 8);
    EXPECT_GE(flight_loop_calls, 6);
    EXPECT_TRUE(sim.log_since_mark().empty());
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 1);
}

TEST(Startup, TheMenuItemsRunTheirCommands)
{
    LinkedSim sim;
    sim.host->run_frames(51);
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/PFD POPUP"));
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/MFD POPUP"));
    EXPECT_TRUE(window_of(sim, mfd_title).visible);
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/PFD POPUP"));
    EXPECT_FALSE(window_of(sim, pfd_title).visible);

    sim.mark();
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/Swap G1000 Popups"));
    EXPECT_EQ(sim.count_logged("Attempting VXR Screen Swap"), 1);
}

TEST(Startup, ADisableBeforeFrame50MakesNoMenuNorSwap)
{
    LinkedSim sim(core_test::cockpit_monitors());
    sim.host->run_frames(49);
    sim.host->disable();
    EXPECT_EQ(sim.count_logged("Frame 50 Start Render"), 0);
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 0);
    EXPECT_EQ(sim.host->live().menus, 0);
    EXPECT_EQ(sim.count_logged("VXR: Setting Monitor"), 0);
    EXPECT_EQ(pfd_nbzl_prefs.popup_at_start->get(), 0);
    sim.host->command("vxr/popup/swap");
    EXPECT_EQ(sim.count_logged("Attempting VXR Screen Swap"), 0);

    // Still disabled, further frames change nothing.
    sim.host->run_frames(10);
    EXPECT_EQ(sim.count_logged("Frame 50 Start Render"), 0);
}

TEST(Startup, EveryEnableLeavesExactlyOneMenuAndOneSwap)
{
    LinkedSim sim(core_test::cockpit_monitors());
    for (int period = 0; period < 3; period++) {
        sim.host->run_frames(51);
        ASSERT_EQ(sim.host->count_submenus("VXR Popups"), 1) << "period " << period;
        EXPECT_EQ(sim.host->menu_items("VXR Popups"), menu_items);
        // The plug-in's menu, a places' sub-menu per screen, and Other Screens.
        EXPECT_EQ(sim.host->live().menus, static_cast<int>(1 + screen_count + 1));
        ASSERT_EQ(window_of(sim, pfd_title).monitor, 1);
        ASSERT_EQ(window_of(sim, mfd_title).monitor, 2);

        // One swap per command: the windows change places, and back again.
        sim.mark();
        ASSERT_TRUE(sim.host->command("vxr/popup/swap"));
        EXPECT_EQ(sim.count_logged("Attempting VXR Screen Swap"), 1);
        EXPECT_EQ(window_of(sim, pfd_title).monitor, 2);
        EXPECT_EQ(window_of(sim, mfd_title).monitor, 1);
        ASSERT_TRUE(sim.host->choose_menu("VXR Popups/Swap G1000 Popups"));
        EXPECT_EQ(sim.count_logged("Attempting VXR Screen Swap"), 2);
        EXPECT_EQ(window_of(sim, pfd_title).monitor, 1);

        sim.host->disable();
        EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 0);
        ASSERT_TRUE(sim.host->enable());
    }
}

// A show/hide command given before the start-up (a cockpit button, another
// plug-in's script) opens the window; the start-up then places it by the
// preferences and never closes it.
TEST(Startup, AWindowOpenedBeforeFrame50IsPlacedNotClosed)
{
    LinkedSim sim(core_test::cockpit_monitors(), false);
    sim.host->mouse_move(960, 540);
    sim.load();
    sim.host->run_frames(10);
    ASSERT_TRUE(sim.host->command("vxr/popup/PFD_NOBEZEL"));
    ASSERT_EQ(window_of(sim, pfd_title).mode, simhost::WindowMode::free);
    sim.mark();
    sim.host->run_frames(41);
    ASSERT_EQ(startup_frame, 51);
    EXPECT_EQ(sim.count_logged("Popup Closed"), 0);
    simhost::WindowState pfd = window_of(sim, pfd_title), mfd = window_of(sim, mfd_title);
    EXPECT_TRUE(pfd.visible);
    EXPECT_EQ(pfd.mode, simhost::WindowMode::fullscreen);
    EXPECT_EQ(pfd.monitor, 1);
    EXPECT_TRUE(mfd.visible);
    EXPECT_EQ(mfd.monitor, 2);
    EXPECT_NE(PFD_popup.image, nullptr);

    // Its command still closes it.
    ASSERT_TRUE(sim.host->command("vxr/popup/PFD_NOBEZEL"));
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
}

TEST(Startup, AWindowOpenedEarlyThatIsNotForTheStartUpIsLeftAlone)
{
    // No display units: nothing is set to open at start.
    LinkedSim sim({}, false);
    sim.host->mouse_move(700, 400);
    sim.load();
    sim.host->run_frames(20);
    ASSERT_TRUE(sim.host->command("vxr/popup/MFD_NOBEZEL"));
    simhost::WindowState before = window_of(sim, mfd_title);
    sim.host->mouse_move(100, 100);
    sim.mark();
    sim.host->run_frames(31);
    ASSERT_EQ(startup_frame, 51);
    EXPECT_EQ(sim.count_logged("In Toggle Popup Callback"), 0);
    simhost::WindowState after = window_of(sim, mfd_title);
    EXPECT_TRUE(after.visible);
    EXPECT_EQ(after.rect.left, before.rect.left);
    EXPECT_EQ(after.rect.top, before.rect.top);
}

}  // namespace
