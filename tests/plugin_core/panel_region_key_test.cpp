// A screen's panel_region key as the user writes it: a sound region is
// taken, anything else gives the screen its default, and a region is held
// against the panel's size.
#include <gtest/gtest.h>

#include <acfutils/conf.h>

#include "Capture/panel_region_key.h"

namespace {

constexpr size_t copilot = 2;   // the copilot's PFD: no default region

bool same(const panel_rect &a, const panel_rect &b)
{
    return a.left == b.left && a.bottom == b.bottom && a.width == b.width && a.height == b.height;
}

panel_rect region_for(size_t screen, const char *key, const char *text)
{
    conf_t *conf = conf_create_empty();
    conf_set_str(conf, key, text);
    panel_rect r = panel_region_of(screen, conf);
    conf_free(conf);
    return r;
}

TEST(PanelRegionKey, ASoundRegionIsTakenAndAnythingElseGivesTheDefault)
{
    EXPECT_TRUE(same(region_for(copilot, "pfd2_nbzl_panel_region", "1024 0 1024 768"), {1024, 0, 1024, 768}));
    EXPECT_TRUE(same(region_for(copilot, "pfd2_nbzl_panel_region", "  10 20 64 64  "), {10, 20, 64, 64}));
    EXPECT_TRUE(same(region_for(screen_mfd, "mfd_nbzl_panel_region", "0 0 512 384"), {0, 0, 512, 384}));
    // Another screen's key is not this one's.
    EXPECT_TRUE(same(region_for(screen_pfd, "mfd_nbzl_panel_region", "0 0 512 384"), {0, 0, 1024, 768}));

    const char *bad[] = {"",           "0 0 1024",        "0 0 1024 768 9", "0 0 1024 768x", "a b c d",
                         "0 0 1e3 768", "0 0 1024.5 768", "-1 0 1024 768",  "0 -5 1024 768", "0 0 63 768",
                         "0 0 1024 63", "0 0 0 0",        "99999999999 0 1024 768"};
    for (const char *text : bad) {
        EXPECT_TRUE(same(region_for(screen_mfd, "mfd_nbzl_panel_region", text), {1024, 0, 1024, 768})) << text;
        EXPECT_EQ(region_for(copilot, "pfd2_nbzl_panel_region", text).width, 0) << text;
    }
    EXPECT_TRUE(same(panel_region_of(screen_pfd, nullptr), {0, 0, 1024, 768})) << "no settings file";
}

TEST(PanelRegionKey, ARegionFitsThePanelUpToItsEdges)
{
    EXPECT_TRUE(panel_region_fits(copilot, {1024, 256, 1024, 768}, 2048, 1024));
    EXPECT_FALSE(panel_region_fits(copilot, {1025, 0, 1024, 768}, 2048, 1024));
    EXPECT_FALSE(panel_region_fits(copilot, {0, 257, 1024, 768}, 2048, 1024));
    EXPECT_FALSE(panel_region_fits(copilot, {2000000000, 0, 2000000000, 768}, 2048, 1024)) << "no overflow";
}

}  // namespace
