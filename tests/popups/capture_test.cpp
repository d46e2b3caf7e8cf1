// The screen capture: which pass is copied, the 20-per-second limit (on a
// clock the test steps), releasing on hide, drawing the picture back after a
// reopen, regions with their own drawing, and an incomplete framebuffer object.
#include <gtest/gtest.h>

#include "Capture/capture_clock.h"
#include "Capture/panel_source.h"
#include "Popups/popupSystem.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using simhost::Rect;
using vxr_test::LinkedSim;

// PFD and MFD full screen on the two display units; neither opens at start.
struct CaptureTest : SavedOnUnits {
    bool pfd_shows_markers() const
    {
        return color_near(sim.host->monitor_pixel(1, 64, 64), pfd_markers.bottom_left) &&
               color_near(sim.host->monitor_pixel(1, 64, 700), pfd_markers.top_left);
    }

    // The frame-number cells of the PFD as the window on monitor 1 shows them.
    std::vector<uint32_t> pfd_frame_cells() const
    {
        std::vector<uint32_t> cells;
        for (int i = 0; i < 16; i++)
            cells.push_back(sim.host->monitor_pixel(1, 452 + 8 * i, display_to_area_y(20, 768)));
        return cells;
    }
};

TEST_F(CaptureTest, OnlyThePassWithTheLitScreensIsCopied)
{
    sim.host->set_panel_passes(simhost::PanelPasses{false, 1});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frame();
    frame();
    EXPECT_EQ(pfd_regions[0].tex, 0u);
    EXPECT_EQ(pfd_regions[0].last_cap_us, 0u);
    EXPECT_FALSE(pfd_shows_markers());

    // Albedo then emissive: the copy holds the lit screens, not the dark glass.
    sim.host->set_panel_passes(simhost::PanelPasses{true, 2});
    frame();
    EXPECT_NE(pfd_regions[0].tex, 0u);
    EXPECT_NE(pfd_regions[0].fbo, 0u);
    EXPECT_TRUE(pfd_shows_markers());
    EXPECT_EQ(mfd_regions[0].tex, 0u);
}

TEST_F(CaptureTest, ARegionIsCopiedAtMostTwentyTimesASecond)
{
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frame(0);
    ASSERT_EQ(pfd_regions[0].last_cap_us, 1000000u);
    std::vector<uint32_t> first = pfd_frame_cells();

    frame(30000);
    EXPECT_EQ(pfd_regions[0].last_cap_us, 1000000u);
    EXPECT_EQ(pfd_frame_cells(), first);

    frame(20000);
    EXPECT_EQ(pfd_regions[0].last_cap_us, 1050000u);
    EXPECT_NE(pfd_frame_cells(), first);
    EXPECT_TRUE(pfd_shows_markers());

    // The next copy counts from the last one, not from the pass before.
    frame(49999);
    EXPECT_EQ(pfd_regions[0].last_cap_us, 1050000u);
    frame(1);
    EXPECT_EQ(pfd_regions[0].last_cap_us, 1100000u);
}

TEST_F(CaptureTest, HidingReleasesTheCopyAtTheNextLitPass)
{
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frame();
    ASSERT_NE(pfd_regions[0].tex, 0u);
    ASSERT_TRUE(sim.host->command(pfd_cmd));

    // A pass that does not read 2 changes nothing.
    sim.host->set_panel_passes(simhost::PanelPasses{false, 1});
    frame();
    EXPECT_NE(pfd_regions[0].tex, 0u);
    EXPECT_NE(pfd_regions[0].fbo, 0u);

    // Lit again: the hidden display keeps its copy for the next opening.
    sim.host->set_panel_passes(simhost::PanelPasses{true, 2});
    frame();
    EXPECT_NE(pfd_regions[0].tex, 0u);
    EXPECT_NE(pfd_regions[0].fbo, 0u);
}

TEST_F(CaptureTest, AWindowTheSimulatorHidGivesBackItsRendererAtTheNextLitPass)
{
    sim.host->mouse_move(960, 540);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    Rect r = rect_of(sim, pfd_title);
    int threads_closed = sim.host->live().threads;
    // Popped out by its corner, then closed by the user's window manager.
    sim.host->mouse_down(r.right - 10, r.top - 10, simhost::MouseButton::left);
    sim.host->mouse_up(r.right - 10, r.top - 10, simhost::MouseButton::left);
    ASSERT_EQ(window_of(sim, pfd_title).mode, simhost::WindowMode::popout);
    frame();
    ASSERT_TRUE(sim.host->os_close_window(pfd_title));
    frame();
    // The copy is kept for the next opening; the capture pass is no longer called.
    EXPECT_NE(pfd_regions[0].tex, 0u);
    EXPECT_EQ(sim.host->live().draw_callbacks, 0);
    EXPECT_EQ(sim.host->live().threads, threads_closed);
}

TEST_F(CaptureTest, ReopeningBringsThePictureBackAtTheNextDueCopy)
{
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frame();
    uint64_t copied = pfd_regions[0].last_cap_us;
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frame(10000);
    ASSERT_NE(pfd_regions[0].tex, 0u);

    // Reopened 10 ms after the last copy: the kept copy until 50 ms have passed.
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frame(0);
    EXPECT_EQ(pfd_regions[0].last_cap_us, copied);
    frame(40000);
    EXPECT_EQ(pfd_regions[0].last_cap_us, copied + 50000);
    EXPECT_NE(pfd_regions[0].tex, 0u);
    EXPECT_TRUE(pfd_shows_markers());
}

TEST_F(CaptureTest, NoGlObjectOfThePluginOutlivesItsWindows)
{
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    frame();
    frame();
    EXPECT_NE(mfd_regions[0].tex, 0u);
    EXPECT_GE(sim.host->live().textures, 2);
    EXPECT_GE(sim.host->live().framebuffers, 2);

    // Closed, both keep their copies: no object is made again at the next opening.
    const int textures = sim.host->live().textures, framebuffers = sim.host->live().framebuffers;
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    frame();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    frame();
    EXPECT_EQ(sim.host->live().textures, textures);
    EXPECT_EQ(sim.host->live().framebuffers, framebuffers);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));

    // And a disable with both open leaves none either.
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    frame();
    ASSERT_GE(sim.host->live().framebuffers, 2);
    sim.host->disable();
    EXPECT_EQ(sim.host->live().textures, 0);
    EXPECT_EQ(sim.host->live().framebuffers, 0);
    EXPECT_EQ(pfd_regions[0].last_cap_us, 0u);
}

TEST_F(CaptureTest, AnIncompleteFramebufferStopsOnlyItsRegionUntilTheNextOpening)
{
    pfd_regions[0].src_w = 0;
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    sim.mark();
    frame();
    frame();
    EXPECT_EQ(sim.count_logged("framebuffer incomplete, status 0x8c"), 1);
    EXPECT_TRUE(pfd_regions[0].failed);
    EXPECT_EQ(pfd_regions[0].tex, 0u);
    EXPECT_EQ(pfd_regions[0].fbo, 0u);
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(2, 64, 64), mfd_markers.bottom_left));
    EXPECT_TRUE(window_of(sim, pfd_title).visible);

    pfd_regions[0].src_w = 1024;
    frame();
    EXPECT_EQ(pfd_regions[0].tex, 0u);
    EXPECT_FALSE(pfd_shows_markers());

    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frame();
    EXPECT_FALSE(pfd_regions[0].failed);
    EXPECT_NE(pfd_regions[0].tex, 0u);
    EXPECT_TRUE(pfd_shows_markers());
}

}  // namespace
