/*
 * Configuration files on disk: reading and its limits, and atomic writing,
 * which on any failure leaves the old file byte for byte and no temporary.
 */
#include <acfutils/conf.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "popups_cfg.h"
#include "test_util.h"

using acf_test::LogCapture;
using acf_test::TempDir;
using acf_test::conf_ptr;
using acf_test::read_file;
using acf_test::write_file;

namespace {

conf_ptr fourteen_keys()
{
    conf_ptr conf(conf_create_empty());
    int i = -3;
    for (const std::string &key : vxr_test::popups_cfg_keys())
        conf_set_i(conf.get(), key.c_str(), i++ * 100);
    return conf;
}

const std::string old_text = "pfd_nbzl_w = 800\n# the user's own comment\nmfd_nbzl_w = 640\n";

mode_t mode_of(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

}  // namespace

TEST(ConfFile, WrittenFileReadsBackWithEveryKey)
{
    TempDir dir;
    std::string path = dir.file("popups.cfg");
    conf_ptr conf = fourteen_keys();
    ASSERT_TRUE(conf_write_file(conf.get(), path.c_str()));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"popups.cfg"});
    EXPECT_EQ(read_file(path).substr(0, 36), "pfd_nbzl_x = -300\npfd_nbzl_y = -200\n");

    int errline = -1;
    conf_ptr back(conf_read_file(path.c_str(), &errline));
    ASSERT_TRUE(back);
    EXPECT_EQ(errline, 0);
    int i = -3;
    for (const std::string &key : vxr_test::popups_cfg_keys()) {
        int v = 0;
        EXPECT_TRUE(conf_get_i(back.get(), key.c_str(), &v)) << key;
        EXPECT_EQ(v, i++ * 100) << key;
    }
}

TEST(ConfFile, ReadSkipsABrokenLineAndKeepsTheRest)
{
    LogCapture log;
    TempDir dir;
    std::string path = dir.file("popups.cfg");
    write_file(path, "pfd_nbzl_w = 800\npfd_nbzl_h 600\nmfd_nbzl_w = 640\n");
    int errline = 0;
    conf_ptr conf(conf_read_file(path.c_str(), &errline));
    ASSERT_TRUE(conf);
    EXPECT_EQ(errline, 2);
    int v = 0;
    EXPECT_TRUE(conf_get_i(conf.get(), "mfd_nbzl_w", &v) && v == 640);
    EXPECT_EQ(log.count({path, "line 2"}), 1);
}

TEST(ConfFile, ReadGivesNullForMissingFoldersAndOversizedFiles)
{
    LogCapture log;
    TempDir dir;
    int errline = 7;
    EXPECT_EQ(conf_read_file(dir.file("missing.cfg").c_str(), &errline), nullptr);
    EXPECT_EQ(errline, 0);
    EXPECT_EQ(log.count({dir.file("missing.cfg")}), 1);

    EXPECT_EQ(conf_read_file(dir.path().c_str(), nullptr), nullptr);
    EXPECT_EQ(log.count({dir.path(), "folder"}), 1);

    // Exactly 1 MiB is still read; one byte more is refused.
    std::string mib;
    for (int i = 0; i < 1023; i++)
        mib += "# " + std::string(1021, 'c') + "\n";
    mib += "k = 1" + std::string(1018, ' ') + "\n";
    ASSERT_EQ(mib.size(), 1024u * 1024u);
    write_file(dir.file("big.cfg"), mib);
    conf_ptr at_limit(conf_read_file(dir.file("big.cfg").c_str(), nullptr));
    ASSERT_TRUE(at_limit);
    int v = 0;
    EXPECT_TRUE(conf_get_i(at_limit.get(), "k", &v) && v == 1);

    write_file(dir.file("big.cfg"), "#" + mib);
    EXPECT_EQ(conf_read_file(dir.file("big.cfg").c_str(), nullptr), nullptr);
    EXPECT_EQ(log.count({dir.file("big.cfg"), "larger"}), 1);
}

TEST(ConfFile, WriteReplacesTheOldFileKeepingItsMode)
{
    TempDir dir;
    std::string path = dir.file("popups.cfg");
    write_file(path, old_text);
    chmod(path.c_str(), 0640);
    conf_ptr conf(conf_create_empty());
    conf_set_i(conf.get(), "pfd_nbzl_w", 1024);
    ASSERT_TRUE(conf_write_file(conf.get(), path.c_str()));
    EXPECT_EQ(read_file(path), "pfd_nbzl_w = 1024\n");
    EXPECT_EQ(mode_of(path), 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"popups.cfg"});

    std::string fresh = dir.file("new.cfg");
    ASSERT_TRUE(conf_write_file(conf.get(), fresh.c_str()));
    EXPECT_EQ(mode_of(fresh), 0644u);
}

TEST(ConfFileAtomic, TargetThatIsAFolderIsLeftAndNoTemporaryRemains)
{
    LogCapture log;
    TempDir dir;
    std::string target = dir.file("popups.cfg");
    ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
    write_file(dir.file("other.cfg"), old_text);
    conf_ptr conf = fourteen_keys();
    EXPECT_FALSE(conf_write_file(conf.get(), target.c_str()));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"other.cfg", "popups.cfg"}));
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(log.count({"Cannot write", target}), 1);
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST(ConfFileAtomic, MissingFolderFailsWithALogLine)
{
    LogCapture log;
    TempDir dir;
    std::string target = dir.file("settings/popups.cfg");
    conf_ptr conf = fourteen_keys();
    EXPECT_FALSE(conf_write_file(conf.get(), target.c_str()));
    EXPECT_TRUE(dir.entries().empty());
    EXPECT_EQ(log.count({"Cannot write", target}), 1);
}

// A file-size limit makes the write itself fail after the temporary exists.
TEST(ConfFileAtomic, FailedWriteLeavesTheOldFileByteIdentical)
{
    LogCapture log;
    TempDir dir;
    std::string path = dir.file("popups.cfg");
    write_file(path, old_text);
    conf_ptr conf = fourteen_keys();

    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 40;
    void (*saved_handler)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool ok = conf_write_file(conf.get(), path.c_str());
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, saved_handler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(read_file(path), old_text);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"popups.cfg"});
    EXPECT_EQ(log.count({"Cannot write", path, "left as it was"}), 1);
}

// Folder permissions do not bind the superuser: run as root (as CI is), the
// check runs in a child that has given up root for the unprivileged "nobody".
TEST(ConfFileAtomic, UnwritableFolderLeavesTheOldFileByteIdentical)
{
    auto check = [] {
        LogCapture log;
        TempDir dir;
        std::string path = dir.file("popups.cfg");
        write_file(path, old_text);
        ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
        conf_ptr conf = fourteen_keys();
        bool ok = conf_write_file(conf.get(), path.c_str());
        chmod(dir.path().c_str(), 0755);
        EXPECT_FALSE(ok);
        EXPECT_EQ(read_file(path), old_text);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"popups.cfg"});
        EXPECT_EQ(log.count({"Cannot write", path}), 1);
    };
    if (geteuid() != 0) {
        check();
        return;
    }
    const uid_t nobody = 65534;
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0 || geteuid() == 0)
            _exit(3);
        check();
        fflush(stdout);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 3) << "could not give up root";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the check failed as the unprivileged user (its output is above)";
}
