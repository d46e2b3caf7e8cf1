/*
 * The GL driver's threads (see driver_threads.h). This library comes before
 * libc in the process's symbol lookup, so every pthread_create of the
 * process, the driver's included, comes here first. A thread whose creation
 * passes through a module of Mesa or of the Vulkan loader is the driver's:
 * it records its kernel id before its creator goes on, and drops it as it ends.
 */
#include "driver_threads.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <pthread.h>
#include <semaphore.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <set>

namespace {

typedef int (*create_fn)(pthread_t *, const pthread_attr_t *, void *(*)(void *), void *);

std::mutex lock;
std::set<long> &driver_tids()
{
    static std::set<long> *tids = new std::set<long>;   // never destroyed: threads may end after exit starts
    return *tids;
}

// Under ThreadSanitizer a thread must start through its own pthread_create,
// which this one would bypass: there the driver's threads go by their names
// alone (see process_posix.cpp).
#ifndef __SANITIZE_THREAD__
bool driver_module(const char *path)
{
    if (path == nullptr)
        return false;
    const char *base = strrchr(path, '/');
    base = base != nullptr ? base + 1 : path;
    static const char *const names[] = {"libgallium", "_dri.so", "libEGL_mesa", "libGLX_mesa", "libglapi",
                                        "libvulkan", "libLLVM", "libzink"};
    for (const char *name : names) {
        if (strstr(base, name) != nullptr)
            return true;
    }
    return false;
}

// Whether a frame of the calling stack lies in a driver module.
bool called_from_driver()
{
    void *frames[48];
    const int n = backtrace(frames, 48);
    for (int i = 1; i < n; i++) {
        Dl_info info;
        if (dladdr(frames[i], &info) != 0 && driver_module(info.dli_fname))
            return true;
    }
    return false;
}

struct Start {
    void *(*routine)(void *);
    void *arg;
    sem_t recorded;
};

struct Forget {
    long tid;
    ~Forget()
    {
        std::lock_guard<std::mutex> guard(lock);
        driver_tids().erase(tid);
    }
};

void *driver_thread(void *p)
{
    Start *start = static_cast<Start *>(p);
    void *(*routine)(void *) = start->routine;
    void *arg = start->arg;
    static thread_local Forget forget{0};
    forget.tid = static_cast<long>(syscall(SYS_gettid));
    {
        std::lock_guard<std::mutex> guard(lock);
        driver_tids().insert(forget.tid);
    }
    sem_post(&start->recorded);
    return routine(arg);
}

create_fn real_create()
{
    static create_fn real = reinterpret_cast<create_fn>(dlsym(RTLD_NEXT, "pthread_create"));
    return real;
}

#endif

}  // namespace

#ifndef __SANITIZE_THREAD__
extern "C" __attribute__((visibility("default"))) int pthread_create(pthread_t *thread, const pthread_attr_t *attr,
                                                                      void *(*routine)(void *), void *arg)
{
    create_fn real = real_create();
    if (!called_from_driver())
        return real(thread, attr, routine, arg);
    Start start{routine, arg, {}};
    sem_init(&start.recorded, 0, 0);
    const int result = real(thread, attr, driver_thread, &start);
    if (result == 0) {
        while (sem_wait(&start.recorded) != 0) {
        }
    }
    sem_destroy(&start.recorded);
    return result;
}
#endif

namespace simhost {

bool started_by_gl_driver(long tid)
{
    std::lock_guard<std::mutex> guard(lock);
    return driver_tids().count(tid) != 0;
}

}  // namespace simhost
