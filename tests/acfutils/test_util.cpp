/*
 * Test helpers: temporary folders, file access and the capturing log sink.
 */
#include "test_util.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

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

TempDir::TempDir()
{
    std::string templ = (std::filesystem::temp_directory_path() / "acfutils-test-XXXXXX").string();
    if (mkdtemp(&templ[0]) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> TempDir::entries() const
{
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(path_))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_file(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

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
