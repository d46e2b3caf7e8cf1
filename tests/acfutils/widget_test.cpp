/*
 * The resize control and VR following, on the stand-in's real windows: the
 * control follows the geometry and never changes it.
 */
#include <acfutils/widget.h>

#include <gtest/gtest.h>

#include "stand_in.h"

TEST(ResizeControl, UpdateMarksSizeChangesOnlyAndNeverMovesTheWindow)
{
    StandIn sim;
    XPLMWindowID win = sim.window(100, 600, 500, 300);
    win_resize_ctl_t wrc;
    win_resize_ctl_init(&wrc, win, 1024, 768);
    EXPECT_EQ(wrc.win, win);
    EXPECT_EQ(wrc.norm_w, 1024);
    EXPECT_EQ(wrc.norm_h, 768);
    EXPECT_EQ(wrc.right - wrc.left, 400);
    EXPECT_EQ(wrc.top - wrc.bottom, 300);
    EXPECT_FALSE(wrc.resized);

    win_resize_ctl_update(&wrc);
    EXPECT_FALSE(wrc.resized) << "nothing changed";

    XPLMSetWindowGeometry(win, 200, 700, 600, 400);
    win_resize_ctl_update(&wrc);
    EXPECT_FALSE(wrc.resized) << "moved, same size";
    EXPECT_EQ(wrc.left, 200);
    EXPECT_EQ(wrc.top, 700);

    XPLMSetWindowGeometry(win, 200, 700, 712, 316);
    win_resize_ctl_update(&wrc);
    EXPECT_TRUE(wrc.resized);
    EXPECT_EQ(wrc.right, 712);
    EXPECT_EQ(wrc.bottom, 316);
    win_resize_ctl_update(&wrc);
    EXPECT_FALSE(wrc.resized) << "the change was seen at the previous update";

    simhost::Rect r = sim.state(win).rect;
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 700);
    EXPECT_EQ(r.right, 712);
    EXPECT_EQ(r.bottom, 316);
}

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
