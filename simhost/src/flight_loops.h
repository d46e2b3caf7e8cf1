/*
 * Flight-loop callbacks: the legacy registration by function and refcon and
 * the created-loop API share one scheduler. An interval or a callback's
 * result is seconds of simulated time when positive, a number of flight
 * loops when negative (-1: the next one), and deactivates the loop when 0.
 */
#ifndef SIMHOST_FLIGHT_LOOPS_H
#define SIMHOST_FLIGHT_LOOPS_H

#include <cstdint>

#include <XPLMProcessing.h>

#include "registrations.h"

namespace simhost {

struct FlightLoop {
    XPLMFlightLoop_f callback = nullptr;
    void *refcon = nullptr;
    XPLMFlightLoopPhaseType phase = xplm_FlightLoop_Phase_BeforeFlightModel;
    bool legacy = false;
    enum class Due { never, at_time, at_cycle } due = Due::never;
    double due_time = 0;
    uint64_t due_cycle = 0;
    double last_call_time = 0;   // or the time it was registered
    bool removed = false;
};

class FlightLoops {
public:
    FlightLoop *add(XPLMFlightLoop_f callback, void *refcon, XPLMFlightLoopPhaseType phase, bool legacy, double now);
    FlightLoop *find(XPLMFlightLoopID id) const;
    FlightLoop *find_legacy(XPLMFlightLoop_f callback, void *refcon) const;
    void remove(FlightLoop *loop);
    // relative_to_now false: a positive interval counts from the last call.
    static void schedule(FlightLoop *loop, float interval, bool relative_to_now, double now, uint64_t cycle);

    // Runs the loops due at this cycle, before-flight-model ones first.
    // Loops may be added or removed by the callbacks themselves.
    void dispatch(double now, double since_last_cycle, uint64_t cycle);
    int count() const { return loops_.count(); }
    // The loop whose callback runs now, or nullptr.
    const FlightLoop *running() const { return running_; }
    void clear() { loops_.clear(); }

private:
    Registrations<FlightLoop> loops_;
    FlightLoop *running_ = nullptr;
};

}  // namespace simhost

#endif
