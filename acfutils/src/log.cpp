/*
 * The logger: formats each message into one finished line on the stack and
 * hands it whole to the sink (standard error when none was given). A mutex
 * keeps lines from different threads whole and in one order.
 */
#include <acfutils/log.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

// Long messages are cut to fit; the line always ends with its newline.
constexpr size_t max_line = 2048;
constexpr size_t max_prefix = 128;

std::mutex log_lock;
logfunc_t log_sink = nullptr;
char log_prefix[max_prefix] = "";

}  // namespace

void log_init(logfunc_t sink, const char *prefix)
{
    std::lock_guard<std::mutex> guard(log_lock);
    log_sink = sink;
    snprintf(log_prefix, sizeof(log_prefix), "%s", prefix != nullptr ? prefix : "");
}

void log_impl(const char *filename, int line, const char *fmt, ...)
{
    char buf[max_line];
    std::lock_guard<std::mutex> guard(log_lock);

    int head = snprintf(buf, sizeof(buf), "%s[%s:%d]: ", log_prefix,
        filename != nullptr ? filename : "", line);
    size_t len = head < 0 ? 0 : std::min(static_cast<size_t>(head), sizeof(buf) - 2);

    va_list ap;
    va_start(ap, fmt);
    int body = vsnprintf(buf + len, sizeof(buf) - 1 - len, fmt, ap);
    va_end(ap);
    if (body > 0)
        len = std::min(len + static_cast<size_t>(body), sizeof(buf) - 2);
    buf[len] = '\0';

    // A message that brings its own newline must still make exactly one line.
    while (len > 0 && buf[len - 1] == '\n')
        len--;
    buf[len++] = '\n';
    buf[len] = '\0';

    if (log_sink != nullptr) {
        log_sink(buf);
    } else {
        fputs(buf, stderr);
        fflush(stderr);
    }
}

const char *log_basename(const char *path)
{
    if (path == nullptr)
        return "";
    const char *slash = strrchr(path, '/');
    if (slash != nullptr)
        return slash + 1;
    const char *backslash = strrchr(path, '\\');
    return backslash != nullptr ? backslash + 1 : path;
}
