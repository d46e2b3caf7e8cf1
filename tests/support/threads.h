/*
 * Thread counts for tests. pthread_join returns when the kernel clears the
 * thread's id, a moment before the kernel takes the thread out of
 * /proc/self/task: a count read right after a join may still include it.
 */
#ifndef VXR_TEST_THREADS_H
#define VXR_TEST_THREADS_H

#include <functional>

namespace vxr_test {

// Starts and joins one empty thread, so that what a runtime starts with the
// first thread (a sanitizer's background thread) is there, and returns once
// the kernel no longer lists it.
void start_and_reap_one_thread();

// The count once it is no more than `at_most`, or as it is after five
// seconds: a thread that was never joined, or never ends, keeps it above.
int settled_count(const std::function<int()> &count, int at_most);

}  // namespace vxr_test

#endif
