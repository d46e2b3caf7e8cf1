/*
 * The capture's clock: whole microseconds of a monotonic clock, read once per
 * capture pass. Tests replace the source to step time without waiting.
 */
#include "capture_clock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

static capture_clock_fn clock_source = nullptr;

void capture_clock_set_source(capture_clock_fn fn)
{
    clock_source = fn;
}

uint64_t capture_clock_us()
{
    if (clock_source != nullptr)
        return clock_source();
#ifdef _WIN32
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint64_t>(counter.QuadPart) * 1000000ull / static_cast<uint64_t>(frequency.QuadPart);
#else
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000ull + static_cast<uint64_t>(ts.tv_nsec) / 1000ull;
#endif
}
