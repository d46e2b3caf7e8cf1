// Per frame the plug-in allocates nothing: every allocation made on the main
// thread while one of its per-frame callbacks runs (the capture pass, the
// window draws, the cursor, the flight loops) is counted; the host's
// callback probe marks where each call begins and ends.
// Allocations that the GL driver or the stand-in make inside the calls the
// plug-in makes to them are theirs, not the plug-in's, and are not counted;
// the plug-in's own code, the utility library, cairo and the C++ library are.
#include <atomic>
#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>

#include "Capture/panel_source.h"
#include "Capture/stock_device_source.h"
#include "Popups/popupSystem.h"
#include "alloc_count.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using vxr_test::LinkedSim;

std::atomic<long> callback_calls{0};
int64_t allocations = 0;

void probe(simhost::CallbackKind, bool entering)
{
    if (entering) {
        callback_calls++;
        vxr_test::alloc_callback_enter();
    } else {
        vxr_test::alloc_callback_leave();
    }
}

// Counts what the plug-in's callbacks allocate over the frames, after showing
// that the counting itself counts (both kinds of allocation inside a callback).
void count_frames(LinkedSim &sim, int frames)
{
    ASSERT_TRUE(vxr_test::alloc_count_works());
    callback_calls = 0;
    int64_t before = vxr_test::alloc_counts().plugin;
    simhost::set_callback_probe(probe);
    sim.host->run_frames(frames);
    simhost::set_callback_probe(nullptr);
    allocations = vxr_test::alloc_counts().plugin - before;
}

TEST(PopupAlloc, SteadyFramesAllocateNothingInThePluginsCallbacks)
{
    vxr_test::alloc_count_init(true);
    // Both displays full screen on the cockpit's units, opened by the start-up;
    // the pointer over the PFD's close corner, so its custom cursor is shown.
    LinkedSim sim(cockpit_monitors());
    VXR_SKIP_WITHOUT_DESKTOP(sim.host);
    sim.host->run_frames(60);
    ASSERT_TRUE(window_of(sim, pfd_title).visible);
    ASSERT_TRUE(window_of(sim, mfd_title).visible);
    sim.host->mouse_move(1920 + 10, 768 - 10);
    sim.host->run_frames(5);
    ASSERT_NE(pfd_regions[0].tex, 0u);
    ASSERT_NE(mfd_regions[0].tex, 0u);
    ASSERT_EQ(sim.host->cursor().status, xplm_CursorCustom);

    count_frames(sim, 100);
    EXPECT_EQ(allocations, 0);
    // 200 passes, 200 window draws, 100 cursor questions at the least (the
    // start-up flight loop has stopped).
    EXPECT_GE(callback_calls.load(), 500);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, display_to_area_y(64, 768)), pfd_markers.bottom_left);
}

// The monitor labels are painted once when shown and uploaded at their first
// draw; drawn after that, they allocate nothing either.
TEST(PopupAlloc, ShownMonitorLabelsAllocateNothingPerFrame)
{
    vxr_test::alloc_count_init(true);
    LinkedSim sim(cockpit_monitors());
    VXR_SKIP_WITHOUT_DESKTOP(sim.host);
    sim.host->run_frames(60);
    ASSERT_TRUE(sim.host->command("vxr/popup/identify"));
    sim.host->run_frames(2);
    simhost::WindowState label;
    ASSERT_TRUE(sim.host->window("VXR Identify Monitor 1", &label) && label.visible);

    count_frames(sim, 100);
    EXPECT_EQ(allocations, 0);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 512, 384), 0x0D1429);
}

TEST(PopupAlloc, SteadyFramesFromTheStockDevicesAllocateNothing)
{
    vxr_test::alloc_count_init(true);
    LinkedSim sim(cockpit_monitors(), false);
    sim.host->load_aircraft(true);
    // X-Plane binds the devices a few frames after the aircraft loads.
    sim.host->run_frames(3);
    sim.load();
    sim.host->run_frames(65);
    ASSERT_TRUE(window_of(sim, pfd_title).visible);
    ASSERT_NE(pfd_device_regions[0].tex, 0u);
    ASSERT_NE(mfd_device_regions[0].tex, 0u);

    count_frames(sim, 100);
    EXPECT_EQ(allocations, 0);
    // 200 device callbacks and 200 window draws at the least; no capture
    // pass, since neither display shows the panel.
    EXPECT_GE(callback_calls.load(), 400);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, 64), pfd_markers.bottom_left);
}

}  // namespace
