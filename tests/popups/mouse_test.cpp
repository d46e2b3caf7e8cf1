// The mouse on a popup window: each zone's action and cursor, floating and
// popped out, the zone boundaries, dragging and aspect-keeping resizing.
#include <cstdlib>

#include <gtest/gtest.h>

#include "Popups/popupSystem.h"
#include "Popups/popup_callbacks.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using simhost::MouseButton;
using simhost::Rect;
using vxr_test::LinkedSim;

// One tall monitor, so that windows may stand well above and below y = 0.
std::vector<Rect> tall_monitor()
{
    return {simhost::monitor_rect(1920, 2000, 0, -800)};
}

// Opens the PFD centred on (x, y): 1024 x 768 with the default preferences.
Rect open_pfd_at(LinkedSim &sim, int x, int y)
{
    sim.host->mouse_move(x, y);
    if (!sim.host->command(pfd_cmd))
        throw std::runtime_error("no PFD command");
    return rect_of(sim, pfd_title);
}

void click(LinkedSim &sim, int x, int y)
{
    sim.host->mouse_down(x, y, MouseButton::left);
    sim.host->mouse_up(x, y, MouseButton::left);
}

void drag(LinkedSim &sim, int x0, int y0, int x1, int y1)
{
    sim.host->mouse_down(x0, y0, MouseButton::left);
    sim.host->mouse_drag(x1, y1, MouseButton::left);
    sim.host->mouse_up(x1, y1, MouseButton::left);
}

// The cursor with the pointer at (x, y): "default", "arrow", or for a custom
// one the file of the plug-in's cursor the desktop shows.
std::string cursor_at(LinkedSim &sim, int x, int y)
{
    sim.host->mouse_move(x, y);
    sim.host->run_frames(1);
    simhost::CursorState c = sim.host->cursor();
    if (c.status == xplm_CursorDefault)
        return "default";
    if (c.status == xplm_CursorArrow)
        return "arrow";
    if (c.status != xplm_CursorCustom)
        return "status " + std::to_string(c.status);
    return c.custom_name.empty() ? "custom, none of the plug-in's on the desktop" : c.custom_name;
}

TEST(PopupMouse, EachZoneOfAFloatingWindowShowsItsCursor)
{
    LinkedSim sim;
    VXR_SKIP_WITHOUT_DESKTOP(sim.host);
    Rect r = open_pfd_at(sim, 960, 540);
    ASSERT_TRUE(same_rect(r, Rect{448, 924, 1472, 156}));

    EXPECT_EQ(cursor_at(sim, r.left + 10, r.top - 10), "b_close.png");
    EXPECT_EQ(cursor_at(sim, r.right - 10, r.top - 10), "b_pop.png");
    EXPECT_EQ(cursor_at(sim, r.right - 10, r.bottom + 10), "b_resize_r.png");
    EXPECT_EQ(cursor_at(sim, r.left + 10, r.bottom + 10), "b_resize_l.png");
    EXPECT_EQ(cursor_at(sim, 960, r.top - 10), "m_click.png");
    EXPECT_EQ(cursor_at(sim, 960, r.bottom + 10), "m_click.png");
    EXPECT_EQ(cursor_at(sim, 960, 540), "arrow");

    // Boundaries: 49 pixels from an edge is near it, 50 is not; the strip at
    // the bottom is 24 pixels high; the edge line itself is in no zone.
    EXPECT_EQ(cursor_at(sim, r.left + 49, r.top - 49), "b_close.png");
    EXPECT_EQ(cursor_at(sim, r.left + 50, r.top - 49), "m_click.png");
    EXPECT_EQ(cursor_at(sim, r.left + 49, r.top - 50), "arrow");
    EXPECT_EQ(cursor_at(sim, r.right - 49, r.bottom + 49), "b_resize_r.png");
    EXPECT_EQ(cursor_at(sim, r.right - 50, r.bottom + 24), "m_click.png");
    EXPECT_EQ(cursor_at(sim, 960, r.bottom + 25), "arrow");
    EXPECT_EQ(cursor_at(sim, r.left + 1, 540), "arrow");
    EXPECT_EQ(cursor_at(sim, 960, r.top - 1), "m_click.png");
    EXPECT_EQ(popup_cursor(PFD_popup.win, r.left, 540, &PFD_popup), xplm_CursorDefault);
    EXPECT_EQ(popup_cursor(PFD_popup.win, 960, r.top, &PFD_popup), xplm_CursorDefault);
    EXPECT_EQ(popup_cursor(PFD_popup.win, r.left, r.top, &PFD_popup), xplm_CursorDefault);
}

TEST(PopupMouse, APoppedOutWindowHasNoDragOrResizeZones)
{
    LinkedSim sim;
    VXR_SKIP_WITHOUT_DESKTOP(sim.host);
    Rect r = open_pfd_at(sim, 960, 540);
    sim.mark();
    click(sim, r.right - 10, r.top - 10);
    EXPECT_EQ(sim.count_logged("Popout Window VXR G1000 PFD Bezelless"), 1);
    ASSERT_EQ(window_of(sim, pfd_title).mode, simhost::WindowMode::popout);
    r = rect_of(sim, pfd_title);

    EXPECT_EQ(cursor_at(sim, r.left + 10, r.top - 10), "b_close.png");
    EXPECT_EQ(cursor_at(sim, r.right - 10, r.top - 10), "b_pop.png");
    EXPECT_EQ(cursor_at(sim, r.right - 10, r.bottom + 10), "m_click.png");
    EXPECT_EQ(cursor_at(sim, r.left + 10, r.bottom + 30), "arrow");
    EXPECT_EQ(cursor_at(sim, r.left + 300, r.top - 10), "arrow");

    // The strips and bottom corners are face: no drag, no resize.
    sim.mark();
    drag(sim, r.left + 300, r.top - 10, r.left + 400, r.top - 100);
    drag(sim, r.right - 10, r.bottom + 10, r.right + 100, r.bottom - 100);
    EXPECT_EQ(sim.count_logged("Drag Window"), 0);
    EXPECT_EQ(sim.count_logged("Click at"), 2);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), r));

    // The pop-out corner asks again; the close corner hides it still popped out.
    sim.mark();
    click(sim, r.right - 10, r.top - 10);
    EXPECT_EQ(sim.count_logged("Popout Window VXR G1000 PFD Bezelless"), 1);
    click(sim, r.left + 10, r.top - 10);
    EXPECT_EQ(sim.count_logged("Close Window VXR G1000 PFD Bezelless"), 1);
    EXPECT_EQ(sim.count_logged("Popup Closed"), 0);
    simhost::WindowState w = window_of(sim, pfd_title);
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(w.mode, simhost::WindowMode::popout);
    EXPECT_EQ(sim.host->live().draw_callbacks, 0);
}

TEST(PopupMouse, TheCloseCornerReaches49PixelsIn)
{
    LinkedSim sim;
    Rect r = open_pfd_at(sim, 960, 540);
    int threads_open = sim.host->live().threads;

    sim.mark();
    click(sim, r.left + 50, r.top - 49);
    click(sim, r.left + 49, r.top - 50);
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
    EXPECT_EQ(sim.count_logged("Close Window"), 0);

    click(sim, r.left + 49, r.top - 49);
    EXPECT_TRUE(sim.logged_in_order({"Click at 49.00 49.00", "Close Window VXR G1000 PFD Bezelless"}));
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
    EXPECT_EQ(sim.host->live().draw_callbacks, 0);
    EXPECT_EQ(sim.host->live().threads, threads_open);
    // Nothing is saved by closing.
    EXPECT_EQ(PFD_popup.prefs->popup_at_start->get(), 0);
}

TEST(PopupMouse, TheStripsDragTheWindowKeepingItsSize)
{
    LinkedSim sim;
    VXR_SKIP_WITHOUT_DESKTOP(sim.host);
    Rect r = open_pfd_at(sim, 960, 540);
    sim.mark();
    drag(sim, 900, r.top - 10, 1000, r.top - 60);
    EXPECT_EQ(sim.count_logged("Drag Window VXR G1000 PFD Bezelless"), 1);
    Rect moved{r.left + 100, r.top - 50, r.right + 100, r.bottom - 50};
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), moved));
    EXPECT_EQ(PFD_popup.dragging, 0);

    drag(sim, 900, moved.bottom + 5, 850, moved.bottom + 25);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{moved.left - 50, moved.top + 20, moved.right - 50,
                                                        moved.bottom + 20}));
    EXPECT_EQ(cursor_at(sim, 960, 540), "arrow");
}

TEST(PopupMouse, ADragFromTheLeftEdgeLineDoesNotMove)
{
    LinkedSim sim;
    Rect r = open_pfd_at(sim, 960, 540);
    sim.mark();
    drag(sim, r.left, r.top - 10, r.left + 200, r.top - 210);
    EXPECT_EQ(sim.count_logged("Drag Window VXR G1000 PFD Bezelless"), 1);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), r));
}

TEST(PopupMouse, ResizingKeepsTheTopAndTheImageAspect)
{
    LinkedSim sim(tall_monitor());
    Rect r = open_pfd_at(sim, 960, 900 - 384);
    ASSERT_EQ(r.top, 900);

    // Right edge to 683 wide: the bottom is trunc(900 - 512.25).
    sim.mark();
    drag(sim, r.right - 10, r.bottom + 10, r.left + 683 - 10, r.bottom + 10);
    EXPECT_EQ(sim.count_logged("Drag Window"), 0);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{r.left, 900, r.left + 683, 387}));
    EXPECT_EQ(PFD_popup.resize_side, 0);

    // Moved so that its top is at 100: the bottom is trunc(-412.25), toward zero.
    r = rect_of(sim, pfd_title);
    drag(sim, r.left + 300, r.top - 10, r.left + 300, 100 - 10);
    r = rect_of(sim, pfd_title);
    ASSERT_EQ(r.top, 100);
    drag(sim, r.right - 10, r.bottom + 10, r.right - 11, r.bottom + 10);
    drag(sim, r.right - 11, r.bottom + 10, r.right - 10, r.bottom + 10);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{r.left, 100, r.left + 683, -412}));

    // The left edge moves on its own; the right one stays.
    r = rect_of(sim, pfd_title);
    drag(sim, r.left + 10, r.bottom + 10, r.left + 110, r.bottom + 10);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{r.left + 100, 100, r.right, 100 - 437}));
}

TEST(PopupMouse, ResizingStopsAt256PixelsWide)
{
    LinkedSim sim(tall_monitor());
    Rect r = open_pfd_at(sim, 960, 500);
    drag(sim, r.right - 10, r.bottom + 10, r.left + 100, r.bottom + 10);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{r.left, r.top, r.left + 256, r.top - 192}));

    // Grown back to 1024 by the right corner, then the left edge pulled past the floor.
    r = rect_of(sim, pfd_title);
    drag(sim, r.right - 10, r.bottom + 10, r.left + 1024 - 10, r.bottom + 10);
    r = rect_of(sim, pfd_title);
    ASSERT_EQ(r.width(), 1024);
    drag(sim, r.left + 10, r.bottom + 10, r.right - 100, r.bottom + 10);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{r.right - 256, r.top, r.right, r.top - 192}));

    // A pixel more than the floor grows again: 257 wide, trunc(top - 192.75).
    r = rect_of(sim, pfd_title);
    drag(sim, r.right - 10, r.bottom + 10, r.right - 9, r.bottom + 10);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{r.left, r.top, r.left + 257, r.top - 193}));
}

// The pointer of a corner resize may leave the window on any side; the side
// taken at the mouse-down keeps moving, the other edge never does.
TEST(PopupMouse, ACornerResizeKeepsItsSideUntilTheMouseUp)
{
    LinkedSim sim(tall_monitor());
    Rect r = open_pfd_at(sim, 960, 500);
    Rect narrowest{r.left, r.top, r.left + 256, r.top - 192};

    // The right corner pulled past the left edge and below the window.
    sim.host->mouse_down(r.right - 10, r.bottom + 10, MouseButton::left);
    sim.host->mouse_drag(r.left + 100, r.bottom + 10, MouseButton::left);
    sim.host->mouse_drag(r.left - 100, r.bottom + 10, MouseButton::left);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), narrowest));
    sim.host->mouse_drag(r.left - 300, r.bottom - 200, MouseButton::left);
    sim.host->mouse_up(r.left - 300, r.bottom - 200, MouseButton::left);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), narrowest));
    EXPECT_EQ(PFD_popup.resize_side, 0);

    // Grown back, then the left corner pulled past the right edge.
    drag(sim, narrowest.right - 10, narrowest.bottom + 10, r.right - 10, r.bottom + 10);
    ASSERT_TRUE(same_rect(rect_of(sim, pfd_title), r));
    sim.host->mouse_down(r.left + 10, r.bottom + 10, MouseButton::left);
    sim.host->mouse_drag(r.right - 100, r.bottom + 10, MouseButton::left);
    sim.host->mouse_drag(r.right + 100, r.bottom + 10, MouseButton::left);
    sim.host->mouse_up(r.right + 100, r.bottom - 100, MouseButton::left);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{r.right - 256, r.top, r.right, r.top - 192}));

    // Over, a click on the face resizes nothing.
    Rect now = rect_of(sim, pfd_title);
    sim.mark();
    click(sim, now.left + 128, now.top - 96);
    EXPECT_EQ(sim.count_logged("Click at 512.00 384.00"), 1);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), now));
}

// The window's resizing limits: 256 to 4096 wide, at most 4096 high. A 1024 x
// 768 image reaches 4096 wide first, 3072 high.
TEST(PopupMouse, AResizeStopsAtTheLimitsKeepingTheAspectAndTheFixedEdges)
{
    LinkedSim sim(tall_monitor());
    Rect r = open_pfd_at(sim, 960, 500);

    drag(sim, r.right - 10, r.bottom + 10, r.right + 6000, r.bottom - 6000);
    Rect widest{r.left, r.top, r.left + 4096, r.top - 3072};
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), widest));

    // Back inside the limits, the corner follows the pointer again.
    drag(sim, widest.right - 10, widest.bottom + 10, r.left + 2048 - 10, widest.bottom + 10);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{r.left, r.top, r.left + 2048, r.top - 1536}));

    // The left corner: the right edge stays where it is.
    Rect now = rect_of(sim, pfd_title);
    drag(sim, now.left + 10, now.bottom + 10, now.left - 6000, now.bottom - 6000);
    EXPECT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{now.right - 4096, now.top, now.right, now.top - 3072}));
}

TEST(PopupMouse, AClickOnTheFaceLogsImageCoordinates)
{
    LinkedSim sim;
    Rect r = open_pfd_at(sim, 960, 540);
    sim.mark();
    click(sim, 960, 540);
    click(sim, r.left + 256, r.top - 192);
    EXPECT_TRUE(sim.logged_in_order({"Click at 512.00 384.00", "Click at 256.00 192.00"}));
    EXPECT_TRUE(window_of(sim, pfd_title).visible);

    // Whatever the window's size, the middle is the image's middle.
    drag(sim, r.right - 10, r.bottom + 10, r.left + 684 - 10, r.bottom + 10);
    r = rect_of(sim, pfd_title);
    ASSERT_EQ(r.width(), 684);
    ASSERT_EQ(r.height(), 513);
    sim.mark();
    click(sim, r.left + 342, r.top - 171);
    EXPECT_EQ(sim.count_logged("Click at 512.00 256.00"), 1);
}

// With fill_window 0 on a 1024 x 600 unit the picture is 800 x 600, 112 pixels
// in from the window's left edge: the face is measured on the picture, so a
// click's image point is where it is drawn.
TEST(PopupMouse, TheFaceIsMeasuredOnThePictureAsDrawn)
{
    LinkedSim sim(wide_unit_monitors(), false);
    VXR_SKIP_WITHOUT_DESKTOP(sim.host);
    load_with_settings(sim, {"pfd_nbzl_monitor_start = 1", "pfd_nbzl_popup_at_start = -1",
                             "pfd_nbzl_fill_window = 0"});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.host->run_frames(1);
    ASSERT_TRUE(same_rect(rect_of(sim, pfd_title), Rect{0, 600, 1024, 0}));

    sim.mark();
    click(sim, 112 + 100, 300);
    click(sim, 56, 150);
    EXPECT_TRUE(sim.logged_in_order({"Click at 128.00 384.00", "Click at -71.68 576.00"}));
    EXPECT_EQ(cursor_at(sim, 112 + 100, 300), "arrow");

    // Stretched over the window, the face is the whole window again.
    PFD_popup.prefs->fill_window->set(1);
    sim.mark();
    click(sim, 112 + 100, 300);
    EXPECT_EQ(sim.count_logged("Click at 212.00 384.00"), 1);
    EXPECT_EQ(cursor_at(sim, 112 + 100, 300), "arrow");
}

// Without a display the plug-in still loads and its zones act; the cursor
// library says once that cursors are off, and the cursor callback leaves the
// simulator's cursor (xplm_CursorDefault) rather than claim a custom one.
TEST(PopupMouse, WithoutADisplayEveryZoneLeavesTheSimulatorsCursor)
{
    LinkedSim sim({}, false);
    const char *display = getenv("DISPLAY");
    std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    sim.mark();
    sim.load();
    Rect r = open_pfd_at(sim, 960, 540);
    if (display != nullptr)
        setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(sim.count_logged("Cursors are off"), 1);
    for (auto [x, y] : {std::pair{r.left + 10, r.top - 10}, {r.right - 10, r.top - 10}, {r.right - 10, r.bottom + 10},
                        {r.left + 10, r.bottom + 10}, {960, r.top - 10}}) {
        EXPECT_EQ(cursor_at(sim, x, y), "default") << x << "," << y;
        EXPECT_EQ(sim.host->cursor().custom_name, "");
    }
    EXPECT_EQ(cursor_at(sim, 960, 540), "arrow");
    EXPECT_EQ(sim.count_logged("Cursors are off"), 1) << "said once";

    click(sim, r.left + 10, r.top - 10);
    EXPECT_FALSE(window_of(sim, pfd_title).visible);
    sim.host->disable();
    EXPECT_EQ(sim.host->live().os_cursors, 0);
}

}  // namespace
