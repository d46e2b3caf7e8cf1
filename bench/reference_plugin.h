/*
 * The reference: a minimal plug-in doing the least the popups' job needs in
 * the same host and scene. It shows the same two windows (the PFD full screen
 * on its monitor, the MFD popped out), copies each display's 1024 x 768 block
 * of the lit panel pass into a texture it already has, at most 20 times a
 * second, and per frame draws one textured quad per window and one blended
 * overlay quad over it. Its capture is a framebuffer blit, or, for
 * comparison, the naive way: the pixels read back to memory and uploaded
 * again. With a stock-G1000 aircraft it blits each device's whole screen in
 * the device's after-draw callback instead.
 */
#ifndef VXR_BENCH_REFERENCE_PLUGIN_H
#define VXR_BENCH_REFERENCE_PLUGIN_H

#include <cstdint>
#include <string>

#include <simhost/host.h>

#include "protocol.h"

namespace bench {

enum class CaptureWay { blit, readback };

struct ReferenceSetup {
    Scene scene;
    CaptureWay way = CaptureWay::blit;
    std::string overlay_png;          // the popups' own nobezel.png
    uint64_t (*clock_us)() = nullptr; // the capture clock
};

// Takes effect at the next enable.
void reference_configure(const ReferenceSetup &setup);
simhost::PluginEntryPoints reference_plugin();
// Copies made so far of the PFD's (0) or the MFD's (1) display.
int reference_captures(int display);
// True once the overlay image is on the GL (at the first window draw).
bool reference_ready();

}  // namespace bench

#endif
