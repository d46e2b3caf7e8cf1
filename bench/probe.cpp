/*
 * The benchmark's probe (see probe.h).
 */
#include "probe.h"

#include <chrono>

#include <GL/gl.h>
#include <simhost/host.h>

#include "alloc_count.h"

namespace bench {
namespace {

using vxr_test::alloc_callback_enter;
using vxr_test::alloc_callback_leave;

using Clock = std::chrono::steady_clock;

bool timing = false;
bool counting = false;
Clock::time_point entered;
FrameTimes sums;

void on_callback(simhost::CallbackKind kind, bool entering)
{
    bool timed = timing && (kind == simhost::CallbackKind::draw || kind == simhost::CallbackKind::window_draw);
    if (entering) {
        if (timed) {
            // Whatever the host asked of the GL before is done before the clock starts.
            glFinish();
            entered = Clock::now();
        }
        if (counting)
            alloc_callback_enter();
        return;
    }
    // The probe's own glFinish is not the plug-in's: its allocations are not counted.
    if (counting)
        alloc_callback_leave();
    if (timed) {
        glFinish();
        double us = std::chrono::duration<double, std::micro>(Clock::now() - entered).count();
        if (kind == simhost::CallbackKind::draw)
            sums.capture_us += us;
        else
            sums.draw_us += us;
    }
}

}  // namespace

void probe_install() { simhost::set_callback_probe(on_callback); }
void probe_set_timing(bool on) { timing = on; }
void probe_set_counting(bool on) { counting = on; }

FrameTimes probe_take_times()
{
    FrameTimes taken = sums;
    sums = FrameTimes();
    return taken;
}

}  // namespace bench
