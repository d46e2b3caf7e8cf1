/*
 * The capture's clock: whole microseconds of a monotonic clock, read once per
 * capture pass. Tests replace the source to step time without waiting.
 */
#ifndef VXR_CAPTURE_CLOCK_H
#define VXR_CAPTURE_CLOCK_H

#include <cstdint>

uint64_t capture_clock_us();
typedef uint64_t (*capture_clock_fn)();
void capture_clock_set_source(capture_clock_fn fn);   // nullptr restores the system clock

#endif
