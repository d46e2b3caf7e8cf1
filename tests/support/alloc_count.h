/*
 * Allocation counting for a program that links this file: it replaces the C
 * library's allocation functions (operator new reaches them through malloc).
 * Only allocations made while a plug-in callback runs are counted, and each
 * is put down to the plug-in's side or to the GL driver and the host by the
 * call stack that made it.
 */
#ifndef VXR_TEST_ALLOC_COUNT_H
#define VXR_TEST_ALLOC_COUNT_H

#include <cstdint>

namespace vxr_test {

struct AllocCounts {
    int64_t plugin = 0;   // the plug-in's code, the utility library, cairo, the C++ library
    int64_t other = 0;    // the GL driver or the host, inside the calls the plug-in makes to them
};

// Call once, early, on the main thread (the first stack walk loads the
// unwinder). With main_thread_only, allocations on other threads (a
// renderer's worker painting) are not counted.
void alloc_count_init(bool main_thread_only = false);
void alloc_callback_enter();
void alloc_callback_leave();
AllocCounts alloc_counts();   // since the program started
// True when an allocation made inside a callback scope is counted, as the
// plug-in's side's: a count of 0 then means something.
bool alloc_count_works();

}  // namespace vxr_test

#endif
