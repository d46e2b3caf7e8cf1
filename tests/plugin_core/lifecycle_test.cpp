// The entry points: identity, the order of the log lines over a whole run,
// messages, what a disable leaves behind, and capture surviving a re-enable.
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include <XPLMPlugin.h>

#include "core_test_util.h"

PLUGIN_API int XPluginStart(char *name, char *sig, char *desc);
PLUGIN_API void XPluginStop(void);

namespace {

using core_test::pfd_title;
using vxr_test::LinkedSim;

TEST(Lifecycle, StartWritesTheIdentity)
{
    LinkedSim sim({}, false);
    char name[256], sig[256], desc[256];
    ASSERT_EQ(XPluginStart(name, sig, desc), 1);
    EXPECT_STREQ(name, "Corvanta G1000 Popups");
    EXPECT_STREQ(sig, "qlb.VXRPopup");
    EXPECT_STREQ(desc, "Corvanta G1000 Popups");
    XPluginStop();
}

TEST(Lifecycle, AWholeRunLogsItsStepsInOrder)
{
    LinkedSim sim;
    sim.host->unload();
    EXPECT_TRUE(sim.logged_in_order({
        "This is custom window popups for X-Plane for Corvanta created by Hollowmere",
        "Version 3.1.1e | Compiled On: ", "Start Drawing Processes", "Startup Completed",
        "Starting GLEW", "XPLMStart Complete",
        "XPLMEnable", "/Resources/plugins/popups/", "Settings and Failures",
        "Created Configuration: popups.cfg with path ", "G1000 Popup Init",
        "Init VXR G1000 MFD Bezelless", "Init VXR G1000 PFD Bezelless", "XPLMEnable Complete",
        "XPLMDisable", "Unregistering FLC - EF", "Unregistering G1000 Popups",
        "Fini VXR G1000 MFD Bezelless", "Fini VXR G1000 PFD Bezelless",
        "Unregistering Draw Callbacks", "Destroying popups.cfg", "XPLMDisable Complete",
        "XPLMStop", "XPLMStop Complete"}));

    // Every line carries the prefix, the source file's base name and its line.
    const std::regex start_line(R"(^VXR V20 \(QLB\) POPUP\[Main\.cpp:\d+\]: XPLMStart Complete$)");
    const std::regex banner(
        R"(\]: Version 3\.1\.1e \| Compiled On: [A-Z][a-z]{2} [ 0-9]\d \d{4} \d\d:\d\d:\d\d$)");
    int start_lines = 0, banners = 0;
    std::string dir_line;
    for (const auto &line : sim.log_since_mark()) {
        start_lines += std::regex_search(line, start_line);
        banners += std::regex_search(line, banner);
        if (line.find("]: /") != std::string::npos && dir_line.empty())
            dir_line = line;
    }
    EXPECT_EQ(start_lines, 1);
    EXPECT_EQ(banners, 1);
    // The folder is logged as it was derived: the plug-in's folder with its separator.
    EXPECT_EQ(dir_line.substr(dir_line.find("]: ") + 3), sim.root.plugin_dir() + "/");
}

TEST(Lifecycle, StandardOutputGetsEachLineOnce)
{
    LinkedSim sim({}, false);
    testing::internal::CaptureStdout();
    core_test::load(sim);
    sim.host->unload();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("\n\n"), std::string::npos);
    size_t first = out.find("XPLMStop Complete\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(out.find("XPLMStop Complete\n", first + 1), std::string::npos);
}

TEST(Lifecycle, MessagesAreIgnored)
{
    LinkedSim sim;
    sim.host->run_frames(2);
    sim.mark();
    int param = 7;
    sim.host->send_message(XPLM_MSG_PLANE_LOADED, &param);
    sim.host->send_message(XPLM_MSG_ENTERED_VR, nullptr);
    sim.host->send_message(0x7fffffff, nullptr);
    EXPECT_TRUE(sim.log_since_mark().empty());
}

TEST(Lifecycle, ADisableLeavesNothingOfThePluginBehind)
{
    LinkedSim sim(core_test::cockpit_monitors());
    sim.host->run_frames(60);
    ASSERT_TRUE(core_test::window_of(sim, pfd_title).visible);
    ASSERT_EQ(sim.host->count_submenus("VXR Popups"), 1);

    sim.host->disable();
    simhost::LiveObjects live = sim.host->live();
    EXPECT_EQ(live.windows, 0);
    EXPECT_EQ(live.command_handlers, 0);
    EXPECT_EQ(live.flight_loops, 0);
    EXPECT_EQ(live.draw_callbacks, 0);
    EXPECT_EQ(live.menus, 0);
    EXPECT_EQ(live.menu_items, 0);
    EXPECT_EQ(sim.host->count_submenus("VXR Popups"), 0);
}

TEST(Lifecycle, TheDisplaysAreCapturedAgainAfterADisableAndAnEnable)
{
    // The PFD full screen on the first display unit: its bottom-left marker is
    // red and its top-left marker blue, 64 pixels in from the corners.
    LinkedSim sim(core_test::cockpit_monitors());
    sim.host->run_frames(60);
    ASSERT_EQ(core_test::window_of(sim, pfd_title).monitor, 1);
    EXPECT_PRED2(core_test::color_near, sim.host->monitor_pixel(1, 64, 64), 0xFF0000u);
    EXPECT_PRED2(core_test::color_near, sim.host->monitor_pixel(1, 64, 700), 0x0000FFu);

    sim.host->disable();
    ASSERT_TRUE(sim.host->enable());
    EXPECT_EQ(sim.host->live().draw_callbacks, 0);
    sim.host->run_frames(60);
    EXPECT_EQ(sim.host->live().draw_callbacks, 1);
    ASSERT_EQ(core_test::window_of(sim, pfd_title).monitor, 1);
    EXPECT_PRED2(core_test::color_near, sim.host->monitor_pixel(1, 64, 64), 0xFF0000u);
    EXPECT_PRED2(core_test::color_near, sim.host->monitor_pixel(1, 64, 700), 0x0000FFu);
}

TEST(Lifecycle, APathWithoutAFolderRunsWithoutSettings)
{
    // The host hands back absolute paths: a library at the root has no
    // platform folder with a folder above it.
    LinkedSim sim({}, false);
    ASSERT_TRUE(sim.host->load_linked(vxr_test::linked_plugin(), "/vxr_pop.xpl"));
    EXPECT_TRUE(sim.logged_in_order({"XPLMEnable", "has no folder above its platform folder", "G1000 Popup Init",
        "XPLMEnable Complete"}));
    EXPECT_EQ(sim.count_logged("Created Configuration"), 0);
    // The popups still work, from the defaults.
    sim.host->run_frames(51);
    ASSERT_TRUE(sim.host->command("vxr/popup/PFD_NOBEZEL"));
    EXPECT_TRUE(core_test::window_of(sim, pfd_title).visible);
    sim.host->unload();
    EXPECT_EQ(sim.count_logged("XPLMStop Complete"), 1);
}

}  // namespace
