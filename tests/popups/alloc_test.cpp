// Per frame the plug-in allocates nothing: every allocation made on the main
// thread while one of its per-frame callbacks runs (the capture pass, the
// window draws, the cursor, the start-up flight loop) is counted; the host's
// callback probe marks where each call begins and ends.
// Allocations that the GL driver or the stand-in make inside the calls the
// plug-in makes to them are theirs, not the plug-in's, and are not counted;
// the plug-in's own code, the utility library, cairo and the C++ library are.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>

#include <dlfcn.h>
#include <execinfo.h>
#include <gtest/gtest.h>

#include "Popups/popupSystem.h"
#include "popup_test_util.h"

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t n, size_t size);
void *__libc_realloc(void *p, size_t size);
void __libc_free(void *p);
}

namespace {

std::atomic<bool> armed{false};
std::atomic<int> callback_depth{0};
std::atomic<long> allocations{0};
std::atomic<long> callback_calls{0};
std::thread::id main_thread;
void *program_base = nullptr;

bool is_driver_or_host(const char *object)
{
    static const char *const names[] = {"_dri.so", "libGL", "libEGL", "libgallium", "libglapi", "libLLVM",
                                        "simhost_xplm"};
    for (const char *name : names) {
        if (strstr(object, name) != nullptr)
            return true;
    }
    return false;
}

// Walks up from the allocation to the first frame in this program (the
// plug-in's code or the test's); a driver or stand-in frame on the way means
// the allocation was theirs. Frames 0 to 2 are this function, count_allocation
// and the allocation function itself.
__attribute__((noinline)) bool made_by_plugin_side()
{
    void *frames[48];
    int n = backtrace(frames, 48);
    for (int i = 3; i < n; i++) {
        Dl_info info;
        if (dladdr(frames[i], &info) == 0 || info.dli_fname == nullptr)
            continue;
        if (info.dli_fbase == program_base)
            return true;
        if (is_driver_or_host(info.dli_fname))
            return false;
    }
    return true;
}

__attribute__((noinline)) void count_allocation()
{
    static bool walking = false;
    if (walking || !armed.load(std::memory_order_relaxed) || callback_depth.load(std::memory_order_relaxed) == 0 ||
        std::this_thread::get_id() != main_thread)
        return;
    // Walking the stack must not count itself, should it allocate.
    walking = true;
    if (made_by_plugin_side())
        allocations.fetch_add(1, std::memory_order_relaxed);
    walking = false;
}

void probe(simhost::CallbackKind, bool entering)
{
    if (entering) {
        callback_calls++;
        callback_depth++;
    } else {
        callback_depth--;
    }
}

}  // namespace

extern "C" {

void *malloc(size_t size)
{
    count_allocation();
    return __libc_malloc(size);
}

void *calloc(size_t n, size_t size)
{
    count_allocation();
    return __libc_calloc(n, size);
}

void *realloc(void *p, size_t size)
{
    count_allocation();
    return __libc_realloc(p, size);
}

}  // extern "C"

void *operator new(size_t size)
{
    count_allocation();
    void *p = __libc_malloc(size ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void *operator new[](size_t size)
{
    count_allocation();
    void *p = __libc_malloc(size ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void operator delete(void *p) noexcept
{
    __libc_free(p);
}

void operator delete[](void *p) noexcept
{
    __libc_free(p);
}

void operator delete(void *p, size_t) noexcept
{
    __libc_free(p);
}

void operator delete[](void *p, size_t) noexcept
{
    __libc_free(p);
}

namespace {

using namespace popup_test;
using vxr_test::LinkedSim;

// Points the counter at this program and shows that it counts: both kinds
// of allocation inside a callback.
void set_up_counting()
{
    main_thread = std::this_thread::get_id();
    Dl_info self;
    ASSERT_NE(dladdr(reinterpret_cast<void *>(&count_allocation), &self), 0);
    program_base = self.dli_fbase;
    void *warm_up[4];
    backtrace(warm_up, 4);
    armed = true;
    callback_depth++;
    void *p = malloc(16);
    int *n = new int(5);
    callback_depth--;
    armed = false;
    ASSERT_EQ(allocations.load(), 2);
    free(p);
    delete n;
    allocations = 0;
    callback_calls = 0;
}

void count_frames(LinkedSim &sim, int frames)
{
    allocations = 0;
    callback_calls = 0;
    armed = true;
    simhost::set_callback_probe(probe);
    sim.host->run_frames(frames);
    simhost::set_callback_probe(nullptr);
    armed = false;
}

TEST(PopupAlloc, SteadyFramesAllocateNothingInThePluginsCallbacks)
{
    set_up_counting();
    // Both displays full screen on the cockpit's units, opened by the start-up;
    // the pointer over the PFD's close corner, so its custom cursor is shown.
    LinkedSim sim(cockpit_monitors());
    sim.host->run_frames(60);
    ASSERT_TRUE(window_of(sim, pfd_title).visible);
    ASSERT_TRUE(window_of(sim, mfd_title).visible);
    sim.host->mouse_move(1920 + 10, 768 - 10);
    sim.host->run_frames(5);
    ASSERT_NE(pfd_regions[0].tex, 0u);
    ASSERT_NE(mfd_regions[0].tex, 0u);
    ASSERT_EQ(sim.host->cursor().status, xplm_CursorCustom);

    count_frames(sim, 100);
    EXPECT_EQ(allocations.load(), 0);
    // 100 flight loops, 200 passes, 200 window draws, 100 cursor questions at the least.
    EXPECT_GE(callback_calls.load(), 600);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, display_to_area_y(64, 768)), pfd_markers.bottom_left);
}

TEST(PopupAlloc, SteadyFramesFromTheStockDevicesAllocateNothing)
{
    set_up_counting();
    LinkedSim sim(cockpit_monitors(), false);
    sim.host->load_aircraft(true);
    sim.load();
    sim.host->run_frames(65);
    ASSERT_TRUE(window_of(sim, pfd_title).visible);
    ASSERT_NE(pfd_device_regions[0].tex, 0u);
    ASSERT_NE(mfd_device_regions[0].tex, 0u);

    count_frames(sim, 100);
    EXPECT_EQ(allocations.load(), 0);
    // 100 flight loops, 200 passes, 200 device callbacks, 200 window draws at the least.
    EXPECT_GE(callback_calls.load(), 700);
    EXPECT_PRED2(color_near, sim.host->monitor_pixel(1, 64, 64), pfd_markers.bottom_left);
}

}  // namespace
