/*
 * File names from UTF-8 to the platform's form, and the few file calls the
 * library and the plug-in make on a path: the wide calls on Windows, where a
 * narrow call would read the name in the user's code page instead.
 */
#include <acfutils/path.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#if defined(_WIN32)

path_native_t path_native(const char *utf8)
{
    if (utf8 == nullptr || utf8[0] == '\0')
        return path_native_t();
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (n <= 1)
        return path_native_t();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &wide[0], n) != n)
        return path_native_t();
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

std::string path_utf8(const path_native_t &native)
{
    if (native.empty())
        return std::string();
    int len = static_cast<int>(native.size());
    int n = WideCharToMultiByte(CP_UTF8, 0, native.data(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, native.data(), len, &utf8[0], n, nullptr, nullptr);
    return utf8;
}

FILE *path_fopen(const char *utf8, const char *mode)
{
    std::wstring name = path_native(utf8);
    if (name.empty()) {
        errno = EINVAL;
        return nullptr;
    }
    // The mode is ASCII ("rb", "a"): widened letter by letter.
    std::wstring wmode(mode, mode + strlen(mode));
    return _wfopen(name.c_str(), wmode.c_str());
}

bool path_exists(const char *utf8, bool *isdir)
{
    std::wstring name = path_native(utf8);
    DWORD attributes = name.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(name.c_str());
    if (isdir != nullptr)
        *isdir = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return attributes != INVALID_FILE_ATTRIBUTES;
}

int path_mkdir(const char *utf8)
{
    std::wstring name = path_native(utf8);
    if (name.empty())
        return EINVAL;
    return _wmkdir(name.c_str()) == 0 ? 0 : errno;
}

int path_remove(const char *utf8)
{
    std::wstring name = path_native(utf8);
    if (name.empty())
        return EINVAL;
    return _wunlink(name.c_str()) == 0 ? 0 : errno;
}

int path_create_temporary(std::string *utf8_name, std::string *error)
{
    std::wstring name = path_native(utf8_name->c_str());
    if (name.empty()) {
        *error = "the name is not valid UTF-8";
        return -1;
    }
    if (_wmktemp_s(&name[0], name.size() + 1) != 0) {
        *error = strerror(errno);
        return -1;
    }
    int fd = _wopen(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        *error = strerror(errno);
        return -1;
    }
    *utf8_name = path_utf8(name);
    return fd;
}

// MOVEFILE_WRITE_THROUGH returns once the rename is on the disk.
std::string path_replace(const char *from, const char *to)
{
    std::wstring wfrom = path_native(from), wto = path_native(to);
    if (wfrom.empty() || wto.empty())
        return "the name is not valid UTF-8";
    if (MoveFileExW(wfrom.c_str(), wto.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return "";
    return "Windows error " + std::to_string(GetLastError());
}

// path_replace's MOVEFILE_WRITE_THROUGH already waited for the disk.
std::string path_sync_folder(const char *)
{
    return "";
}

#else

path_native_t path_native(const char *utf8)
{
    return utf8 == nullptr ? path_native_t() : path_native_t(utf8);
}

std::string path_utf8(const path_native_t &native)
{
    return native;
}

FILE *path_fopen(const char *utf8, const char *mode)
{
    return fopen(utf8, mode);
}

bool path_exists(const char *utf8, bool *isdir)
{
    struct stat st;
    bool exists = stat(utf8, &st) == 0;
    if (isdir != nullptr)
        *isdir = exists && S_ISDIR(st.st_mode);
    return exists;
}

int path_mkdir(const char *utf8)
{
    return mkdir(utf8, 0755) == 0 ? 0 : errno;
}

int path_remove(const char *utf8)
{
    return unlink(utf8) == 0 ? 0 : errno;
}

int path_create_temporary(std::string *utf8_name, std::string *error)
{
    int fd = mkstemp(&(*utf8_name)[0]);
    if (fd < 0)
        *error = strerror(errno);
    return fd;
}

std::string path_replace(const char *from, const char *to)
{
    // mkstemp makes the file private; keep the mode the old file had.
    struct stat st;
    mode_t mode = stat(to, &st) == 0 && S_ISREG(st.st_mode) ? st.st_mode & 07777 : 0644;
    if (chmod(from, mode) != 0 || rename(from, to) != 0)
        return strerror(errno);
    return "";
}

// A rename is on disk only once the folder holding the entry is synced.
std::string path_sync_folder(const char *utf8_file)
{
    const char *slash = strrchr(utf8_file, '/');
    std::string dir = slash == nullptr ? "." : slash == utf8_file ? "/" : std::string(utf8_file, slash);
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return strerror(errno);
    std::string error;
    if (fsync(fd) != 0 && errno != EINVAL)
        error = strerror(errno);
    close(fd);
    return error;
}

#endif
