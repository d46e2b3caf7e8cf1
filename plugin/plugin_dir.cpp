/*
 * Derivation of the plug-in's folder from its library path, bounded by both
 * buffers: nothing is read or written outside them, whatever the path.
 */
#include "plugin_dir.h"

#include <cstring>

static bool is_separator(char c)
{
    return c == '/' || c == '\\';
}

// Index of the last separator before position end, or -1.
static long last_separator_before(const char *path, long end)
{
    for (long i = end - 1; i >= 0; i--) {
        if (is_separator(path[i]))
            return i;
    }
    return -1;
}

plugin_dir_result derive_plugin_dir(const char *file_path, size_t path_size, char *dir, size_t dir_size)
{
    if (dir_size > 0)
        dir[0] = '\0';

    const void *terminator = memchr(file_path, '\0', path_size);
    if (terminator == nullptr)
        return plugin_dir_result::too_long;
    long len = static_cast<const char *>(terminator) - file_path;

    // <folder><sep><platform folder><sep><library file>, both last parts non-empty.
    long file_sep = last_separator_before(file_path, len);
    if (file_sep < 0 || file_sep + 1 >= len)
        return plugin_dir_result::too_few_components;
    long platform_sep = last_separator_before(file_path, file_sep);
    if (platform_sep < 0 || platform_sep + 1 >= file_sep)
        return plugin_dir_result::too_few_components;

    size_t dir_len = static_cast<size_t>(platform_sep) + 1;
    if (dir_len + 1 > dir_size)
        return plugin_dir_result::too_long;
    memcpy(dir, file_path, dir_len);
    dir[dir_len] = '\0';
    return plugin_dir_result::ok;
}
