/*
 * The cost meter (see costs.h): one per process, as one Host is. Handler
 * times keep the last samples per kind in a ring, for the median.
 */
#include "costs.h"

#include <algorithm>
#include <array>

namespace simhost {
namespace {

constexpr int kinds = callback_kind_count;
constexpr int samples_kept = 1024;

struct KindTimes {
    uint64_t count = 0;
    double worst_ms = 0;
    std::array<double, samples_kept> recent{};
};

struct Meter {
    FrameCosts current;          // the frame being run; calls between frames belong to the next
    FrameCosts last_frame;
    FrameCosts total;
    uint64_t frames = 0;
    std::array<KindTimes, kinds> times;
};

Meter meter;

// The plug-in's code is running on this thread: the depth of calls into it.
thread_local int plugin_depth = 0;

bool drawing(CallbackKind kind)
{
    return kind == CallbackKind::draw || kind == CallbackKind::avionics || kind == CallbackKind::window_draw;
}

}  // namespace

CostScope::CostScope(CallbackKind kind) : kind_(kind)
{
    if (kind == CallbackKind::draw || kind == CallbackKind::avionics)
        meter.current.dispatches++;
    else if (kind == CallbackKind::window_draw)
        meter.current.window_draws++;
    plugin_depth++;
    if (!drawing(kind))
        start_ = std::chrono::steady_clock::now();
}

CostScope::~CostScope()
{
    plugin_depth--;
    if (drawing(kind_))
        return;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    KindTimes &t = meter.times[static_cast<size_t>(kind_)];
    t.recent[t.count % samples_kept] = ms;
    t.count++;
    t.worst_ms = std::max(t.worst_ms, ms);
}

void count_gl_query()
{
    if (plugin_depth > 0)
        meter.current.queries++;
}

void count_gl_error_call()
{
    if (plugin_depth > 0)
        meter.current.gl_errors++;
}

void end_frame_costs()
{
    meter.last_frame = meter.current;
    meter.total.dispatches += meter.current.dispatches;
    meter.total.window_draws += meter.current.window_draws;
    meter.total.queries += meter.current.queries;
    meter.total.gl_errors += meter.current.gl_errors;
    meter.frames++;
    meter.current = FrameCosts();
}

void reset_costs()
{
    meter.current = meter.last_frame = meter.total = FrameCosts();
    meter.frames = 0;
    meter.times = {};
}

HostCosts read_costs()
{
    HostCosts costs;
    costs.frames = meter.frames;
    costs.last_frame = meter.last_frame;
    costs.total = meter.total;
    costs.queries_counted = gl_queries_counted();
    for (int k = 0; k < kinds; k++) {
        const KindTimes &t = meter.times[static_cast<size_t>(k)];
        HandlerTimes &out = costs.handlers[k];
        out.count = t.count;
        out.worst_ms = t.worst_ms;
        if (t.count == 0)
            continue;
        std::array<double, samples_kept> sorted = t.recent;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(t.count, samples_kept));
        std::sort(sorted.begin(), sorted.begin() + static_cast<long>(n));
        out.median_ms = n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    return costs;
}

}  // namespace simhost
