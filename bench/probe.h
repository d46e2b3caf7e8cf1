/*
 * The benchmark's probe in the host. With counting on, every call into a
 * plug-in callback is watched for allocations (off outside measured frames:
 * each counted allocation costs a stack walk). With timing on, each drawing
 * callback (the capture pass) and each window draw is timed from glFinish at
 * its entry to glFinish at its return, so the GL work it causes is in it.
 */
#ifndef VXR_BENCH_PROBE_H
#define VXR_BENCH_PROBE_H

namespace bench {

void probe_install();
void probe_set_timing(bool on);
void probe_set_counting(bool on);

struct FrameTimes {
    double capture_us = 0;   // drawing callbacks: the capture pass
    double draw_us = 0;      // window draws
};
// The times summed since the last call, which starts the next sum.
FrameTimes probe_take_times();

}  // namespace bench

#endif
