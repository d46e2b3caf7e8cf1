// The popup registry: bring-up and take-down at enable and disable, the
// resources it loads, and a popup whose overlay image cannot be read.
#include <filesystem>

#include <gtest/gtest.h>

#include "Popups/popupSystem.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using vxr_test::LinkedSim;

TEST(PopupRegistry, EnableAndDisableGoMfdFirst)
{
    LinkedSim sim({}, false);
    sim.mark();
    load_with_settings(sim, {});
    EXPECT_TRUE(sim.logged_in_order({"Init VXR G1000 MFD Bezelless", "Init VXR G1000 PFD Bezelless"}));
    // One record per row of the screen table, the MFD first and the PFD second.
    ASSERT_EQ(popup_list.size(), screen_count);
    EXPECT_EQ(popup_list[0], &MFD_popup);
    EXPECT_EQ(popup_list[1], &PFD_popup);
    EXPECT_EQ(sim.host->live().command_handlers, static_cast<int>(screen_count));

    sim.mark();
    sim.host->disable();
    EXPECT_TRUE(sim.logged_in_order({"Fini VXR G1000 MFD Bezelless", "Fini VXR G1000 PFD Bezelless"}));
    EXPECT_TRUE(popup_list.empty());
    EXPECT_EQ(MFD_popup.cmd, nullptr);
    EXPECT_EQ(PFD_popup.image, nullptr);
    EXPECT_EQ(sim.host->live().command_handlers, 0);
    EXPECT_EQ(sim.host->live().os_cursors, 0);

    ASSERT_TRUE(sim.host->enable());
    // One record per row of the screen table, the MFD first and the PFD second.
    ASSERT_EQ(popup_list.size(), screen_count);
    EXPECT_EQ(popup_list[0], &MFD_popup);
    EXPECT_EQ(popup_list[1], &PFD_popup);
    EXPECT_EQ(sim.host->live().command_handlers, static_cast<int>(screen_count));
    // The same commands come back by name and still toggle.
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    EXPECT_TRUE(window_of(sim, mfd_title).visible);
}

TEST(PopupRegistry, ResourcesComeFromThePluginFolder)
{
    LinkedSim sim;
    EXPECT_EQ(popups_dir, sim.root.plugin_dir());
    for (int i = 0; i < NUM_POPUP_CURSORS; i++)
        EXPECT_NE(popup_cursors[i], nullptr) << "cursor " << i;
    // Held on the desktop's X server, where there is one.
    EXPECT_EQ(sim.host->live().os_cursors, sim.host->has_desktop() ? NUM_POPUP_CURSORS : 0);
    for (popup *pup : popup_list) {
        // The other stock screens have no overlay.
        if (pup->image_file.empty()) {
            EXPECT_EQ(pup->image, nullptr);
            continue;
        }
        ASSERT_NE(pup->image, nullptr);
        EXPECT_EQ(cairo_surface_status(pup->image), CAIRO_STATUS_SUCCESS);
        EXPECT_EQ(cairo_image_surface_get_width(pup->image), 1024);
        EXPECT_EQ(cairo_image_surface_get_height(pup->image), 768);
        EXPECT_EQ(pup->image_w, 1024.0);
        EXPECT_EQ(pup->image_h, 768.0);
    }
}

TEST(PopupRegistry, AMissingImageOpensTheLivePictureOnly)
{
    LinkedSim sim(cockpit_monitors(), false);
    std::filesystem::remove(sim.root.plugin_dir() + "/resources/popup/nobezel.png");
    sim.mark();
    load_with_settings(sim, {"pfd_nbzl_monitor_start = 1", "pfd_nbzl_popup_at_start = -1",
                             "mfd_nbzl_popup_at_start = -1"});
    // The G1000's three screens have the overlay.
    EXPECT_EQ(sim.count_logged("Cannot read image file " + sim.root.plugin_dir()), 3);
    EXPECT_EQ(sim.host->live().command_handlers, static_cast<int>(screen_count));
    EXPECT_NE(popup_cursors[CURSOR_B_CLOSE], nullptr);

    int threads = sim.host->live().threads;
    sim.mark();
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_EQ(sim.count_logged("No overlay for VXR G1000 PFD Bezelless"), 1);
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
    EXPECT_EQ(PFD_popup.overlay_tex, 0u);
    EXPECT_EQ(vxr_test::live_with_threads(*sim.host, threads).threads, threads);

    sim.host->run_frames(3);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, 64), pfd_markers.bottom_left);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, 700), pfd_markers.top_left);

    // The close corner, the command and a disable all cope with the missing overlay.
    sim.host->mouse_down(1920 + 10, 768 - 10, simhost::MouseButton::left);
    sim.host->mouse_up(1920 + 10, 768 - 10, simhost::MouseButton::left);
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(2);
    sim.host->disable();
    EXPECT_EQ(sim.host->live().windows, 0);
    EXPECT_EQ(vxr_test::live_with_threads(*sim.host, threads).threads, threads);
}

}  // namespace
