/*
 * Process facts on POSIX systems: absolute paths and the thread count, read
 * from /proc/self/task without the threads the GL driver started.
 */
#include "platform.h"

#include "driver_threads.h"

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <filesystem>

namespace simhost {

std::string native_absolute_path(const std::string &path)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    return absolute.lexically_normal().string();
}

std::string xplane_native_path(const std::string &path) { return path; }
std::string xplane_legacy_path(const std::string &path) { return path; }

namespace {

// Mesa names its drivers' work queues "process:queue" once they run. Where a
// sanitizer's own pthread_create comes before ours in the lookup, the driver's
// threads are not seen starting, and their names are all there is to go by.
bool named_as_driver_queue(const char *tid)
{
    std::string path = std::string("/proc/self/task/") + tid + "/comm";
    FILE *file = fopen(path.c_str(), "r");
    if (file == nullptr)
        return false;
    char name[64] = {};
    bool queue = fgets(name, sizeof name, file) != nullptr && strchr(name, ':') != nullptr;
    fclose(file);
    return queue;
}

}  // namespace

int process_thread_count()
{
    DIR *dir = opendir("/proc/self/task");
    if (dir == nullptr)
        return 0;
    int count = 0;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] != '.' && !started_by_gl_driver(strtol(entry->d_name, nullptr, 10)) &&
            !named_as_driver_queue(entry->d_name))
            count++;
    }
    closedir(dir);
    return count;
}

}  // namespace simhost
