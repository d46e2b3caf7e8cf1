/*
 * XPLMProcessing: flight loops, legacy and created, and the simulator's clock.
 */
#include <XPLMProcessing.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim.h"

using simhost::FlightLoop;
using simhost::Sim;

XPLM_API float XPLMGetElapsedTime(void)
{
    Sim *sim = Sim::current();
    return sim ? static_cast<float>(sim->time) : 0.0f;
}

XPLM_API int XPLMGetCycleNumber(void)
{
    Sim *sim = Sim::current();
    return sim ? static_cast<int>(sim->frame) : 0;
}

XPLM_API void XPLMRegisterFlightLoopCallback(XPLMFlightLoop_f inFlightLoop, float inInterval, void *inRefcon)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inFlightLoop == nullptr)
        return;
    FlightLoop *loop = sim->flight_loops.add(inFlightLoop, inRefcon, xplm_FlightLoop_Phase_BeforeFlightModel, true, sim->time);
    simhost::FlightLoops::schedule(loop, inInterval, true, sim->time, sim->frame);
}

XPLM_API void XPLMUnregisterFlightLoopCallback(XPLMFlightLoop_f inFlightLoop, void *inRefcon)
{
    Sim *sim = Sim::current();
    if (sim == nullptr)
        return;
    if (FlightLoop *loop = sim->flight_loops.find_legacy(inFlightLoop, inRefcon))
        sim->flight_loops.remove(loop);
}

XPLM_API void XPLMSetFlightLoopCallbackInterval(XPLMFlightLoop_f inFlightLoop, float inInterval, int inRelativeToNow, void *inRefcon)
{
    Sim *sim = Sim::current();
    if (sim == nullptr)
        return;
    FlightLoop *loop = sim->flight_loops.find_legacy(inFlightLoop, inRefcon);
    if (loop != nullptr && loop == sim->flight_loops.running()) {
        // The SDK: "Do NOT call it from your callback; use the return value
        // of the callback to change your callback interval from inside your
        // callback."
        const std::string line = "the plug-in's flight loop called XPLMSetFlightLoopCallbackInterval on itself "
                                 "from inside itself (the SDK: use its return value)";
        sim->host_log(line);
        fprintf(stderr, "simhost: %s: the run ends here\n", line.c_str());
        fflush(stderr);
        std::abort();
    }
    if (loop != nullptr)
        simhost::FlightLoops::schedule(loop, inInterval, inRelativeToNow != 0, sim->time, sim->frame);
}

XPLM_API XPLMFlightLoopID XPLMCreateFlightLoop(XPLMCreateFlightLoop_t *inParams)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inParams == nullptr || inParams->structSize != static_cast<int>(sizeof(XPLMCreateFlightLoop_t)) ||
        inParams->callbackFunc == nullptr)
        return nullptr;
    return sim->flight_loops.add(inParams->callbackFunc, inParams->refcon, inParams->phase, false, sim->time);
}

XPLM_API void XPLMDestroyFlightLoop(XPLMFlightLoopID inFlightLoopID)
{
    Sim *sim = Sim::current();
    if (sim == nullptr)
        return;
    if (FlightLoop *loop = sim->flight_loops.find(inFlightLoopID))
        sim->flight_loops.remove(loop);
}

XPLM_API void XPLMScheduleFlightLoop(XPLMFlightLoopID inFlightLoopID, float inInterval, int inRelativeToNow)
{
    Sim *sim = Sim::current();
    if (sim == nullptr)
        return;
    if (FlightLoop *loop = sim->flight_loops.find(inFlightLoopID))
        simhost::FlightLoops::schedule(loop, inInterval, inRelativeToNow != 0, sim->time, sim->frame);
}
