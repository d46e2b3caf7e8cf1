/*
 * Updating a configuration text or file for some keys only: those keys take
 * the configuration's values, every other line stays byte for byte.
 */
#include <acfutils/conf.h>

#include <memory>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <acfutils/helpers.h>
#include "test_util.h"

using acf_test::LogCapture;
using acf_test::TempDir;
using acf_test::conf_ptr;
using acf_test::read_file;
using acf_test::write_file;

namespace {

conf_ptr conf_of(const std::vector<std::pair<const char *, const char *>> &entries)
{
    conf_ptr conf(conf_create_empty());
    for (const auto &[key, value] : entries)
        conf_set_str(conf.get(), key, value);
    return conf;
}

std::string updated(const conf_t *conf, const std::vector<const char *> &keys, const std::string &text)
{
    size_t len = 0;
    char *out = conf_update_buf(conf, keys.data(), keys.size(), text.data(), text.size(), &len);
    if (out == nullptr)
        return "<null>";
    std::string s(out, len);
    lacf_free(out);
    return s;
}

struct Update {
    const char *name;
    std::string text;
    std::vector<const char *> keys;
    std::string expected;
};

void PrintTo(const Update &c, std::ostream *os) { *os << c.name; }

class ConfUpdate : public testing::TestWithParam<Update> {};

// The configuration holds new values for w, h and x; each case names the keys to write.
TEST_P(ConfUpdate, OnlyTheNamedKeysChange)
{
    conf_ptr conf = conf_of({{"w", "1280"}, {"h", "720"}, {"x", "-5"}});
    EXPECT_EQ(updated(conf.get(), GetParam().keys, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ConfUpdate, testing::Values(
    Update{"in_place", "x = 1\nw = 800\nh = 600\n", {"w"}, "x = 1\nw = 1280\nh = 600\n"},
    Update{"comments_blanks_and_broken_lines_kept",
        "# mine\n\n  w=800   # wide\nno equals here\n\tother = a b\n", {"w"},
        "# mine\n\nw = 1280 # wide\nno equals here\n\tother = a b\n"},
    Update{"absent_key_appended", "x = 1\n", {"w", "h"}, "x = 1\nw = 1280\nh = 720\n"},
    Update{"no_final_line_break", "x = 1", {"w"}, "x = 1\nw = 1280\n"},
    Update{"crlf_kept_and_used_for_added_lines", "x = 1\r\nw = 800 # wide\r\n", {"w", "h"},
        "x = 1\r\nw = 1280 # wide\r\nh = 720\r\n"},
    Update{"duplicates_of_a_written_key_go", "w = 1\nx = 2\nw = 3\nx = 4\n", {"w"}, "w = 1280\nx = 2\nx = 4\n"},
    Update{"byte_order_mark_dropped", "\xEF\xBB\xBFw = 800\nx = 1\n", {"w"}, "w = 1280\nx = 1\n"},
    Update{"byte_order_mark_dropped_with_no_key", "\xEF\xBB\xBF# mine\n", {}, "# mine\n"},
    Update{"byte_order_mark_kept_before_a_line_starting_with_its_bytes", "\xEF\xBB\xBF\xEF\xBB\xBFk = 1\n",
        {"w"}, "\xEF\xBB\xBF\xEF\xBB\xBFk = 1\nw = 1280\n"},
    Update{"no_keys_leaves_the_text", "x=1 # a\n\n", {}, "x=1 # a\n\n"},
    Update{"key_not_in_the_configuration_left", "y = 7\n", {"y", "x"}, "y = 7\nx = -5\n"},
    Update{"key_named_twice_written_once", "", {"w", " w "}, "w = 1280\n"},
    Update{"nul_line_is_not_an_entry", std::string("w\0 = 1\nw = 2\n", 13), {"w"},
        std::string("w\0 = 1\nw = 1280\n", 16)},
    Update{"empty_text", "", {"x"}, "x = -5\n"}),
    [](const testing::TestParamInfo<Update> &info) { return std::string(info.param.name); });

TEST(ConfUpdateBuf, WhatItCannotWorkOnGivesNull)
{
    conf_ptr conf = conf_of({{"w", "1"}});
    const char *keys[] = {"w"};
    EXPECT_EQ(conf_update_buf(nullptr, keys, 1, "", 0, nullptr), nullptr);
    EXPECT_EQ(conf_update_buf(conf.get(), nullptr, 1, "", 0, nullptr), nullptr);
    EXPECT_EQ(conf_update_buf(conf.get(), keys, 1, nullptr, 3, nullptr), nullptr);
    char *empty = conf_update_buf(conf.get(), nullptr, 0, nullptr, 0, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    lacf_free(empty);
}

TEST(ConfUpdateFile, TheFileAsItIsNowKeepsItsOtherLinesAndItsMode)
{
    TempDir dir;
    std::string path = dir.file("popups.cfg");
    conf_ptr conf = conf_of({{"w", "1280"}, {"h", "720"}});
    write_file(path, "# edited meanwhile\nh = 700\nw = 800\n");
    chmod(path.c_str(), 0640);
    const char *keys[] = {"w"};
    ASSERT_TRUE(conf_update_file(conf.get(), keys, 1, path.c_str()));
    EXPECT_EQ(read_file(path), "# edited meanwhile\nh = 700\nw = 1280\n");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"popups.cfg"});
}

TEST(ConfUpdateFile, AMissingFileIsWrittenWhole)
{
    LogCapture log;
    TempDir dir;
    std::string path = dir.file("popups.cfg");
    conf_ptr conf = conf_of({{"w", "1280"}, {"h", "720"}});
    const char *keys[] = {"w"};
    ASSERT_TRUE(conf_update_file(conf.get(), keys, 1, path.c_str()));
    EXPECT_EQ(read_file(path), "w = 1280\nh = 720\n");
    EXPECT_TRUE(log.lines().empty());
}

TEST(ConfUpdateFile, AFileThatCannotBeReadIsLeftAsItIs)
{
    LogCapture log;
    TempDir dir;
    std::string path = dir.file("popups.cfg");
    conf_ptr conf = conf_of({{"w", "1280"}});
    const char *keys[] = {"w"};
    std::string huge = "w = 1\n" + std::string(1024 * 1024, '#');
    write_file(path, huge);
    EXPECT_FALSE(conf_update_file(conf.get(), keys, 1, path.c_str()));
    EXPECT_EQ(read_file(path), huge);
    EXPECT_EQ(log.count({"Cannot read configuration", path, "larger than"}), 1);

    std::string folder = dir.file("folder.cfg");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_FALSE(conf_update_file(conf.get(), keys, 1, folder.c_str()));
    EXPECT_EQ(log.count({"Cannot read configuration", folder, "folder"}), 1);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"folder.cfg", "popups.cfg"}));
}

}  // namespace
