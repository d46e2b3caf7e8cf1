/*
 * What the benchmark's parent process and its worker processes say to each
 * other over pipes: plain fixed-size records, one request and one reply at a
 * time.
 */
#ifndef VXR_BENCH_PROTOCOL_H
#define VXR_BENCH_PROTOCOL_H

#include <cstdint>

namespace bench {

// Who runs in a worker: the plug-in, or the reference plug-in doing the least
// the job needs, capturing by blit or the naive way (read back, upload again).
enum class Role : int32_t { plugin, reference, readback };
const char *role_name(Role role);

// The desktop and the displays: the main monitor (1920 x 1080) and the PFD's
// monitor to its right, the PFD full screen on it; the MFD popped out over
// the main monitor when mfd is set. rate: frames per simulated second.
// device: the user's aircraft has the stock G1000, and the displays come
// from its devices' screens instead of the panel's picture.
struct Scene {
    int32_t pfd_w = 1024;
    int32_t pfd_h = 768;
    int32_t mfd = 1;
    int32_t rate = 60;
    int32_t device = 0;
    // 4: the PFD, the copilot's PFD, the pilot's GNS 530 (640 x 480) and the
    // MFD full screen on four units, each from its device (device must be 1).
    int32_t screens = 2;
};

enum class Op : int32_t { setup, run, open, hosting, quit };

constexpr int max_block_frames = 256;

struct Request {
    Op op = Op::quit;
    Scene scene;
    int32_t frames = 0;
};

// Where the synthetic displays' corner markers are looked at after set-up,
// so that the parent can check that every worker shows the same picture.
constexpr int marker_samples = 8;

struct Reply {
    int32_t ok = 0;
    char error[512] = {};
    // run: per frame, microseconds in the capture pass and in the window
    // draws, each between glFinish at entry and at return.
    int32_t frames = 0;
    float capture_us[max_block_frames] = {};
    float draw_us[max_block_frames] = {};
    int32_t captures[2] = {};              // blits of the PFD's and the MFD's region
    int64_t allocations_plugin = 0;        // in the callbacks, made by the plug-in's side
    int64_t allocations_other = 0;         // in the callbacks, made by the GL driver or the host
    int32_t max_allocations_in_a_frame = 0;
    // setup: 0xRRGGBB at the markers (PFD monitor, then MFD window), and
    // the GL renderer the worker's host runs on.
    uint32_t markers[marker_samples] = {};
    char renderer[128] = {};
    // open: the show/hide command, the plug-in's callbacks in the first frame
    // that shows the window and in a steady frame before it was closed; and
    // one cairo paint of the overlay image.
    double command_us = 0;
    double first_frame_us = 0;
    double steady_frame_us = 0;
    double paint_us = 0;
    // run: what the host counted over the block (simhost::HostCosts);
    // queries and gl_errors only where costs_counted.
    int32_t costs_counted = 0;
    int64_t dispatches = 0;
    int64_t window_draws = 0;
    int64_t queries = 0;
    int64_t gl_errors = 0;
    // hosting (the plug-in's last request in a scene): frames with both
    // displays closed and the callbacks dispatched in them; the show/hide
    // command's handler times over toggles (both phases of one toggle
    // summed); XPluginEnable's time at the load.
    int32_t closed_frames = 0;
    int64_t closed_dispatches = 0;
    int64_t closed_window_draws = 0;
    int32_t toggles = 0;
    double toggle_median_ms = 0;
    double toggle_worst_ms = 0;
    double enable_ms = 0;
};

}  // namespace bench

#endif
