/*
 * The logger: the finished line the sink receives, base names of source
 * paths, long messages, and whole lines from many threads at once.
 */
#include <acfutils/log.h>

#include <regex>
#include <thread>
#include <gtest/gtest.h>

#include "test_util.h"

using acf_test::LogCapture;

TEST(Log, HandsTheSinkOneFinishedLine)
{
    LogCapture log("VXR V20 (QLB) POPUP");
    log_impl("Main.cpp", 42, "XPLMEnable");
    log_impl("config.cpp", 7, "Created Configuration: %s with path %s (%d)", "popups.cfg", "/p/popups.cfg", -3);
    std::vector<std::string> expected = {
        "VXR V20 (QLB) POPUP[Main.cpp:42]: XPLMEnable\n",
        "VXR V20 (QLB) POPUP[config.cpp:7]: Created Configuration: popups.cfg with path /p/popups.cfg (-3)\n",
    };
    EXPECT_EQ(log.lines(), expected);
}

TEST(Log, LogMsgNamesTheCallersBaseNameAndLine)
{
    LogCapture log("P");
    const int line = __LINE__ + 1;
    logMsg("value %d", 5);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "P[log_test.cpp:" + std::to_string(line) + "]: value 5\n");
}

TEST(Log, MessagesAlwaysMakeExactlyOneLine)
{
    LogCapture log("P");
    log_impl("a.cpp", 1, "ends with its own newline\n");
    std::string huge(10000, 'x');
    log_impl("a.cpp", 2, "%s", huge.c_str());

    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "P[a.cpp:1]: ends with its own newline\n");
    const std::string &cut = lines[1];
    EXPECT_LT(cut.size(), huge.size());
    EXPECT_EQ(cut.rfind("P[a.cpp:2]: xxxx", 0), 0u);
    EXPECT_EQ(cut.back(), '\n');
    EXPECT_EQ(cut.find('\n'), cut.size() - 1);
}

TEST(Log, BasenameIsTheTextAfterTheLastSlashOrElseBackslash)
{
    EXPECT_STREQ(log_basename("/src/plugin/Popups/popupSystem.cpp"), "popupSystem.cpp");
    EXPECT_STREQ(log_basename("C:\\src\\plugin\\Main.cpp"), "Main.cpp");
    EXPECT_STREQ(log_basename("Main.cpp"), "Main.cpp");
    EXPECT_STREQ(log_basename("C:\\src/plugin\\Main.cpp"), "plugin\\Main.cpp");
    EXPECT_STREQ(log_basename("dir/"), "");
}

TEST(Log, LinesFromManyThreadsArriveWholeAndInEachThreadsOrder)
{
    LogCapture log("P");
    constexpr int threads = 6, per_thread = 400;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; t++) {
        workers.emplace_back([t] {
            for (int i = 0; i < per_thread; i++)
                log_impl("w.cpp", t, "thread %d message %d %s", t, i, "padding-padding-padding");
        });
    }
    for (auto &w : workers)
        w.join();

    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(threads * per_thread));
    const std::regex shape(R"(P\[w\.cpp:(\d)\]: thread (\d) message (\d+) padding-padding-padding\n)");
    std::vector<int> next(threads, 0);
    for (const std::string &line : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, shape)) << line;
        int t = std::stoi(m[2]);
        EXPECT_EQ(std::stoi(m[1]), t);
        EXPECT_EQ(std::stoi(m[3]), next[t]++);
    }
}

TEST(Log, WithoutASinkLinesGoToStandardError)
{
    log_init(nullptr, "ERR");
    testing::internal::CaptureStderr();
    log_impl("e.cpp", 3, "to stderr");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERR[e.cpp:3]: to stderr\n");
}
