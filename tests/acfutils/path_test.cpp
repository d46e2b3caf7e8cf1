/*
 * File names in UTF-8: settings written, read, updated and cleaned up in a
 * folder whose name holds spaces and letters outside ASCII, and the file
 * calls behind them, with the errors their callers tell apart.
 */
#include <acfutils/path.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <acfutils/conf.h>
#include <acfutils/helpers.h>

#include "test_util.h"

using acf_test::TempDir;
using acf_test::conf_ptr;
using acf_test::read_file;
using acf_test::write_file;

namespace {

const std::string folder_name = "X-Plane 12 J\xC3\xBCrgen \xE9\xA3\x9E\xE8\xA1\x8C";   // Jürgen 飞行

// A settings folder under that name, made through the library.
struct UnicodeFolder {
    TempDir base;
    std::string dir = base.file(folder_name);
    std::string cfg = dir + "/popups.cfg";
    UnicodeFolder() { EXPECT_TRUE(create_directory(dir.c_str())); }
};

std::vector<std::string> entries_of(const std::string &dir)
{
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(PathUtf8, SettingsRoundTripUnderTheFolderName)
{
    UnicodeFolder f;
    ASSERT_EQ(f.base.entries(), std::vector<std::string>{folder_name});
    bool isdir = false;
    EXPECT_TRUE(file_exists(f.dir.c_str(), &isdir));
    EXPECT_TRUE(isdir);
    EXPECT_TRUE(create_directory(f.dir.c_str())) << "an existing folder is not a failure";

    conf_ptr conf(conf_create_empty());
    conf_set_i(conf.get(), "pfd_nbzl_x", 448);
    conf_set_i(conf.get(), "mfd_nbzl_w", 1024);
    ASSERT_TRUE(conf_write_file(conf.get(), f.cfg.c_str()));
    EXPECT_EQ(read_file(f.cfg), "pfd_nbzl_x = 448\nmfd_nbzl_w = 1024\n");

    conf_set_i(conf.get(), "pfd_nbzl_x", 12);
    conf_set_i(conf.get(), "mfd_nbzl_w", 99);
    const char *keys[] = {"pfd_nbzl_x"};
    ASSERT_TRUE(conf_update_file(conf.get(), keys, 1, f.cfg.c_str()));

    int errline = -1;
    conf_ptr back(conf_read_file(f.cfg.c_str(), &errline));
    ASSERT_TRUE(back);
    EXPECT_EQ(errline, 0);
    int x = 0, w = 0;
    EXPECT_TRUE(conf_get_i(back.get(), "pfd_nbzl_x", &x));
    EXPECT_TRUE(conf_get_i(back.get(), "mfd_nbzl_w", &w));
    EXPECT_EQ(x, 12);
    EXPECT_EQ(w, 1024) << "only the key asked for is updated";
}

// Only a temporary of the same file, six letters or digits after its name,
// is a leftover; names with other letters there, or of another file, stay.
TEST(PathUtf8, StaleTemporariesRemovedByTheirFullName)
{
    UnicodeFolder f;
    write_file(f.cfg + ".a1B2c3", "left by a killed write");
    write_file(f.cfg + ".\xC3\xBC" "1234", "a letter outside ASCII in the suffix");   // ü1234: 6 bytes
    write_file(f.dir + "/other.cfg.a1B2c3", "another file's temporary");
    conf_ptr conf(conf_create_empty());
    conf_set_i(conf.get(), "pfd_nbzl_w", 800);
    ASSERT_TRUE(conf_write_file(conf.get(), f.cfg.c_str()));
    EXPECT_EQ(entries_of(f.dir), (std::vector<std::string>{"other.cfg.a1B2c3", "popups.cfg",
                                     "popups.cfg.\xC3\xBC" "1234"}));
}

TEST(PathUtf8, FileCallsReportWhatWentWrong)
{
    UnicodeFolder f;
    const std::string missing = f.dir + "/missing.cfg";
    errno = 0;
    EXPECT_EQ(path_fopen(missing.c_str(), "rb"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(path_remove(missing.c_str()), ENOENT);
    EXPECT_EQ(path_mkdir(f.dir.c_str()), EEXIST);
    EXPECT_FALSE(path_exists(missing.c_str(), nullptr));

    // A temporary gets a new name in place of the X's and is a new, empty file.
    std::string tmp = f.cfg + ".XXXXXX", error;
    int fd = path_create_temporary(&tmp, &error);
    ASSERT_GE(fd, 0) << error;
    close(fd);
    EXPECT_EQ(tmp.compare(0, f.cfg.size() + 1, f.cfg + "."), 0);
    EXPECT_EQ(tmp.size(), f.cfg.size() + 7);
    EXPECT_NE(tmp, f.cfg + ".XXXXXX");
    EXPECT_EQ(read_file(tmp), "");

    // Replacing keeps the permissions the replaced file had.
    write_file(f.cfg, "old");
    ASSERT_EQ(chmod(f.cfg.c_str(), 0600), 0);
    write_file(tmp, "new");
    EXPECT_EQ(path_replace(tmp.c_str(), f.cfg.c_str()), "");
    EXPECT_EQ(read_file(f.cfg), "new");
    struct stat st;
    ASSERT_EQ(stat(f.cfg.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(entries_of(f.dir), std::vector<std::string>{"popups.cfg"});
    EXPECT_NE(path_replace(tmp.c_str(), f.cfg.c_str()), "") << "the temporary is gone";
    EXPECT_EQ(path_sync_folder(f.cfg.c_str()), "");
}
