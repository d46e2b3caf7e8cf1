// popups.cfg as scenarios read it.
#include <fstream>

#include <gtest/gtest.h>

#include "cfg_file.h"
#include "temp_folder.h"

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
    TempFolder dir;
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
