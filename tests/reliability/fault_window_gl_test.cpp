// Faults of the simulator and the driver: windows the simulator does not
// create, and framebuffer objects the driver reports unsupported. Each gives
// one clear log line; the plug-in goes on and loses nothing.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "Capture/capture_clock.h"
#include "Capture/panel_source.h"
#include "Popups/popupSystem.h"
#include "reliability_util.h"

namespace {

using namespace reliability;
using vxr_test::LinkedSim;

// Start-up places PFD and MFD full screen on the two display units.
const char cockpit_cfg[] =
    "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 1\n"
    "mfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 2\n";

TEST(FaultWindows, WindowsRefusedAtStartUpAreMadeByTheNextCommands)
{
    LinkedSim sim(cockpit_monitors(), false);
    sim.load_with_cfg(cockpit_cfg);
    int threads = vxr_test::settled_thread_count(sim);
    sim.host->fail_next_window_creations(2);
    sim.mark();
    sim.host->run_frames(60);

    // One line per refused window; the start-up goes on to the end.
    EXPECT_EQ(sim.count_logged("could not be created"), 2);
    EXPECT_EQ(sim.count_logged("Window Opened"), 0);
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 1);
    EXPECT_EQ(sim.host->live().windows, 0);
    EXPECT_EQ(sim.host->live().threads, threads);
    EXPECT_EQ(MFD_popup.overlay_tex, 0u);

    // The menu's items make them, where the preferences say.
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/PFD POPUP"));
    ASSERT_TRUE(sim.host->choose_menu("VXR Popups/MFD POPUP"));
    sim.host->run_frames(2);
    simhost::WindowState pfd = window_of(sim, pfd_title), mfd = window_of(sim, mfd_title);
    EXPECT_TRUE(pfd.visible);
    EXPECT_EQ(pfd.mode, simhost::WindowMode::fullscreen);
    EXPECT_EQ(pfd.monitor, 1);
    EXPECT_TRUE(mfd.visible);
    EXPECT_EQ(mfd.monitor, 2);
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(1, 64, 64), 0xFF0000));
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(2, 64, 64), 0xFFFF00));

    sim.host->disable();
    EXPECT_TRUE(nothing_left(*sim.host, threads));
    std::map<std::string, int> cfg;
    ASSERT_TRUE(cfg_is_whole(sim.root.settings_file(), &cfg));
    EXPECT_EQ(cfg["pfd_nbzl_monitor_start"], 1);
    EXPECT_EQ(cfg["mfd_nbzl_monitor_start"], 2);
}

TEST(FaultWindows, EveryRefusalIsOneLineAndChangesNothing)
{
    LinkedSim sim;
    sim.host->mouse_move(960, 540);
    std::map<std::string, int> before = prefs_in_memory();
    sim.host->fail_next_window_creations(5);
    sim.mark();
    for (int i = 0; i < 5; i++) {
        ASSERT_TRUE(sim.host->command(i % 2 ? mfd_cmd : pfd_cmd));
        sim.host->run_frames(1);
    }
    EXPECT_EQ(sim.count_logged("could not be created"), 5);
    EXPECT_EQ(sim.host->live().windows, 0);
    EXPECT_EQ(prefs_in_memory(), before);

    // Right clicks and drags where no window is reach the simulator only.
    sim.host->mouse_down(960, 540, simhost::MouseButton::right);
    sim.host->mouse_up(960, 540, simhost::MouseButton::right);
    sim.host->mouse_down(960, 540, simhost::MouseButton::left);
    sim.host->mouse_drag(990, 560, simhost::MouseButton::left);
    sim.host->mouse_up(990, 560, simhost::MouseButton::left);

    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
    EXPECT_EQ(sim.count_logged("could not be created"), 5);
}

// The driver's answer to every framebuffer check, while a test wants it.
GLenum GLAPIENTRY framebuffer_unsupported(GLuint, GLenum)
{
    return GL_FRAMEBUFFER_UNSUPPORTED;
}

// GLEW's entry points are process-wide pointers, loaded by the plug-in's
// start; the test swaps the framebuffer check after that and puts it back.
struct FaultFramebuffer : testing::Test {
    LinkedSim sim{cockpit_monitors(), false};
    PFNGLCHECKNAMEDFRAMEBUFFERSTATUSPROC real_check = nullptr;
    int threads = 0;

    void SetUp() override
    {
        use_stepping_clock();
        sim.load_with_cfg("pfd_nbzl_popup_at_start = -1\npfd_nbzl_monitor_start = 1\n"
                           "mfd_nbzl_popup_at_start = -1\nmfd_nbzl_monitor_start = 2\n");
        threads = vxr_test::settled_thread_count(sim);
        real_check = __glewCheckNamedFramebufferStatus;
        ASSERT_NE(real_check, nullptr);
    }

    void TearDown() override
    {
        if (real_check != nullptr)
            __glewCheckNamedFramebufferStatus = real_check;
        capture_clock_set_source(nullptr);
    }

    void frames(int n)
    {
        for (int i = 0; i < n; i++) {
            step_clock();
            sim.host->run_frames(1);
        }
    }

    bool pfd_markers_on(int monitor) const
    {
        return color_near(sim.host->monitor_pixel(monitor, 64, 64), 0xFF0000) &&
               color_near(sim.host->monitor_pixel(monitor, 960, 700), 0xFFFFFF);
    }
};

TEST_F(FaultFramebuffer, AnUnsupportedFramebufferIsOneLineAndLeavesTheRegionOutUntilReopened)
{
    __glewCheckNamedFramebufferStatus = framebuffer_unsupported;
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frames(10);

    EXPECT_EQ(sim.count_logged("framebuffer incomplete, status 0x8cdd"), 1);
    EXPECT_EQ(sim.count_logged("framebuffer incomplete"), 1);
    EXPECT_TRUE(pfd_regions[0].failed);
    EXPECT_EQ(sim.host->live().framebuffers, 0);
    EXPECT_FALSE(pfd_markers_on(1));
    // The window stays, with its overlay, reachable by its corners and command.
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
    EXPECT_NE(PFD_popup.image, nullptr);

    // The driver recovers: the region stays out until the window opens again.
    __glewCheckNamedFramebufferStatus = real_check;
    frames(3);
    EXPECT_EQ(pfd_regions[0].fbo, 0u);
    EXPECT_FALSE(pfd_markers_on(1));
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frames(2);
    EXPECT_FALSE(pfd_regions[0].failed);
    EXPECT_TRUE(pfd_markers_on(1));
    EXPECT_EQ(sim.count_logged("framebuffer incomplete"), 1);
}

TEST_F(FaultFramebuffer, EachOpeningTriesOnceAndTheOtherDisplayIsUntouched)
{
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    frames(2);
    ASSERT_NE(mfd_regions[0].fbo, 0u);

    __glewCheckNamedFramebufferStatus = framebuffer_unsupported;
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frames(3);
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(sim.host->command(pfd_cmd));
        ASSERT_TRUE(sim.host->command(pfd_cmd));
        frames(3);
    }
    EXPECT_EQ(sim.count_logged("framebuffer incomplete, status 0x8cdd"), 4);
    // The MFD's region, made before the fault, goes on being copied.
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(2, 64, 64), 0xFFFF00));
    EXPECT_TRUE(color_near(sim.host->monitor_pixel(2, 960, 700), 0xFF8000));
    EXPECT_EQ(sim.host->live().framebuffers, 1);

    sim.host->disable();
    __glewCheckNamedFramebufferStatus = real_check;
    EXPECT_TRUE(nothing_left(*sim.host, threads));
    EXPECT_TRUE(cfg_is_whole(sim.root.settings_file()));
}

}  // namespace
