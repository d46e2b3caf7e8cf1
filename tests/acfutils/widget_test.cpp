/*
 * VR following, on the stand-in's real windows.
 */
#include <acfutils/widget.h>

#include <gtest/gtest.h>

#include "stand_in.h"

TEST(FollowVR, OutsideVRTheWindowStaysAsItIs)
{
    StandIn sim;
    XPLMWindowID win = sim.window(100, 600, 500, 300);
    window_follow_VR(win);
    simhost::WindowState w = sim.state(win);
    EXPECT_EQ(w.mode, simhost::WindowMode::free);
    EXPECT_EQ(XPLMWindowIsInVR(win), 0);
    EXPECT_EQ(w.rect.left, 100);
    EXPECT_EQ(w.rect.top, 600);
    EXPECT_EQ(w.rect.right, 500);
    EXPECT_EQ(w.rect.bottom, 300);
}
