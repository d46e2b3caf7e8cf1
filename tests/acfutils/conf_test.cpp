/*
 * Configurations in memory: the text format, strict integers, broken lines,
 * duplicates, and text written back.
 */
#include <acfutils/conf.h>

#include <climits>
#include <memory>
#include <string>
#include <gtest/gtest.h>

#include <acfutils/helpers.h>
#include "test_util.h"

using acf_test::LogCapture;

namespace {

struct conf_deleter {
    void operator()(conf_t *c) const { conf_free(c); }
};
using conf_ptr = std::unique_ptr<conf_t, conf_deleter>;

conf_ptr parse(const std::string &text, int *errline = nullptr)
{
    return conf_ptr(conf_read_buf(text.data(), text.size(), errline));
}

std::string written(const conf_t *conf)
{
    size_t len = 0;
    char *text = conf_write_buf(conf, &len);
    std::string s(text, len);
    lacf_free(text);
    return s;
}

std::string str(const conf_t *conf, const char *key)
{
    const char *value = nullptr;
    return conf_get_str(conf, key, &value) ? value : "<absent>";
}

}  // namespace

TEST(ConfIntegers, RejectsAnythingButAWholeNumberInIntRange)
{
    const char *bad[] = {"", "12abc", "1e3", "0x10", "2147483648", "-2147483649", "3.0",
        "-", "+", "--1", "+-1", "1 2", "- 1", "99999999999999999999999", "\xff\x01"};
    for (const char *value : bad) {
        LogCapture log;
        conf_ptr conf(conf_create_empty());
        conf_set_str(conf.get(), "pfd_nbzl_w", value);
        int out = 1234;
        EXPECT_FALSE(conf_get_i(conf.get(), "pfd_nbzl_w", &out)) << "value \"" << value << "\"";
        EXPECT_EQ(out, 1234) << "value \"" << value << "\"";
        EXPECT_EQ(log.count({"pfd_nbzl_w", std::string("\"") + value + "\""}), 1) << "value \"" << value << "\"";
        EXPECT_EQ(log.lines().size(), 1u);
    }
}

TEST(ConfIntegers, AcceptsSignedDecimalsUpToTheLimits)
{
    const struct {
        const char *text;
        int value;
    } good[] = {{"7", 7}, {" -12 ", -12}, {"+5", 5}, {"-2147483648", INT_MIN},
        {"2147483647", INT_MAX}, {"007", 7}, {"-0", 0}, {"\t-1\t", -1}};
    for (const auto &g : good) {
        LogCapture log;
        conf_ptr conf = parse(std::string("k = ") + g.text + "\n");
        int out = 1234;
        EXPECT_TRUE(conf_get_i(conf.get(), "k", &out)) << g.text;
        EXPECT_EQ(out, g.value) << g.text;
        EXPECT_TRUE(log.lines().empty()) << g.text;
    }
}

TEST(ConfIntegers, AbsentKeyIsFalseAndLeavesTheValue)
{
    LogCapture log;
    conf_ptr conf = parse("pfd_nbzl_w = 800\n");
    int out = 5;
    EXPECT_FALSE(conf_get_i(conf.get(), "pfd_nbzl_h", &out));
    EXPECT_EQ(out, 5);
    EXPECT_FALSE(conf_get_i(conf.get(), "PFD_NBZL_W", &out));
    EXPECT_EQ(out, 5);
    EXPECT_TRUE(conf_get_i(conf.get(), " pfd_nbzl_w ", &out));
    EXPECT_EQ(out, 800);
}

TEST(ConfText, CommentsBlankLinesSpacingAndLineEnds)
{
    int errline = -1;
    conf_ptr conf = parse(
        "# settings of the popups\n"
        "\n"
        "   \t\n"
        "pfd_nbzl_x=10\n"
        "  pfd_nbzl_y   =   -20   # left as it was\n"
        "mfd_nbzl_w = 1024\r\n"
        "mfd_nbzl_h = 768", &errline);
    ASSERT_TRUE(conf);
    EXPECT_EQ(errline, 0);
    int v = 0;
    EXPECT_TRUE(conf_get_i(conf.get(), "pfd_nbzl_x", &v) && v == 10);
    EXPECT_TRUE(conf_get_i(conf.get(), "pfd_nbzl_y", &v) && v == -20);
    EXPECT_TRUE(conf_get_i(conf.get(), "mfd_nbzl_w", &v) && v == 1024);
    EXPECT_TRUE(conf_get_i(conf.get(), "mfd_nbzl_h", &v) && v == 768);
    EXPECT_EQ(written(conf.get()), "pfd_nbzl_x = 10\npfd_nbzl_y = -20\nmfd_nbzl_w = 1024\nmfd_nbzl_h = 768\n");
}

TEST(ConfText, BrokenLinesAreLoggedSkippedAndTheRestIsRead)
{
    LogCapture log;
    int errline = -1;
    conf_ptr conf = parse("a = 1\nthis line has no equals sign\n = 3\nb = 2\n", &errline);
    ASSERT_TRUE(conf);
    EXPECT_EQ(errline, 2);
    EXPECT_EQ(written(conf.get()), "a = 1\nb = 2\n");
    EXPECT_EQ(log.count({"line 2"}), 1);
    EXPECT_EQ(log.count({"line 3"}), 1);
    EXPECT_EQ(log.lines().size(), 2u);
}

TEST(ConfText, NulBytesAndBinaryDataAreHandled)
{
    LogCapture log;
    const char raw[] = "a = 1\nb\0c = 2\nd = \x01\xfe\xff\n\0\0\0\ne = 5";
    const std::string text(raw, sizeof(raw) - 1);
    int errline = -1;
    conf_ptr conf = parse(text, &errline);
    ASSERT_TRUE(conf);
    EXPECT_EQ(errline, 2);
    EXPECT_EQ(str(conf.get(), "a"), "1");
    EXPECT_EQ(str(conf.get(), "b"), "<absent>");
    EXPECT_EQ(str(conf.get(), "d"), "\x01\xfe\xff");
    EXPECT_EQ(str(conf.get(), "e"), "5");
    EXPECT_EQ(log.count({"line 4"}), 1);
}

TEST(ConfText, DuplicateKeysTheLastWinsInTheFirstPlace)
{
    conf_ptr conf = parse("w = 1\nh = 2\nw = 3\n");
    int v = 0;
    EXPECT_TRUE(conf_get_i(conf.get(), "w", &v));
    EXPECT_EQ(v, 3);
    EXPECT_EQ(written(conf.get()), "w = 3\nh = 2\n");
}

// Notepad's "UTF-8 with BOM" puts EF BB BF before the first line.
TEST(ConfText, ALeadingByteOrderMarkIsSkippedAndNotWrittenBack)
{
    LogCapture log;
    int errline = -1;
    conf_ptr conf = parse("\xEF\xBB\xBFpfd_nbzl_x = 5\r\nmfd_nbzl_x = 6\r\n", &errline);
    ASSERT_TRUE(conf);
    EXPECT_EQ(errline, 0);
    EXPECT_EQ(written(conf.get()), "pfd_nbzl_x = 5\nmfd_nbzl_x = 6\n");
    EXPECT_TRUE(log.lines().empty());

    // Only a mark before everything is one; anywhere else the bytes are text.
    conf_ptr later = parse("a = 1\n\xEF\xBB\xBF" "b = 2\n \xEF\xBB\xBF" "c = 3\n");
    EXPECT_EQ(written(later.get()), "a = 1\n\xEF\xBB\xBF" "b = 2\n\xEF\xBB\xBF" "c = 3\n");
    EXPECT_EQ(written(parse("\xEF\xBB\xBF").get()), "");
    // A first key that starts with the mark's bytes keeps them through a write.
    std::string twice = written(parse("\xEF\xBB\xBF\xEF\xBB\xBFk = 1").get());
    EXPECT_EQ(twice, "\xEF\xBB\xBF\xEF\xBB\xBFk = 1\n");
    EXPECT_EQ(str(parse(twice).get(), "\xEF\xBB\xBFk"), "1");
    EXPECT_EQ(str(parse("\xEF\xBBk = 1").get(), "\xEF\xBBk"), "1");
}

TEST(ConfText, SetValuesAreWrittenInFirstSeenOrderAndReadBack)
{
    conf_ptr conf(conf_create_empty());
    EXPECT_EQ(written(conf.get()), "");
    conf_set_i(conf.get(), "pfd_nbzl_monitor_start", -1);
    conf_set_i(conf.get(), "pfd_nbzl_w", 1024);
    conf_set_str(conf.get(), "label", "  two words  ");
    conf_set_i(conf.get(), "pfd_nbzl_monitor_start", 2);
    EXPECT_EQ(written(conf.get()), "pfd_nbzl_monitor_start = 2\npfd_nbzl_w = 1024\nlabel = two words\n");

    std::string text = written(conf.get());
    conf_ptr back = parse(text);
    int v = 0;
    EXPECT_TRUE(conf_get_i(back.get(), "pfd_nbzl_monitor_start", &v) && v == 2);
    EXPECT_TRUE(conf_get_i(back.get(), "pfd_nbzl_w", &v) && v == 1024);
    EXPECT_EQ(str(back.get(), "label"), "two words");
}

TEST(ConfText, WhatTheFileCannotHoldIsNotSet)
{
    LogCapture log;
    conf_ptr conf(conf_create_empty());
    conf_set_str(conf.get(), "a=b", "1");
    conf_set_str(conf.get(), "  ", "1");
    conf_set_str(conf.get(), "k", "1 # 2");
    conf_set_str(conf.get(), "k2", "1\n2");
    EXPECT_EQ(written(conf.get()), "");
    EXPECT_EQ(log.lines().size(), 4u);
}

TEST(ConfText, GetStrPointersSurviveLaterKeys)
{
    conf_ptr conf = parse("first = short\n");
    const char *first = nullptr;
    ASSERT_TRUE(conf_get_str(conf.get(), "first", &first));
    for (int i = 0; i < 200; i++)
        conf_set_i(conf.get(), ("key" + std::to_string(i)).c_str(), i);
    EXPECT_STREQ(first, "short");
}
