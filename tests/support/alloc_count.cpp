/*
 * Allocation counting (see alloc_count.h): the C library's allocation
 * functions, replaced by ones that count and then call the library's own.
 */
#include "alloc_count.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <dlfcn.h>
#include <execinfo.h>

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t n, size_t size);
void *__libc_realloc(void *p, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
}

namespace vxr_test {
namespace {

std::atomic<int> callback_depth{0};
bool main_thread_only = false;
std::thread::id main_thread;
std::atomic<int64_t> plugin_allocations{0};
std::atomic<int64_t> other_allocations{0};
void *program_base = nullptr;
thread_local bool walking = false;

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

// Walks up from the allocation to the first frame that is either in this
// program (the plug-in's code, linked in) or in the driver or the host.
// Frames 0 to 2 are this function, count_allocation and the replaced
// allocation function.
__attribute__((noinline)) bool made_by_plugin_side()
{
    void *frames[64];
    int n = backtrace(frames, 64);
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
    if (callback_depth.load(std::memory_order_relaxed) == 0 || walking ||
        (main_thread_only && std::this_thread::get_id() != main_thread))
        return;
    // The stack walk must not count itself, should it allocate.
    walking = true;
    if (made_by_plugin_side())
        plugin_allocations.fetch_add(1, std::memory_order_relaxed);
    else
        other_allocations.fetch_add(1, std::memory_order_relaxed);
    walking = false;
}

}  // namespace

void alloc_count_init(bool main_thread_only_)
{
    main_thread_only = main_thread_only_;
    main_thread = std::this_thread::get_id();
    Dl_info self;
    if (dladdr(reinterpret_cast<void *>(&count_allocation), &self) != 0)
        program_base = self.dli_fbase;
    void *warm_up[4];
    backtrace(warm_up, 4);
}

void alloc_callback_enter() { callback_depth.fetch_add(1, std::memory_order_relaxed); }
void alloc_callback_leave() { callback_depth.fetch_sub(1, std::memory_order_relaxed); }

bool alloc_count_works()
{
    AllocCounts before = alloc_counts();
    alloc_callback_enter();
    void *volatile p = malloc(24);
    int *volatile n = new int(5);
    alloc_callback_leave();
    AllocCounts after = alloc_counts();
    free(p);
    delete n;
    return after.plugin - before.plugin == 2 && after.other == before.other;
}

AllocCounts alloc_counts()
{
    AllocCounts counts;
    counts.plugin = plugin_allocations.load();
    counts.other = other_allocations.load();
    return counts;
}

}  // namespace vxr_test

extern "C" {

void *malloc(size_t size)
{
    vxr_test::count_allocation();
    return __libc_malloc(size);
}

void *calloc(size_t n, size_t size)
{
    vxr_test::count_allocation();
    return __libc_calloc(n, size);
}

void *realloc(void *p, size_t size)
{
    vxr_test::count_allocation();
    return __libc_realloc(p, size);
}

void *memalign(size_t alignment, size_t size)
{
    vxr_test::count_allocation();
    return __libc_memalign(alignment, size);
}

void *aligned_alloc(size_t alignment, size_t size)
{
    vxr_test::count_allocation();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void **out, size_t alignment, size_t size)
{
    if (alignment < sizeof(void *) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    vxr_test::count_allocation();
    void *p = __libc_memalign(alignment, size);
    if (p == nullptr)
        return ENOMEM;
    *out = p;
    return 0;
}

}  // extern "C"
