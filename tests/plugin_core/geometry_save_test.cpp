// Right clicks on a popup's corners, given with the host's mouse: the corner
// zones and their boundaries, what each corner saves, and what it does to the
// windows.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <XPLMDisplay.h>

#include "config.h"
#include "core_test_util.h"
#include "Popups/geometry_save.h"
#include "Popups/popupSystem.h"

namespace {

using core_test::mfd_title;
using core_test::pfd_title;
using vxr_test::read_cfg;
using core_test::window_of;
using simhost::MouseButton;
using simhost::monitor_rect;
using vxr_test::LinkedSim;

// Monitors no display unit has the width of, so nothing is assigned at start.
std::vector<simhost::Rect> desk_monitors()
{
    return {monitor_rect(1920, 1080, 0, 0), monitor_rect(1280, 1024, 1920, 0), monitor_rect(1600, 900, 3200, 0)};
}

// Opens a popup by its command, centred on the mouse at (x, y): 1024 x 768.
simhost::Rect open_at(LinkedSim &sim, const std::string &command, const std::string &title, int x, int y)
{
    sim.host->mouse_move(x, y);
    EXPECT_TRUE(sim.host->command(command));
    simhost::WindowState w = window_of(sim, title);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.rect.left, x - 512);
    EXPECT_EQ(w.rect.top, y + 384);
    return w.rect;
}

// Drags an open window sideways by its top strip; returns where it is then.
simhost::Rect drag_by(LinkedSim &sim, const std::string &title, int dx)
{
    simhost::Rect r = window_of(sim, title).rect;
    int x = (r.left + r.right) / 2, y = r.top - 10;
    sim.host->mouse_down(x, y, MouseButton::left);
    sim.host->mouse_drag(x + dx, y, MouseButton::left);
    sim.host->mouse_up(x + dx, y, MouseButton::left);
    simhost::Rect moved = window_of(sim, title).rect;
    EXPECT_EQ(moved.left, r.left + dx);
    return moved;
}

void right_click(LinkedSim &sim, int x, int y)
{
    sim.host->mouse_down(x, y, MouseButton::right);
    sim.host->mouse_up(x, y, MouseButton::right);
}

struct saved {
    int x, y, w, h, at_start, monitor;
};

saved pfd_saved()
{
    popup_prefs &p = pfd_nbzl_prefs;
    return {p.x->get(), p.y->get(), p.w->get(), p.h->get(), p.popup_at_start->get(), p.monitor_start->get()};
}

bool operator==(const saved &a, const saved &b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h && a.at_start == b.at_start && a.monitor == b.monitor;
}

std::ostream &operator<<(std::ostream &os, const saved &s)
{
    return os << "{" << s.x << " " << s.y << " " << s.w << " " << s.h << " " << s.at_start << " " << s.monitor << "}";
}

TEST(GeometrySave, TopRightSavesTheRectangleForPoppingOut)
{
    LinkedSim sim(desk_monitors());
    simhost::Rect r = open_at(sim, "vxr/popup/PFD_NOBEZEL", pfd_title, 612, 500);
    sim.mark();
    right_click(sim, r.right - 10, r.top - 10);
    EXPECT_EQ(sim.count_logged("Save Popout Window Location"), 1);
    EXPECT_EQ(pfd_saved(), (saved{r.left, r.bottom, 1024, 768, 1, -1}));

    // The window itself stays as it was.
    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.mode, simhost::WindowMode::free);
    EXPECT_EQ(w.rect.left, r.left);
    EXPECT_EQ(w.rect.bottom, r.bottom);

    // Closed and opened again, it pops out at the saved rectangle.
    ASSERT_TRUE(sim.host->command("vxr/popup/PFD_NOBEZEL"));
    ASSERT_TRUE(sim.host->command("vxr/popup/PFD_NOBEZEL"));
    w = window_of(sim, pfd_title);
    EXPECT_EQ(w.mode, simhost::WindowMode::popout);
    EXPECT_EQ(w.rect.left, r.left);
    EXPECT_EQ(w.rect.top, r.top);
    EXPECT_EQ(w.rect.right, r.right);
    EXPECT_EQ(w.rect.bottom, r.bottom);
}

TEST(GeometrySave, TheCornersAre49PixelsAndTheEdgeLineIsInNone)
{
    LinkedSim sim(desk_monitors());
    simhost::Rect r = open_at(sim, "vxr/popup/PFD_NOBEZEL", pfd_title, 612, 500);
    saved before = pfd_saved();

    // 50 pixels in from either edge is past the corner.
    sim.mark();
    right_click(sim, r.left + 50, r.top - 10);
    right_click(sim, r.left + 10, r.top - 50);
    right_click(sim, r.right - 50, r.top - 10);
    right_click(sim, r.right - 10, r.bottom + 50);
    // Nothing acted on: the plug-in says nothing, and the window keeps each
    // press (passed on, the simulator's mouse tracking would lose it).
    EXPECT_EQ(sim.count_logged("POPUP["), 0);
    EXPECT_EQ(sim.count_logged("simhost: the simulator takes the right click"), 0);
    EXPECT_EQ(pfd_saved(), before);

    // On the edge lines themselves, where the host may not route the click.
    XPLMWindowID win = PFD_popup.win;
    EXPECT_EQ(save_geometry_click(win, r.left, r.top - 10, xplm_MouseDown, &PFD_popup), 1);
    EXPECT_EQ(save_geometry_click(win, r.right - 10, r.top, xplm_MouseDown, &PFD_popup), 1);
    EXPECT_EQ(save_geometry_click(win, r.right, r.bottom + 10, xplm_MouseDown, &PFD_popup), 1);
    EXPECT_EQ(sim.count_logged("POPUP["), 0);
    EXPECT_EQ(pfd_saved(), before);

    // 49 in from both the top and the right: the top-right corner.
    sim.mark();
    right_click(sim, r.right - 49, r.top - 49);
    EXPECT_EQ(sim.count_logged("Save Popout Window Location"), 1);
    EXPECT_EQ(sim.count_logged("simhost: the simulator takes"), 0) << "acted on, so taken";
}

TEST(GeometrySave, BottomCornersSwapOnTheRightAndDoNothingOnTheLeft)
{
    LinkedSim sim(desk_monitors());
    simhost::Rect r = open_at(sim, "vxr/popup/PFD_NOBEZEL", pfd_title, 612, 500);
    sim.mark();
    right_click(sim, r.left + 1, r.bottom + 1);
    EXPECT_EQ(sim.count_logged("POPUP["), 0);

    right_click(sim, r.right - 1, r.bottom + 1);
    EXPECT_TRUE(sim.logged_in_order({"Attempting VXR Screen Swap", "Unable to swap monitors! Windows do not exist!!"}));
}

TEST(GeometrySave, OnlyTheButtonGoingDownActs)
{
    LinkedSim sim(desk_monitors());
    simhost::Rect r = open_at(sim, "vxr/popup/PFD_NOBEZEL", pfd_title, 612, 500);
    saved before = pfd_saved();
    sim.mark();
    // A right-button gesture that starts on the face and ends in the top-right corner.
    sim.host->mouse_down(612, 500, MouseButton::right);
    sim.host->mouse_drag(r.right - 20, r.top - 20, MouseButton::right);
    sim.host->mouse_drag(r.right - 10, r.top - 10, MouseButton::right);
    sim.host->mouse_up(r.right - 10, r.top - 10, MouseButton::right);
    EXPECT_EQ(sim.count_logged("Save"), 0);
    EXPECT_EQ(pfd_saved(), before);
}

TEST(GeometrySave, TopLeftSavesTheMonitorUnderTheClickAndReopensThere)
{
    LinkedSim sim(desk_monitors());
    // Dragged to straddle monitors 1 and 2, its top-left corner on monitor 1.
    open_at(sim, "vxr/popup/PFD_NOBEZEL", pfd_title, 2560, 500);
    simhost::Rect r = drag_by(sim, pfd_title, 1040);
    std::string cfg_before = vxr_test::read_file(sim.root.settings_file());
    sim.mark();
    right_click(sim, r.left + 49, r.top - 49);
    EXPECT_TRUE(sim.logged_in_order({"Save Monitor Full Screen", "Monitor 2: [L: 3200 T: 900], [R: 4800 B: 0]",
        "In Toggle Popup Callback", "Popup Closed", "In Toggle Popup Callback", "Setting Position", "Window Opened"}));
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 1);
    EXPECT_EQ(pfd_nbzl_prefs.popup_at_start->get(), 2);
    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.mode, simhost::WindowMode::fullscreen);
    EXPECT_EQ(w.monitor, 1);
    // Saved in memory only until the plug-in is disabled.
    EXPECT_EQ(vxr_test::read_file(sim.root.settings_file()), cfg_before);
    sim.host->disable();
    EXPECT_EQ(read_cfg(sim.root.settings_file()).entries["pfd_nbzl_monitor_start"], "1");
}

TEST(GeometrySave, ATopLeftClickOnAMonitorEdgeSavesNoMonitor)
{
    LinkedSim sim(desk_monitors());
    // Dragged to a left edge at 1900: x 1920 is on the border of monitors 0 and 1.
    open_at(sim, "vxr/popup/PFD_NOBEZEL", pfd_title, 2560, 500);
    simhost::Rect r = drag_by(sim, pfd_title, -148);
    right_click(sim, 1920, r.top - 10);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), -1);
    EXPECT_EQ(pfd_nbzl_prefs.popup_at_start->get(), 2);
    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.mode, simhost::WindowMode::free);
}

TEST(GeometrySave, BottomRightSwapsTwoWindowsSavedFullScreen)
{
    LinkedSim sim(desk_monitors());
    sim.host->run_frames(51);
    simhost::Rect p = open_at(sim, "vxr/popup/PFD_NOBEZEL", pfd_title, 2560, 500);
    right_click(sim, p.left + 10, p.top - 10);
    simhost::Rect m = open_at(sim, "vxr/popup/MFD_NOBEZEL", mfd_title, 4000, 450);
    right_click(sim, m.left + 10, m.top - 10);
    ASSERT_EQ(window_of(sim, pfd_title).monitor, 1);
    ASSERT_EQ(window_of(sim, mfd_title).monitor, 2);

    // The PFD now covers monitor 1: its bottom-right corner is the monitor's.
    simhost::Rect pfd = window_of(sim, pfd_title).rect;
    right_click(sim, pfd.right - 5, pfd.bottom + 5);
    EXPECT_EQ(window_of(sim, pfd_title).monitor, 2);
    EXPECT_EQ(window_of(sim, mfd_title).monitor, 1);
    EXPECT_EQ(pfd_nbzl_prefs.monitor_start->get(), 2);
    EXPECT_EQ(mfd_nbzl_prefs.monitor_start->get(), 1);
}

}  // namespace
