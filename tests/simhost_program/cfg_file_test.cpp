// popups.cfg as scenarios read it.
#include <fstream>

#include <gtest/gtest.h>

#include "cfg_file.h"
#include "temp_dir.h"

using scenario::parse_cfg_text;
using scenario::read_cfg_file;

TEST(CfgFile, KeysAndValues)
{
    auto values = parse_cfg_text("# popups.cfg\n"
                                 "pfd_nbzl_w = 1024\n"
                                 "\n"
                                 "  pfd_nbzl_monitor_start=-1   # trailing comment\r\n"
                                 "mfd_nbzl_x\t=\t 17 \n"
                                 "not a setting\n"
                                 "# mfd_nbzl_y = 99\n"
                                 " = no key\n"
                                 "title = two words\n"
                                 "empty =\n"
                                 "pfd_nbzl_w = 800\n");
    EXPECT_EQ(values.size(), 5u);
    EXPECT_EQ(values["pfd_nbzl_w"], "800");   // the later line wins
    EXPECT_EQ(values["pfd_nbzl_monitor_start"], "-1");
    EXPECT_EQ(values["mfd_nbzl_x"], "17");
    EXPECT_EQ(values["title"], "two words");
    EXPECT_EQ(values.count("empty"), 1u);
    EXPECT_EQ(values["empty"], "");
    EXPECT_EQ(values.count("mfd_nbzl_y"), 0u);
    EXPECT_TRUE(parse_cfg_text("").empty());
}

TEST(CfgFile, ReadsFilesOnly)
{
    vxr_test::TempDir dir;
    std::map<std::string, std::string> values{{"stale", "1"}};
    EXPECT_FALSE(read_cfg_file(dir.file("missing.cfg"), &values));
    EXPECT_FALSE(read_cfg_file(dir.path(), &values));
    EXPECT_EQ(values.count("stale"), 1u);

    std::ofstream(dir.file("popups.cfg")) << "pfd_nbzl_h = 768\nmfd_nbzl_fill_window = 0\n";
    ASSERT_TRUE(read_cfg_file(dir.file("popups.cfg"), &values));
    EXPECT_EQ(values.size(), 2u);
    EXPECT_EQ(values["pfd_nbzl_h"], "768");
    EXPECT_EQ(values["mfd_nbzl_fill_window"], "0");
}

TEST(CfgFile, ByteOrderMarkLinesAndKeyCounts)
{
    const std::string text = "\xEF\xBB\xBFpfd_nbzl_w = 800\r\n# pfd_nbzl_w = 1\npfd_nbzl_w=900\nlast";
    EXPECT_EQ(parse_cfg_text(text).at("pfd_nbzl_w"), "900");
    EXPECT_EQ(parse_cfg_text(text).size(), 1u);
    EXPECT_EQ(scenario::cfg_lines(text),
              (std::vector<std::string>{"\xEF\xBB\xBFpfd_nbzl_w = 800", "# pfd_nbzl_w = 1", "pfd_nbzl_w=900", "last"}));
    EXPECT_TRUE(scenario::cfg_lines("").empty());
    EXPECT_EQ(scenario::cfg_lines("a\n\n").size(), 2u);
    EXPECT_EQ(scenario::count_cfg_key(text, "pfd_nbzl_w"), 2);
    EXPECT_EQ(scenario::count_cfg_key(text, "pfd_nbzl"), 0);
    EXPECT_EQ(scenario::count_cfg_key("", "pfd_nbzl_w"), 0);
}

TEST(CfgFile, HandEditsReplaceTheFirstLineOfTheKeyOrAppend)
{
    using scenario::edit_cfg_text;
    EXPECT_EQ(edit_cfg_text("a = 1\nb = 2\nb = 3\n", "b = 9"), "a = 1\nb = 9\nb = 3\n");
    EXPECT_EQ(edit_cfg_text("a = 1\r\nb = 2 # old\r\n", "b=9"), "a = 1\r\nb=9\r\n");
    EXPECT_EQ(edit_cfg_text("\xEF\xBB\xBF" "b = 2\n", "b = 9"), "\xEF\xBB\xBF" "b = 9\n");
    EXPECT_EQ(edit_cfg_text("a = 1", "c = 3"), "a = 1\nc = 3\n");
    EXPECT_EQ(edit_cfg_text("# c = 1\n", "# c = 1"), "# c = 1\n# c = 1\n");
    EXPECT_EQ(edit_cfg_text("", "c = 3"), "c = 3\n");
}
