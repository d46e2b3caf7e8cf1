/*
 * The capture's clock: whole microseconds of the simulator's elapsed time,
 * read once per copy. Every timing decision of the plug-in reads the
 * simulator's one clock, so that what it does never depends on how fast the
 * graphics driver is. Tests replace the source to step time directly.
 */
#include "capture_clock.h"

#include <XPLMProcessing.h>

static capture_clock_fn clock_source = nullptr;

void capture_clock_set_source(capture_clock_fn fn)
{
    clock_source = fn;
}

uint64_t capture_clock_us()
{
    if (clock_source != nullptr)
        return clock_source();
    // Rounded: the clock is a float, and 0.05 s must not read 49999 us.
    const double seconds = XPLMGetElapsedTime();
    return seconds > 0 ? static_cast<uint64_t>(seconds * 1000000.0 + 0.5) : 0;
}
