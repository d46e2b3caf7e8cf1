/*
 * Process facts on POSIX systems: absolute paths and the thread count, read
 * from /proc/self/task.
 */
#include "platform.h"

#include <dirent.h>

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

int process_thread_count()
{
    DIR *dir = opendir("/proc/self/task");
    if (dir == nullptr)
        return 0;
    int count = 0;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            count++;
    }
    closedir(dir);
    return count;
}

}  // namespace simhost
