/*
 * The simulator's log: Log.txt in the simulator folder (flushed at every
 * write), optionally echoed to standard output, and every line kept in memory
 * so that tests and scenarios can look for texts.
 */
#ifndef SIMHOST_LOG_SINK_H
#define SIMHOST_LOG_SINK_H

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace simhost {

class LogSink {
public:
    // file_path empty: no Log.txt.
    LogSink(const std::string &file_path, bool echo);
    ~LogSink();
    LogSink(const LogSink &) = delete;
    LogSink &operator=(const LogSink &) = delete;

    // Text as a plug-in hands it over: may hold several lines, or end in the
    // middle of one (the next write continues that line). Safe to call from a
    // plug-in's worker threads.
    void write(const char *text);
    const std::vector<std::string> &lines() const { return lines_; }

private:
    std::mutex mutex_;
    FILE *file_ = nullptr;
    bool echo_;
    std::vector<std::string> lines_;
    bool last_line_open_ = false;
};

}  // namespace simhost

#endif
