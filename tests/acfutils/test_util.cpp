/*
 * Test helpers: the capturing log sink.
 */
#include "test_util.h"

#include <algorithm>
#include <mutex>

#include <acfutils/log.h>

namespace acf_test {

namespace {
std::mutex captured_lock;
std::vector<std::string> captured;

void capture_sink(const char *line)
{
    std::lock_guard<std::mutex> guard(captured_lock);
    captured.emplace_back(line);
}
}  // namespace

LogCapture::LogCapture(const char *prefix)
{
    clear();
    log_init(capture_sink, prefix);
}

LogCapture::~LogCapture()
{
    log_init(nullptr, "");
}

std::vector<std::string> LogCapture::lines() const
{
    std::lock_guard<std::mutex> guard(captured_lock);
    return captured;
}

int LogCapture::count(const std::vector<std::string> &texts) const
{
    int n = 0;
    for (const std::string &line : lines()) {
        if (std::all_of(texts.begin(), texts.end(),
                [&line](const std::string &t) { return line.find(t) != std::string::npos; }))
            n++;
    }
    return n;
}

void LogCapture::clear()
{
    std::lock_guard<std::mutex> guard(captured_lock);
    captured.clear();
}

}  // namespace acf_test
