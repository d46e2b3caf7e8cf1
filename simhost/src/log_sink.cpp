/*
 * The simulator's log (see log_sink.h).
 */
#include "log_sink.h"

#include <cstring>

#include "simhost/utf8_path.h"

namespace simhost {

LogSink::LogSink(const std::string &file_path, bool echo) : echo_(echo)
{
    if (!file_path.empty())
#ifdef _WIN32
        file_ = _wfopen(fs_path(file_path).c_str(), L"a");
#else
        file_ = fopen(file_path.c_str(), "a");
#endif
}

LogSink::~LogSink()
{
    if (file_ != nullptr)
        fclose(file_);
}

void LogSink::write(const char *text)
{
    if (text == nullptr || text[0] == '\0')
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    size_t length = strlen(text);
    if (file_ != nullptr) {
        fwrite(text, 1, length, file_);
        fflush(file_);
    }
    if (echo_) {
        fwrite(text, 1, length, stdout);
        fflush(stdout);
    }
    const char *p = text;
    while (*p != '\0') {
        const char *newline = strchr(p, '\n');
        std::string piece = newline ? std::string(p, newline) : std::string(p);
        if (last_line_open_)
            lines_.back() += piece;
        else
            lines_.push_back(piece);
        last_line_open_ = newline == nullptr;
        if (newline == nullptr)
            break;
        p = newline + 1;
    }
}

}  // namespace simhost
