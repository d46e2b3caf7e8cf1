/*
 * A folder under the system's temporary folder for one test, removed with
 * everything in it.
 */
#ifndef SIMHOST_PROGRAM_TEST_TEMP_FOLDER_H
#define SIMHOST_PROGRAM_TEST_TEMP_FOLDER_H

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

class TempFolder {
public:
    TempFolder()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "simhost-program-test-XXXXXX").string();
        if (mkdtemp(templ.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        path_ = templ;
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    std::string file(const std::string &name) const { return path_ + "/" + name; }
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

#endif
