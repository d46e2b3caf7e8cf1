/*
 * Path joining and the file-system queries.
 */
#include <acfutils/helpers.h>

#include <string>
#include <gtest/gtest.h>

#include "test_util.h"

namespace {
std::string take(char *s)
{
    std::string copy(s);
    lacf_free(s);
    return copy;
}
}  // namespace

TEST(Helpers, MkpathnameJoinsComponentsWithTheSeparator)
{
    EXPECT_EQ(take(mkpathname("/x/plugins/popups", "settings", "popups.cfg", nullptr)),
        "/x/plugins/popups/settings/popups.cfg");
    EXPECT_EQ(take(mkpathname("alone", nullptr)), "alone");
    EXPECT_EQ(take(mkpathname("/x/popups/", "settings", nullptr)), "/x/popups/settings");
    EXPECT_EQ(take(mkpathname("", "rel", nullptr)), "rel");
    EXPECT_EQ(take(mkpathname("a", "", "b", nullptr)), "a/b");
}

TEST(Helpers, FileExistsTellsFilesFoldersAndNothing)
{
    acf_test::TempDir dir;
    acf_test::write_file(dir.file("f"), "x");
    bool isdir = true;
    EXPECT_TRUE(file_exists(dir.file("f").c_str(), &isdir));
    EXPECT_FALSE(isdir);
    EXPECT_TRUE(file_exists(dir.path().c_str(), &isdir));
    EXPECT_TRUE(isdir);
    isdir = true;
    EXPECT_FALSE(file_exists(dir.file("missing").c_str(), &isdir));
    EXPECT_FALSE(isdir);
    EXPECT_TRUE(file_exists(dir.file("f").c_str(), nullptr));
}

TEST(Helpers, CreateDirectoryIsTrueOnlyWhenAFolderIsThere)
{
    acf_test::TempDir dir;
    std::string sub = dir.file("settings");
    EXPECT_TRUE(create_directory(sub.c_str()));
    bool isdir = false;
    EXPECT_TRUE(file_exists(sub.c_str(), &isdir) && isdir);
    EXPECT_TRUE(create_directory(sub.c_str()));

    acf_test::write_file(dir.file("plain"), "x");
    EXPECT_FALSE(create_directory(dir.file("plain").c_str()));
    EXPECT_FALSE(create_directory(dir.file("no/such/parent").c_str()));
}
