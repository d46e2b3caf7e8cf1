/*
 * Helpers for the utility library's tests: a log sink that keeps every line
 * it is handed and a configuration that frees itself; the shared temporary
 * folder and whole-file reads and writes under their usual names here.
 */
#ifndef ACFUTILS_TEST_UTIL_H
#define ACFUTILS_TEST_UTIL_H

#include <memory>
#include <string>
#include <vector>

#include <acfutils/conf.h>

#include "temp_dir.h"

namespace acf_test {

struct conf_deleter {
    void operator()(conf_t *c) const { conf_free(c); }
};
// A configuration freed when it goes out of scope.
using conf_ptr = std::unique_ptr<conf_t, conf_deleter>;

using vxr_test::TempDir;
using vxr_test::read_file;
using vxr_test::write_file;

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
