/*
 * The flight-loop scheduler (see flight_loops.h).
 */
#include "flight_loops.h"

#include <algorithm>
#include <cmath>

#include "callback_probe.h"
#include "plugin_call.h"

namespace simhost {
namespace {

// Due times are sums of float intervals and frame times; a loop due "now"
// must not slip a frame on a rounding error.
constexpr double time_slack = 1e-6;

}  // namespace

FlightLoop *FlightLoops::add(XPLMFlightLoop_f callback, void *refcon, XPLMFlightLoopPhaseType phase, bool legacy, double now)
{
    auto loop = std::make_unique<FlightLoop>();
    loop->callback = callback;
    loop->refcon = refcon;
    loop->phase = phase;
    loop->legacy = legacy;
    loop->last_call_time = now;
    return loops_.add(std::move(loop));
}

FlightLoop *FlightLoops::find(XPLMFlightLoopID id) const
{
    return loops_.find([id](const FlightLoop &loop) { return &loop == id; });
}

FlightLoop *FlightLoops::find_legacy(XPLMFlightLoop_f callback, void *refcon) const
{
    return loops_.find([&](const FlightLoop &loop) {
        return loop.legacy && loop.callback == callback && loop.refcon == refcon;
    });
}

void FlightLoops::remove(FlightLoop *loop)
{
    loops_.remove(loop);
}

void FlightLoops::schedule(FlightLoop *loop, float interval, bool relative_to_now, double now, uint64_t cycle)
{
    if (interval > 0) {
        loop->due = FlightLoop::Due::at_time;
        loop->due_time = (relative_to_now ? now : loop->last_call_time) + interval;
    } else if (interval < 0) {
        loop->due = FlightLoop::Due::at_cycle;
        loop->due_cycle = cycle + static_cast<uint64_t>(std::max(1L, std::lround(-interval)));
    } else {
        loop->due = FlightLoop::Due::never;
    }
}

void FlightLoops::dispatch(double now, double since_last_cycle, uint64_t cycle)
{
    for (XPLMFlightLoopPhaseType phase : {xplm_FlightLoop_Phase_BeforeFlightModel, xplm_FlightLoop_Phase_AfterFlightModel}) {
        // Loops added by a callback wait for the next walk.
        loops_.walk([&](FlightLoop &loop) {
            if (loop.phase != phase || loop.callback == nullptr)
                return;
            bool due = (loop.due == FlightLoop::Due::at_time && now + time_slack >= loop.due_time) ||
                       (loop.due == FlightLoop::Due::at_cycle && cycle >= loop.due_cycle);
            if (!due)
                return;
            float since_last_call = static_cast<float>(now - loop.last_call_time);
            loop.last_call_time = now;
            loop.due = FlightLoop::Due::never;
            float next;
            {
                ProbeScope probe(CallbackKind::flight_loop);
                PluginCall call(CallbackKind::flight_loop);
                running_ = &loop;
                next = loop.callback(since_last_call, static_cast<float>(since_last_cycle), static_cast<int>(cycle),
                                     loop.refcon);
                running_ = nullptr;
            }
            // The callback may have removed itself; a reschedule it made from
            // inside is overridden by its result, as the simulator does.
            if (!loop.removed)
                schedule(&loop, next, true, now, cycle);
        });
    }
}

}  // namespace simhost
