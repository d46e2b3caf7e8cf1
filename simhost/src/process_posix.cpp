/*
 * Process facts on POSIX systems: absolute paths and the thread count, read
 * from /proc/self/task without the threads the GL driver started.
 */
#include "platform.h"

#include "driver_threads.h"

#include <dirent.h>

#include <cstdlib>
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

int process_thread_count()
{
    DIR *dir = opendir("/proc/self/task");
    if (dir == nullptr)
        return 0;
    int count = 0;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] != '.' && !started_by_gl_driver(strtol(entry->d_name, nullptr, 10)))
            count++;
    }
    closedir(dir);
    return count;
}

}  // namespace simhost
