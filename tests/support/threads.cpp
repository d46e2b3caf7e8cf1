/*
 * Thread counts for tests (see threads.h).
 */
#include "threads.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vxr_test {

namespace {

const auto settle_time = std::chrono::seconds(5);

bool listed(long tid)
{
    struct stat st;
    return stat(("/proc/self/task/" + std::to_string(tid)).c_str(), &st) == 0;
}

}  // namespace

void start_and_reap_one_thread()
{
    std::atomic<long> tid{0};
    std::thread([&tid] { tid = syscall(SYS_gettid); }).join();
    settled_count([&tid] { return listed(tid) ? 1 : 0; }, 0);
}

int settled_count(const std::function<int()> &count, int at_most)
{
    const auto deadline = std::chrono::steady_clock::now() + settle_time;
    int n = count();
    while (n > at_most && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
        n = count();
    }
    return n;
}

}  // namespace vxr_test
