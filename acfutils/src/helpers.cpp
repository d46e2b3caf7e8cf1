/*
 * Allocation, path joining and the two file-system queries the plug-in needs
 * (paths in UTF-8, as everywhere in the library).
 */
#include <acfutils/helpers.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include <acfutils/path.h>

void *lacf_malloc(size_t n)
{
    // Never NULL for a request of 0 bytes, so callers can tell success apart.
    return malloc(n > 0 ? n : 1);
}

void lacf_free(void *p)
{
    free(p);
}

char *lacf_strdup(const char *s)
{
    size_t n = strlen(s) + 1;
    char *copy = static_cast<char *>(lacf_malloc(n));
    if (copy != nullptr)
        memcpy(copy, s, n);
    return copy;
}

static bool is_separator(char c)
{
#if defined(_WIN32)
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

/*
 * A component that already ends with a separator (a folder given as "dir/")
 * is not given a second one.
 */
char *mkpathname_v(const char *comp, va_list ap)
{
    va_list count_ap;
    va_copy(count_ap, ap);
    size_t total = strlen(comp) + 1;
    for (const char *c = va_arg(count_ap, const char *); c != nullptr; c = va_arg(count_ap, const char *))
        total += strlen(c) + 1;
    va_end(count_ap);

    char *path = static_cast<char *>(lacf_malloc(total));
    if (path == nullptr)
        return nullptr;
    size_t len = strlen(comp);
    memcpy(path, comp, len);
    for (const char *c = va_arg(ap, const char *); c != nullptr; c = va_arg(ap, const char *)) {
        if (len > 0 && !is_separator(path[len - 1]))
            path[len++] = DIRSEP;
        size_t n = strlen(c);
        memcpy(path + len, c, n);
        len += n;
    }
    path[len] = '\0';
    return path;
}

char *mkpathname(const char *comp, ...)
{
    va_list ap;
    va_start(ap, comp);
    char *path = mkpathname_v(comp, ap);
    va_end(ap);
    return path;
}

bool file_exists(const char *path, bool *isdir)
{
    return path_exists(path, isdir);
}

bool create_directory(const char *dirname)
{
    int error = path_mkdir(dirname);
    if (error != 0 && error != EEXIST)
        return false;
    bool isdir = false;
    return path_exists(dirname, &isdir) && isdir;
}
