// The plug-in's folder from its library path: installed layouts on both
// platforms, paths too short to hold a folder, and paths too long for the buffers.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "plugin_dir.h"

namespace {

struct derived {
    plugin_dir_result result;
    std::string dir;
};

derived derive(const std::string &path)
{
    char dir[512];
    memset(dir, 'x', sizeof(dir));
    plugin_dir_result r = derive_plugin_dir(path.c_str(), path.size() + 1, dir, sizeof(dir));
    return {r, std::string(dir)};
}

TEST(PluginDir, InstalledLayoutKeepsTheFolderAndItsSeparator)
{
    derived win = derive("C:\\X-Plane 12\\Resources\\plugins\\popups\\win_x64\\vxr_pop.xpl");
    EXPECT_EQ(win.result, plugin_dir_result::ok);
    EXPECT_EQ(win.dir, "C:\\X-Plane 12\\Resources\\plugins\\popups\\");

    derived lin = derive("/x/Resources/plugins/popups/lin_x64/vxr_pop.xpl");
    EXPECT_EQ(lin.result, plugin_dir_result::ok);
    EXPECT_EQ(lin.dir, "/x/Resources/plugins/popups/");

    // Native paths on Windows may still mix in forward slashes.
    derived mixed = derive("D:/sim\\Resources/plugins\\popups/win_x64\\vxr_pop.xpl");
    EXPECT_EQ(mixed.result, plugin_dir_result::ok);
    EXPECT_EQ(mixed.dir, "D:/sim\\Resources/plugins\\popups/");

    // Platform folders of other lengths than the usual seven characters.
    derived other = derive("/opt/xp/Resources/plugins/popups/64/vxr_pop.xpl");
    EXPECT_EQ(other.dir, "/opt/xp/Resources/plugins/popups/");
    derived root = derive("/lin_x64/vxr_pop.xpl");
    EXPECT_EQ(root.result, plugin_dir_result::ok);
    EXPECT_EQ(root.dir, "/");
}

TEST(PluginDir, PathsWithoutAFolderAboveThePlatformFolderGiveNone)
{
    for (const char *path : {"", "vxr_pop.xpl", "lin_x64/vxr_pop.xpl", "win_x64\\vxr_pop.xpl",
                             "/x/popups/lin_x64/", "/x/popups//vxr_pop.xpl", "/", "\\\\"}) {
        derived d = derive(path);
        EXPECT_EQ(d.result, plugin_dir_result::too_few_components) << path;
        EXPECT_EQ(d.dir, "") << path;
    }
}

TEST(PluginDir, NothingIsReadOrWrittenOutsideTheBuffers)
{
    // A path buffer with no terminator: only its own bytes may be read.
    char path[600];
    memset(path, 'a', sizeof(path));
    path[10] = '/';
    path[20] = '/';
    char dir[64 + 16];
    memset(dir, '#', sizeof(dir));
    EXPECT_EQ(derive_plugin_dir(path, 512, dir, 64), plugin_dir_result::too_long);
    EXPECT_EQ(dir[0], '\0');
    for (size_t i = 64; i < sizeof(dir); i++)
        ASSERT_EQ(dir[i], '#') << "byte " << i << " written";

    // A folder longer than the folder buffer: refused, the bytes past it untouched.
    std::string long_path = "/" + std::string(600, 'd') + "/lin_x64/vxr_pop.xpl";
    char big_dir[512 + 16];
    memset(big_dir, '#', sizeof(big_dir));
    EXPECT_EQ(derive_plugin_dir(long_path.c_str(), long_path.size() + 1, big_dir, 512), plugin_dir_result::too_long);
    EXPECT_EQ(big_dir[0], '\0');
    for (size_t i = 512; i < sizeof(big_dir); i++)
        ASSERT_EQ(big_dir[i], '#') << "byte " << i << " written";

    // A folder of exactly 511 characters still fits 512 bytes; 512 does not.
    std::string fits = std::string(510, 'f') + "/" + "lin_x64/vxr_pop.xpl";
    memset(big_dir, '#', sizeof(big_dir));
    EXPECT_EQ(derive_plugin_dir(fits.c_str(), fits.size() + 1, big_dir, 512), plugin_dir_result::ok);
    EXPECT_EQ(strlen(big_dir), 511u);
    std::string too_big = std::string(511, 'f') + "/" + "lin_x64/vxr_pop.xpl";
    EXPECT_EQ(derive_plugin_dir(too_big.c_str(), too_big.size() + 1, big_dir, 512), plugin_dir_result::too_long);
    EXPECT_EQ(big_dir[512], '#');
}

}  // namespace
