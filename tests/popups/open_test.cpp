// The show/hide command: phases, the first open, closing, the three
// placements and their fall-backs, and the faults an opening must survive.
#include <gtest/gtest.h>

#include <acfutils/log.h>

#include "Capture/panel_source.h"
#include "Popups/popupSystem.h"
#include "Popups/popup_window.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using simhost::Rect;
using vxr_test::LinkedSim;

TEST(PopupOpen, OnlyTheEndOfTheCommandToggles)
{
    LinkedSim sim;
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd, simhost::Host::CommandAction::begin));
    sim.host->run_frames(3);
    EXPECT_EQ(sim.count_logged("In Toggle Popup Callback"), 0);
    simhost::WindowState state;
    EXPECT_FALSE(sim.host->window(pfd_title, &state));

    ASSERT_TRUE(sim.host->command(pfd_cmd, simhost::Host::CommandAction::end));
    EXPECT_EQ(sim.count_logged("In Toggle Popup Callback"), 1);
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
}

TEST(PopupOpen, TheFirstOpenIsTheImageSizeCentredOnTheMouse)
{
    LinkedSim sim;
    sim.host->mouse_move(700, 500);
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));

    EXPECT_TRUE(sim.logged_in_order({"In Toggle Popup Callback", "Window Opened", "Window Opened"}));
    EXPECT_EQ(sim.count_logged("Window Opened"), 2);
    EXPECT_EQ(sim.count_logged("Popup Closed"), 0);

    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.mode, simhost::WindowMode::free);
    EXPECT_TRUE(same_rect(w.rect, Rect{700 - 512, 500 + 384, 700 + 512, 500 - 384}));
    EXPECT_EQ(w.min_w, 256);
    EXPECT_EQ(w.min_h, 0);
    EXPECT_EQ(w.max_w, 4096);
    EXPECT_EQ(w.max_h, 4096);
    EXPECT_NE(PFD_popup.image, nullptr);
    EXPECT_EQ(MFD_popup.win, nullptr);
}

// Opening and closing start and join no thread; what the window drew with
// is kept for the next opening, and no drawing callback stays registered.
TEST(PopupOpen, ClosingHidesTheWindowAndKeepsWhatItDrewWith)
{
    LinkedSim sim;
    int threads_closed = vxr_test::settled_thread_count(sim);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_EQ(sim.host->live().threads, threads_closed);
    EXPECT_EQ(sim.host->live().draw_callbacks, 1);
    sim.host->run_frames(2);
    const uint32_t overlay = PFD_popup.overlay_tex, copy = pfd_regions[0].tex;
    ASSERT_NE(overlay, 0u);
    ASSERT_NE(copy, 0u);

    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(sim.logged_in_order({"In Toggle Popup Callback", "Popup Closed", "MTCR FINI", "Popup Close Fini"}));
    EXPECT_EQ(sim.count_logged("Window Opened"), 0);
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
    EXPECT_EQ(sim.host->live().draw_callbacks, 0);
    EXPECT_EQ(sim.host->live().threads, threads_closed);

    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(2);
    EXPECT_EQ(PFD_popup.overlay_tex, overlay);
    EXPECT_EQ(pfd_regions[0].tex, copy);
    // The window is kept for the next opening.
    EXPECT_EQ(sim.host->live().windows, 1);
}

// Resizes a floating window by its bottom-right corner so that it gets this width.
static void resize_to_width(LinkedSim &sim, const std::string &title, int width)
{
    Rect r = rect_of(sim, title);
    sim.host->mouse_down(r.right - 10, r.bottom + 10, simhost::MouseButton::left);
    sim.host->mouse_drag(r.left + width - 10, r.bottom + 10, simhost::MouseButton::left);
    sim.host->mouse_up(r.left + width - 10, r.bottom + 10, simhost::MouseButton::left);
    ASSERT_EQ(rect_of(sim, title).width(), width);
}

TEST(PopupOpen, CentringOnTheMouseKeepsAnEvenWidthAndTheImageAspect)
{
    LinkedSim sim;
    sim.host->mouse_move(700, 500);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    resize_to_width(sim, pfd_title, 1025);
    ASSERT_TRUE(sim.host->command(pfd_cmd));

    sim.host->mouse_move(900, 600);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{900 - 512, 600 + 384, 900 + 512, 600 - 384}));

    resize_to_width(sim, pfd_title, 1000);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->mouse_move(900, 600);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    Rect r = rect_of(sim, pfd_title);
    EXPECT_TRUE(same_rect(r, Rect{900 - 500, 600 + 375, 900 + 500, 600 - 375}));
    EXPECT_EQ(r.height(), 750);
}

TEST(PopupOpen, TheSavedMonitorComesBeforeThePopOut)
{
    LinkedSim sim(cockpit_monitors(), false);
    load_with_settings(sim, {"pfd_nbzl_monitor_start = 1", "pfd_nbzl_popup_at_start = 1", "pfd_nbzl_x = 100",
                             "pfd_nbzl_y = 100", "pfd_nbzl_w = 512", "pfd_nbzl_h = 384"});
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(sim.logged_in_order({"Window Opened", "Checking Monitors to Position Window at 1", "Setting Position",
                                     "Window Opened"}));
    EXPECT_EQ(sim.count_logged("Auto Popout and Position Window"), 0);
    // The full screen's geometry comes with the next frame.
    sim.host->run_frames(1);
    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_EQ(w.mode, simhost::WindowMode::fullscreen);
    EXPECT_EQ(w.monitor, 1);
    EXPECT_TRUE(same_rect(w.rect, Rect{1920, 768, 2944, 0}));
}

TEST(PopupOpen, PopAtStartOnePopsOutAtTheSavedRectangleAgainAndAgain)
{
    LinkedSim sim(cockpit_monitors(), false);
    load_with_settings(sim, {"mfd_nbzl_popup_at_start = 1", "mfd_nbzl_x = 200", "mfd_nbzl_y = 150",
                             "mfd_nbzl_w = 640", "mfd_nbzl_h = 480"});
    sim.mark();
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    EXPECT_TRUE(sim.logged_in_order({"Window Opened", "Auto Popout and Position Window", "Window Opened"}));
    simhost::WindowState w = window_of(sim, mfd_title);
    EXPECT_EQ(w.mode, simhost::WindowMode::popout);
    EXPECT_TRUE(same_rect(w.rect, Rect{200, 630, 840, 150}));

    // Closing brings it back inside the simulator's window, then hides it.
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    w = window_of(sim, mfd_title);
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(w.mode, simhost::WindowMode::free);

    ASSERT_TRUE(sim.host->command(mfd_cmd));
    w = window_of(sim, mfd_title);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.mode, simhost::WindowMode::popout);
    EXPECT_TRUE(same_rect(w.rect, Rect{200, 630, 840, 150}));
}

TEST(PopupOpen, PopAtStartTwoWithoutAMonitorOpensOnTheMouse)
{
    LinkedSim sim({}, false);
    load_with_settings(sim, {"pfd_nbzl_popup_at_start = 2", "pfd_nbzl_monitor_start = -1"});
    sim.host->mouse_move(1000, 540);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_EQ(w.mode, simhost::WindowMode::free);
    EXPECT_TRUE(same_rect(w.rect, Rect{1000 - 512, 540 + 384, 1000 + 512, 540 - 384}));
}

TEST(PopupOpen, AMissingMonitorOpensOnTheMouseAndKeepsThePreference)
{
    LinkedSim sim({}, false);
    load_with_settings(sim, {"pfd_nbzl_monitor_start = 3", "pfd_nbzl_popup_at_start = 2"});
    sim.host->mouse_move(960, 540);
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(sim.logged_in_order({"Checking Monitors to Position Window at 3", "Monitor 0: [L: 0 T: 1080], [R: 1920 B: 0]",
                                     "Monitor 3 not Available", "Window Opened"}));
    EXPECT_EQ(sim.count_logged("Setting Position"), 0);
    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_EQ(w.mode, simhost::WindowMode::free);
    EXPECT_TRUE(same_rect(w.rect, Rect{448, 924, 1472, 156}));
    EXPECT_EQ(PFD_popup.prefs->monitor_start->get(), 3);
}

TEST(PopupOpen, ASavedPopOutRectangleOnNoMonitorOpensOnTheMouse)
{
    // Saved on the second display unit, which is then unplugged.
    LinkedSim sim(cockpit_monitors(), false);
    load_with_settings(sim, {"pfd_nbzl_popup_at_start = 1", "pfd_nbzl_x = 3000", "pfd_nbzl_y = 100",
                             "pfd_nbzl_w = 640", "pfd_nbzl_h = 480"});
    sim.host->mouse_move(960, 540);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_EQ(window_of(sim, pfd_title).mode, simhost::WindowMode::popout);
    ASSERT_TRUE(sim.host->command(pfd_cmd));

    sim.host->set_monitors({simhost::monitor_rect(1920, 1080, 0, 0)});
    sim.host->run_frames(1);
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(sim.logged_in_order({"Auto Popout and Position Window", "is on no Monitor", "Window Opened"}));
    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.mode, simhost::WindowMode::free);
    EXPECT_EQ(w.rect.left + w.rect.width() / 2, 960);
    EXPECT_EQ(w.rect.bottom + w.rect.height() / 2, 540);
    EXPECT_EQ(PFD_popup.prefs->x->get(), 3000);
    EXPECT_EQ(PFD_popup.prefs->popup_at_start->get(), 1);

    // Its top strip must lie on the monitor with both top corners: one
    // column past the right edge is too far; on the edge it pops out.
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    PFD_popup.prefs->x->set(1920 - 640 + 1);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_EQ(window_of(sim, pfd_title).mode, simhost::WindowMode::free);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    PFD_popup.prefs->x->set(1920 - 640);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    w = window_of(sim, pfd_title);
    EXPECT_EQ(w.mode, simhost::WindowMode::popout);
    EXPECT_TRUE(same_rect(w.rect, Rect{1280, 580, 1920, 100}));
}

TEST(PopupOpen, AWindowTheSimulatorDidNotCreateIsTriedAgainByTheNextCommand)
{
    LinkedSim sim;
    sim.host->fail_next_window_creations(1);
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(sim.logged_in_order({"In Toggle Popup Callback", "could not be created"}));
    EXPECT_EQ(sim.count_logged("Window Opened"), 0);
    EXPECT_EQ(PFD_popup.win, nullptr);
    EXPECT_EQ(PFD_popup.overlay_tex, 0u);
    EXPECT_EQ(sim.host->live().windows, 0);
    sim.host->run_frames(2);

    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_EQ(sim.count_logged("Window Opened"), 2);
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
}

TEST(PopupOpen, AWindowTheSimulatorHidIsReopenedWithWhatItDrewWith)
{
    // No pass lights the screens, so no capture pass releases the renderer.
    LinkedSim sim({}, false);
    load_with_settings(sim, {"mfd_nbzl_popup_at_start = 1", "mfd_nbzl_x = 100", "mfd_nbzl_y = 100",
                             "mfd_nbzl_w = 800", "mfd_nbzl_h = 600"});
    sim.host->set_panel_passes(simhost::PanelPasses{false, 1});
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    sim.host->run_frames(2);
    int threads_open = sim.host->live().threads;

    ASSERT_TRUE(sim.host->os_close_window(mfd_title));
    sim.host->run_frames(2);
    ASSERT_FALSE(window_of(sim, mfd_title).visible);
    const uint32_t overlay = MFD_popup.overlay_tex;
    ASSERT_NE(overlay, 0u);

    ASSERT_TRUE(sim.host->command(mfd_cmd));
    EXPECT_TRUE(window_of(sim, mfd_title).visible);
    sim.host->run_frames(1);
    EXPECT_EQ(MFD_popup.overlay_tex, overlay);
    EXPECT_EQ(vxr_test::live_with_threads(*sim.host, threads_open).threads, threads_open);
}

TEST(PopupOpen, TheStartUpOpensThePositiveOnesMfdFirst)
{
    LinkedSim sim({}, false);
    load_with_settings(sim, {"pfd_nbzl_popup_at_start = 2", "mfd_nbzl_popup_at_start = 1"});
    sim.host->run_frames(51);
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
    simhost::WindowState mfd = window_of(sim, mfd_title);
    EXPECT_TRUE(mfd.visible);
    EXPECT_EQ(mfd.mode, simhost::WindowMode::popout);
    std::vector<simhost::WindowState> windows = sim.host->windows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].title, mfd_title);
}

TEST(PopupOpen, TheStartUpOpensNothingAtZeroOrBelow)
{
    LinkedSim sim({}, false);
    load_with_settings(sim, {"pfd_nbzl_popup_at_start = 0", "mfd_nbzl_popup_at_start = -1"});
    sim.host->run_frames(51);
    EXPECT_EQ(sim.count_logged("In Toggle Popup Callback"), 0);
    EXPECT_TRUE(sim.host->windows().empty());
}

static void stderr_sink(const char *line)
{
    fputs(line, stderr);
}

TEST(PopupOpenDeathTest, AToggleWithoutAPopupIsAProgrammingError)
{
    EXPECT_DEATH(
        {
            log_init(stderr_sink, "T");
            toggle_popup(nullptr, xplm_CommandEnd, nullptr);
        },
        "In Toggle Popup Callback\n.*assertion \"pup != 0\" failed: ");
}

TEST(PopupOpen, AHundredTogglesLeaveNothingBehind)
{
    // Past the start-up, whose swap command adds a handler of its own.
    LinkedSim sim;
    sim.host->run_frames(52);
    const int threads_closed = vxr_test::settled_thread_count(sim);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    sim.host->run_frames(2);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    sim.host->run_frames(2);
    simhost::LiveObjects closed = vxr_test::live_with_threads(*sim.host, threads_closed);

    for (int i = 0; i < 100; i++) {
        ASSERT_TRUE(sim.host->command(i % 2 ? mfd_cmd : pfd_cmd));
        sim.host->run_frames(1);
    }
    simhost::LiveObjects after = vxr_test::live_with_threads(*sim.host, closed.threads);
    EXPECT_EQ(after.windows, closed.windows);
    EXPECT_EQ(after.threads, closed.threads);
    EXPECT_EQ(after.textures, closed.textures);
    EXPECT_EQ(after.framebuffers, closed.framebuffers);
    EXPECT_EQ(after.command_handlers, closed.command_handlers);
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
    EXPECT_FALSE(window_of(sim, mfd_title).visible);

    sim.host->disable();
    after = sim.host->live();
    EXPECT_EQ(after.windows, 0);
    EXPECT_EQ(after.textures, 0);
    EXPECT_EQ(after.framebuffers, 0);
    EXPECT_EQ(after.command_handlers, 0);
    EXPECT_LE(after.threads, closed.threads);
}

}  // namespace
