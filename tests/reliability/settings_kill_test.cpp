// Crash safety of popups.cfg: a child process writes the settings in a loop,
// alternating two complete sets, and is killed at many different moments.
// After every kill the file must parse and hold exactly one of the two sets,
// whole, and at most the one temporary of the interrupted write may be left.
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <acfutils/conf.h>
#include <acfutils/helpers.h>
#include <acfutils/log.h>

#include "popups_cfg.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

typedef std::map<std::string, std::string> settings_set;

// Two sets that differ in every key, so that a mix of them shows.
settings_set make_set(int base)
{
    settings_set set;
    int i = 0;
    for (const std::string &key : vxr_test::popups_cfg_keys())
        set[key] = std::to_string(base + 37 * i++);
    return set;
}

conf_t *conf_of(const settings_set &set)
{
    conf_t *conf = conf_create_empty();
    for (const auto &[key, value] : set)
        conf_set_str(conf, key.c_str(), value.c_str());
    return conf;
}

// The file's entries; *why says what is wrong when it does not parse
// cleanly or holds anything but the keys.
settings_set read_back(const std::string &path, std::string *why)
{
    vxr_test::CfgFile file = vxr_test::read_cfg(path);
    if (!file.readable)
        *why = "it cannot be read";
    else if (file.bad_line != 0)
        *why = "line " + std::to_string(file.bad_line) + " does not parse";
    else if (file.entries.size() != vxr_test::popups_cfg_keys().size())
        *why = std::to_string(file.entries.size()) + " entries";
    return file.entries;
}

int temporaries(const std::string &dir)
{
    int n = 0;
    for (const auto &entry : fs::directory_iterator(dir))
        n += entry.path().filename().string().rfind("popups.cfg.", 0) == 0;
    return n;
}

void discard(const char *) {}

[[noreturn]] void write_forever(const std::string &path, conf_t *a, conf_t *b)
{
    for (unsigned long i = 0;; i++)
        conf_write_file(i % 2 ? b : a, path.c_str());
}

TEST(SettingsKill, EveryKilledWriteLeavesOneWholeSetAndAtMostOneTemporary)
{
    log_init(discard, "KILL");
    vxr_test::TempDir temp;
    const std::string dir = temp.path();
    const std::string path = temp.file("popups.cfg");

    const settings_set set_a = make_set(100), set_b = make_set(-5000);
    conf_t *conf_a = conf_of(set_a);
    conf_t *conf_b = conf_of(set_b);
    ASSERT_TRUE(conf_write_file(conf_a, path.c_str()));

    std::mt19937 rng(20240611);
    std::uniform_int_distribution<long> delay_us(0, 30000);
    const int kills = 250;
    int left_temporary = 0, held_b = 0;
    for (int kill_no = 0; kill_no < kills; kill_no++) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            write_forever(path, conf_a, conf_b);
        long us = delay_us(rng);
        struct timespec pause = {0, us * 1000};
        nanosleep(&pause, nullptr);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself";

        std::string why;
        settings_set found = read_back(path, &why);
        ASSERT_TRUE(why.empty()) << "kill " << kill_no << " after " << us << " us: " << why;
        ASSERT_TRUE(found == set_a || found == set_b)
            << "kill " << kill_no << " after " << us << " us: the file holds neither set whole";
        held_b += found == set_b;
        int tmp = temporaries(dir);
        ASSERT_LE(tmp, 1) << "kill " << kill_no << ": temporaries pile up";
        left_temporary += tmp;
    }
    // What happened is worth seeing, but the moments are the machine's.
    printf("%d kills: %d left a temporary, %d left the second set\n", kills, left_temporary, held_b);

    // The next write clears what the last killed one left.
    ASSERT_TRUE(conf_write_file(conf_b, path.c_str()));
    EXPECT_EQ(temporaries(dir), 0);
    std::string why;
    EXPECT_EQ(read_back(path, &why), set_b);

    conf_free(conf_a);
    conf_free(conf_b);
}

TEST(SettingsKill, OnlyTheFilesOwnTemporariesAreCleared)
{
    log_init(discard, "KILL");
    vxr_test::TempDir temp;
    const std::string dir = temp.path();
    // Leftovers of two killed writes, and names that only look alike.
    for (const char *name : {"popups.cfg.a1B2c3", "popups.cfg.ZZZZZZ"})
        std::ofstream(dir + "/" + name) << "pfd_nbzl_w = 1";
    for (const char *name : {"popups.cfg.bak", "popups.cfg.a1B2c3d", "popups.cfg.a-b_c3", "other.cfg.a1B2c3",
                             "popups.cfgXa1B2c3"})
        std::ofstream(dir + "/" + name) << "keep";
    fs::create_directory(dir + "/popups.cfg.Folder");

    conf_t *conf = conf_of(make_set(1));
    ASSERT_TRUE(conf_write_file(conf, (dir + "/popups.cfg").c_str()));
    conf_free(conf);

    EXPECT_EQ(temp.entries(), (std::vector<std::string>{"other.cfg.a1B2c3", "popups.cfg", "popups.cfg.Folder",
                                               "popups.cfg.a-b_c3", "popups.cfg.a1B2c3d", "popups.cfg.bak",
                                               "popups.cfgXa1B2c3"}));
}

}  // namespace
