/*
 * The benchmarks' figures, and their presentation: a Markdown report, a
 * chart drawn with cairo, and the one line that a script can read.
 */
#ifndef VXR_BENCH_RESULTS_H
#define VXR_BENCH_RESULTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "callgrind.h"
#include "stats.h"

namespace bench {

// Per frame, microseconds in a role's callbacks, over blocks (one value a block).
struct RoleFigures {
    Summary per_frame_us;   // capture pass and window draws
    Summary capture_us;
    Summary draw_us;
};

// What the host counted per frame for a role (simhost::HostCosts).
struct CostFigures {
    bool counted = false;        // GL queries seen by the host
    int64_t frames = 0;
    int64_t dispatches = 0, window_draws = 0, queries = 0, gl_errors = 0;
    double per_frame(int64_t count) const { return frames == 0 ? 0 : static_cast<double>(count) / frames; }
};

// The plug-in's cost to its host beyond the steady frame: with both
// displays closed, its show/hide command's handler, its XPluginEnable.
struct HostingResult {
    bool ran = false;
    CostFigures closed;          // both displays closed
    int toggles = 0;
    double toggle_median_ms = 0, toggle_worst_ms = 0;
    double enable_ms = 0;
};

struct SteadyResult {
    int rate = 0;
    RoleFigures plugin, reference, readback;
    bool has_readback = false;
    Summary ratio;            // plug-in ÷ reference, one value per round
    Summary readback_ratio;   // read-back ÷ reference
    double captures_per_second[2] = {};   // the plug-in's copies of the PFD and the MFD
    double reference_captures_per_second[2] = {};
    int frames = 0;           // the plug-in's measured frames
    CostFigures plugin_costs, reference_costs;
};

struct ScaleResult {
    int w = 0, h = 0;
    RoleFigures plugin, reference;
    Summary ratio;
};

struct OpeningResult {
    Summary command_us;        // the show/hide command
    Summary first_frame_us;    // the plug-in's callbacks in the first frame that shows the window
    Summary steady_frame_us;   // the same in a steady frame
    Summary latency_us;        // command and first frame
    Summary paint_us;          // one cairo paint of the overlay image
    Summary latency_ratio;     // latency ÷ paint
    Summary command_ratio;     // command ÷ paint
};

struct AllocationResult {
    int64_t frames = 0;
    int64_t plugin = 0;          // the plug-in's side, in all its callbacks
    int64_t other = 0;           // the GL driver and the host, inside the plug-in's calls
    int max_in_a_frame = 0;
};

struct InstructionResult {
    bool ran = false;
    std::string error;
    int frames = 0;
    InstructionCost runs[2];
};

// The steady state again on Mesa's Zink (OpenGL on Vulkan, here over
// lavapipe), the way X-Plane 12's Zink plug-in bridge gives plug-ins their OpenGL.
struct ZinkResult {
    bool ran = false;
    std::string renderer;
    std::vector<SteadyResult> steady;
    AllocationResult allocations;
    HostingResult hosting;
};

struct Results {
    int block_frames = 0;
    int scale_block_frames = 0;
    int rounds = 0;
    std::string renderer;     // the GL renderer of every pass but Zink's
    std::vector<SteadyResult> steady;
    std::vector<SteadyResult> device;   // the stock G1000's screens as the source
    std::vector<SteadyResult> four_screens;   // PFD, copilot's PFD, GNS 530 and MFD, each from its device
    std::vector<ScaleResult> scale;
    OpeningResult opening;
    AllocationResult allocations;
    InstructionResult instructions;
    HostingResult hosting;
    ZinkResult zink;
};

std::string results_markdown(const Results &r);
bool write_chart(const Results &r, const std::string &png, std::string *error);
// "plug-in/reference: R.RR at worst, allocations per frame: N, captures per second per region: C at most"
// then "; stock device: R.RR" when that scene ran, and, when the Zink pass
// ran, "; on Zink: R.RR at worst, allocations per frame: N"; then the
// hosting costs: "; GL queries per frame: Q panel, Q device; drawing
// callbacks per frame, displays closed: D; show/hide handler: M ms median,
// W ms worst; XPluginEnable: E ms"
std::string results_line(const Results &r);

}  // namespace bench

#endif
