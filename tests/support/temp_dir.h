/*
 * Files for tests: a folder under the system's temporary folder, removed with
 * everything in it, and whole-file reads and writes.
 */
#ifndef VXR_TEST_TEMP_DIR_H
#define VXR_TEST_TEMP_DIR_H

#include <string>
#include <vector>

namespace vxr_test {

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

}  // namespace vxr_test

#endif
