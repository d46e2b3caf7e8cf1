/*
 * Configuration files: reading with a size limit, and atomic writing (a
 * temporary file beside the target, written and synced, then renamed over
 * it), so that a failed write never leaves a half-written file behind; a
 * file can be written whole, or updated for some keys as it is at that moment.
 */
#include <acfutils/conf.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include <acfutils/helpers.h>
#include <acfutils/path.h>
#include <acfutils/log.h>
#include "conf_parse.h"

namespace {

// A settings file is a few hundred bytes; anything this big is not one.
constexpr size_t max_conf_file = 1024 * 1024;

// The steps of an atomic write that work on the open temporary file (the
// calls on its name are in path.cpp). Each returns "" or what went wrong.
#if defined(_WIN32)

std::string write_fd(int fd, const char *text, size_t len)
{
    while (len > 0) {
        int n = _write(fd, text, len > 65536 ? 65536 : static_cast<unsigned>(len));
        if (n <= 0)
            return strerror(errno);
        text += n;
        len -= static_cast<size_t>(n);
    }
    return _commit(fd) == 0 ? "" : strerror(errno);
}

std::string close_fd(int fd)
{
    return _close(fd) == 0 ? "" : strerror(errno);
}

#else

std::string write_fd(int fd, const char *text, size_t len)
{
    while (len > 0) {
        ssize_t n = write(fd, text, len);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return strerror(errno);
        text += n;
        len -= static_cast<size_t>(n);
    }
    return fsync(fd) == 0 ? "" : strerror(errno);
}

std::string close_fd(int fd)
{
    return close(fd) == 0 ? "" : strerror(errno);
}

#endif

// A writer killed between making its temporary and renaming it leaves the
// temporary behind. Each write first removes such leftovers of the same
// file (its name, a dot and six letters or digits), so at most the one of
// the last interrupted write is ever there. Two processes writing the same
// file at once may thus fail each other's write; the file stays whole.
void remove_stale_temporaries(const char *filename)
{
    namespace fs = std::filesystem;
    const path_native_t native = path_native(filename);
    if (native.empty())
        return;
    std::error_code ec;
    const fs::path target(native);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // Compared in the platform's form: no name is converted back.
    const path_native_t prefix = target.filename().native() + path_native_t(1, '.');
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const path_native_t name = it->path().filename().native();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        bool suffix_ok = std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
            [](auto c) { return static_cast<unsigned>(c) < 128 && isalnum(static_cast<int>(c)) != 0; });
        std::error_code type_ec;
        if (suffix_ok && fs::is_regular_file(it->symlink_status(type_ec)))
            fs::remove(it->path(), type_ec);
    }
}

bool write_atomically(const char *filename, const char *text, size_t len)
{
    remove_stale_temporaries(filename);
    std::string tmp = std::string(filename) + ".XXXXXX";
    std::string error;
    int fd = path_create_temporary(&tmp, &error);
    if (fd < 0) {
        logMsg("Cannot write %s: no temporary file can be made beside it: %s", filename, error.c_str());
        return false;
    }
    const char *step = "write";
    error = write_fd(fd, text, len);
    std::string close_error = close_fd(fd);
    if (error.empty() && !close_error.empty())
        error = close_error;
    if (error.empty()) {
        step = "replace";
        error = path_replace(tmp.c_str(), filename);
    }
    if (!error.empty()) {
        path_remove(tmp.c_str());
        logMsg("Cannot write %s (%s of %s failed: %s); the file is left as it was",
            filename, step, tmp.c_str(), error.c_str());
        return false;
    }
    error = path_sync_folder(filename);
    if (!error.empty()) {
        logMsg("Wrote %s, but its folder could not be synced: %s", filename, error.c_str());
        return false;
    }
    return true;
}

// The whole file, or false with why not; *missing tells a file that is not
// there from one that cannot be read.
bool read_text(const char *filename, std::vector<char> *text, std::string *error, bool *missing)
{
    *missing = false;
    FILE *f = path_fopen(filename, "rb");
    if (f == nullptr) {
        *missing = errno == ENOENT;
        *error = strerror(errno);
        return false;
    }
    struct stat st;
    if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        fclose(f);
        *error = "it is a folder";
        return false;
    }
    // One byte more than the limit tells a file at the limit from a larger one.
    text->resize(max_conf_file + 1);
    size_t len = fread(text->data(), 1, text->size(), f);
    bool failed = ferror(f) != 0;
    int read_errno = errno;
    fclose(f);
    if (failed) {
        *error = strerror(read_errno);
        return false;
    }
    if (len > max_conf_file) {
        *error = "it is larger than " + std::to_string(max_conf_file) + " bytes";
        return false;
    }
    text->resize(len);
    return true;
}

}  // namespace

conf_t *conf_read_file(const char *filename, int *errline)
{
    if (errline != nullptr)
        *errline = 0;
    std::vector<char> text;
    std::string error;
    bool missing = false;
    if (!read_text(filename, &text, &error, &missing)) {
        logMsg("Cannot read configuration %s: %s", filename, error.c_str());
        return nullptr;
    }
    return conf_parse(text.data(), text.size(), errline, filename);
}

// Writes a text made by conf_write_buf or conf_update_buf (nullptr: it could
// not be made) and frees it.
static bool write_text(const char *filename, char *text, size_t len)
{
    if (text == nullptr) {
        logMsg("Cannot write %s: out of memory", filename);
        return false;
    }
    bool ok = write_atomically(filename, text, len);
    lacf_free(text);
    return ok;
}

bool conf_write_file(const conf_t *conf, const char *filename)
{
    size_t len = 0;
    char *text = conf_write_buf(conf, &len);
    return write_text(filename, text, len);
}

bool conf_update_file(const conf_t *conf, const char *const *keys, size_t n_keys, const char *filename)
{
    std::vector<char> old;
    std::string error;
    bool missing = false;
    if (!read_text(filename, &old, &error, &missing)) {
        if (missing)
            return conf_write_file(conf, filename);
        logMsg("Cannot read configuration %s: %s", filename, error.c_str());
        return false;
    }
    size_t len = 0;
    char *text = conf_update_buf(conf, keys, n_keys, old.data(), old.size(), &len);
    return write_text(filename, text, len);
}
