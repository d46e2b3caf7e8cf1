/*
 * Helpers for the utility library's tests: a temporary folder, whole-file
 * reads and writes, a log sink that keeps every line it is handed, and a
 * configuration that frees itself.
 */
#ifndef ACFUTILS_TEST_UTIL_H
#define ACFUTILS_TEST_UTIL_H

#include <memory>
#include <string>
#include <vector>

#include <acfutils/conf.h>

namespace acf_test {

struct conf_deleter {
    void operator()(conf_t *c) const { conf_free(c); }
};
// A configuration freed when it goes out of scope.
using conf_ptr = std::unique_ptr<conf_t, conf_deleter>;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }
    std::vector<std::string> entries() const;   // names in the folder, sorted

private:
    std::string path_;
};

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);

// Installs itself as the logger's sink; restores standard error when destroyed.
class LogCapture {
public:
    explicit LogCapture(const char *prefix = "TEST");
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;
    std::vector<std::string> lines() const;
    // Lines that contain every one of the texts.
    int count(const std::vector<std::string> &texts) const;
    void clear();
};

}  // namespace acf_test

#endif
