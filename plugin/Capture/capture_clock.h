/*
 * The capture's clock: whole microseconds of the simulator's elapsed time
 * (a wall clock in X-Plane), read once per copy. Tests replace the source to
 * step time without waiting.
 */
#ifndef VXR_CAPTURE_CLOCK_H
#define VXR_CAPTURE_CLOCK_H

#include <cstdint>

uint64_t capture_clock_us();
typedef uint64_t (*capture_clock_fn)();
void capture_clock_set_source(capture_clock_fn fn);   // nullptr restores the simulator's clock

#endif
