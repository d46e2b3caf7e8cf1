/*
 * The window model: creation records, positioning modes, pop-out geometry,
 * resizing limits, monitors (and their hot-plugging), closing an
 * operating-system window, destruction.
 */
#include "host_fixture.h"

#include <XPLMDisplay.h>

using namespace simhost_test;
using simhost::monitor_rect;
using simhost::Rect;
using simhost::WindowMode;
using simhost::WindowState;

namespace {

int draws = 0;
void count_draw(XPLMWindowID, void *) { draws++; }

XPLMWindowID make_window(int l, int t, int r, int b, const char *title, int struct_size = sizeof(XPLMCreateWindow_t))
{
    XPLMCreateWindow_t params{};
    params.structSize = struct_size;
    params.left = l, params.top = t, params.right = r, params.bottom = b;
    params.visible = 1;
    params.drawWindowFunc = count_draw;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFloatingWindows;
    XPLMWindowID id = XPLMCreateWindowEx(&params);
    if (id != nullptr)
        XPLMSetWindowTitle(id, title);
    return id;
}

::testing::AssertionResult same(const Rect &a, const Rect &b)
{
    if (a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.left << "," << a.top << "," << a.right << "," << a.bottom
                                         << ") != (" << b.left << "," << b.top << "," << b.right << "," << b.bottom << ")";
}

// Three monitors side by side: 1920 x 1080, then two 1024 x 768.
std::vector<Rect> three_monitors()
{
    return {monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0), monitor_rect(1024, 768, 2944, 0)};
}

class WindowTest : public HostTest {
protected:
    void SetUp() override
    {
        draws = 0;
        start(three_monitors());
    }
    WindowState state(const char *title)
    {
        WindowState s;
        EXPECT_TRUE(host->window(title, &s)) << title;
        return s;
    }
};

void record_monitor(int index, int l, int t, int r, int b, void *refcon)
{
    static_cast<std::vector<std::vector<int>> *>(refcon)->push_back({index, l, t, r, b});
}

}  // namespace

TEST_F(WindowTest, CreationChecksTheRecordSizeAndCanBeMadeToFail)
{
    EXPECT_NE(make_window(0, 100, 100, 0, "modern"), nullptr);
    EXPECT_NE(make_window(0, 100, 100, 0, "old", 72), nullptr);
    EXPECT_EQ(make_window(0, 100, 100, 0, "odd", 80), nullptr);
    EXPECT_TRUE(logged("structSize 80"));
    host->fail_next_window_creations(1);
    EXPECT_EQ(make_window(0, 100, 100, 0, "failed"), nullptr);
    EXPECT_TRUE(logged("window creation failed"));
    EXPECT_NE(make_window(0, 100, 100, 0, "after"), nullptr);
    EXPECT_EQ(host->live().windows, 3);
    EXPECT_EQ(host->windows().size(), 3u);
}

TEST_F(WindowTest, ScreenAndMonitorBounds)
{
    int w = 0, h = 0;
    XPLMGetScreenSize(&w, &h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    Rect box;
    XPLMGetScreenBoundsGlobal(&box.left, &box.top, &box.right, &box.bottom);
    EXPECT_TRUE(same(box, Rect{0, 1080, 3968, 0}));
    std::vector<std::vector<int>> seen;
    XPLMGetAllMonitorBoundsGlobal(record_monitor, &seen);
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{{0, 0, 1080, 1920, 0}, {1, 1920, 768, 2944, 0}, {2, 2944, 768, 3968, 0}}));
    seen.clear();
    XPLMGetAllMonitorBoundsOS(record_monitor, &seen);
    EXPECT_EQ(seen.size(), 3u);
}

// As X-Plane may: the mode changes at once, its geometry at the next frame;
// geometry given after the change is the window's at once. A geometry call
// on a full-screen window, which the SDK leaves undefined, is logged.
TEST_F(WindowTest, GeometryFollowsAChangeOfModeAtTheNextFrame)
{
    simhost::HostTiming timing = host->timing();
    timing.geometry_at_once = false;
    host->set_timing(timing);
    XPLMWindowID id = make_window(100, 500, 500, 200, "w");
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 1);
    EXPECT_EQ(state("w").mode, WindowMode::fullscreen);
    EXPECT_EQ(state("w").monitor, 1);
    EXPECT_TRUE(same(geometry(id), Rect{100, 500, 500, 200}));
    host->run_frames(1);
    EXPECT_TRUE(same(geometry(id), Rect{1920, 768, 2944, 0}));

    XPLMSetWindowGeometry(id, 0, 10, 10, 0);
    EXPECT_TRUE(logged("XPLMSetWindowGeometry on \"w\", full screen on monitor 1: its effect is undefined; ignored"));

    XPLMSetWindowPositioningMode(id, xplm_WindowPositionFree, -1);
    EXPECT_TRUE(same(geometry(id), Rect{1920, 768, 2944, 0}));
    XPLMSetWindowGeometry(id, 10, 300, 310, 100);
    EXPECT_TRUE(same(geometry(id), Rect{10, 300, 310, 100}));
    host->run_frames(1);
    EXPECT_TRUE(same(geometry(id), Rect{10, 300, 310, 100})) << "not overwritten by the change of mode";

    // Two changes in one frame: the geometry it had, then the last change's.
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 1);
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 0);
    EXPECT_TRUE(same(geometry(id), Rect{10, 300, 310, 100}));
    host->run_frames(1);
    EXPECT_TRUE(same(geometry(id), Rect{0, 1080, 1920, 0}));
}

TEST_F(WindowTest, FullScreenOnAMonitorAndBackToFree)
{
    XPLMWindowID id = make_window(100, 500, 500, 200, "w");
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 1);
    EXPECT_TRUE(same(geometry(id), Rect{1920, 768, 2944, 0}));
    EXPECT_EQ(state("w").mode, WindowMode::fullscreen);
    EXPECT_EQ(state("w").monitor, 1);

    // A monitor that does not exist leaves it where it is, in its mode.
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 7);
    EXPECT_EQ(state("w").monitor, 1);
    EXPECT_TRUE(same(geometry(id), Rect{1920, 768, 2944, 0}));

    // A negative index means the main monitor.
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, -1);
    EXPECT_EQ(state("w").monitor, 0);
    EXPECT_TRUE(same(geometry(id), Rect{0, 1080, 1920, 0}));

    XPLMSetWindowGeometry(id, 0, 10, 10, 0);   // ignored while full screen
    XPLMSetWindowPositioningMode(id, xplm_WindowPositionFree, 0);
    EXPECT_EQ(state("w").mode, WindowMode::free);
    EXPECT_EQ(state("w").monitor, -1);
    EXPECT_TRUE(same(geometry(id), Rect{100, 500, 500, 200}));

    XPLMSetWindowPositioningMode(id, xplm_WindowCenterOnMonitor, 2);
    EXPECT_TRUE(same(geometry(id), Rect{2944 + 312, 384 + 150, 2944 + 712, 384 - 150}));
    XPLMSetWindowPositioningMode(id, xplm_WindowVR, -1);
    EXPECT_EQ(XPLMWindowIsInVR(id), 1);
    EXPECT_EQ(XPLMWindowIsPoppedOut(id), 0);
}

TEST_F(WindowTest, PopOutGeometryIsTheOperatingSystemWindows)
{
    XPLMWindowID id = make_window(100, 868, 1124, 100, "p");
    XPLMSetWindowPositioningMode(id, xplm_WindowPopOut, 0);
    EXPECT_EQ(XPLMWindowIsPoppedOut(id), 1);
    EXPECT_EQ(state("p").mode, WindowMode::popout);
    // It opens where the window was, and reports its rectangle globally.
    EXPECT_TRUE(same(geometry(id), Rect{100, 868, 1124, 100}));
    EXPECT_TRUE(same(os_geometry(id), Rect{100, 868, 1124, 100}));

    XPLMSetWindowGeometry(id, 0, 50, 50, 0);   // not for popped-out windows
    EXPECT_TRUE(same(geometry(id), Rect{100, 868, 1124, 100}));
    XPLMSetWindowGeometryOS(id, 2000, 700, 2800, 100);
    EXPECT_TRUE(same(geometry(id), Rect{2000, 700, 2800, 100}));
    EXPECT_TRUE(same(os_geometry(id), Rect{2000, 700, 2800, 100}));

    // Back inside the simulator it takes its last free rectangle.
    XPLMSetWindowPositioningMode(id, xplm_WindowPositionFree, 0);
    EXPECT_EQ(XPLMWindowIsPoppedOut(id), 0);
    EXPECT_TRUE(same(geometry(id), Rect{100, 868, 1124, 100}));
    XPLMSetWindowGeometryOS(id, 0, 50, 50, 0);   // only for popped-out windows
    EXPECT_TRUE(same(geometry(id), Rect{100, 868, 1124, 100}));

    // From full screen it pops out at the monitor's rectangle.
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 2);
    XPLMSetWindowPositioningMode(id, xplm_WindowPopOut, 0);
    EXPECT_TRUE(same(geometry(id), Rect{2944, 768, 3968, 0}));
}

TEST_F(WindowTest, ResizingLimitsOnEverySizeChange)
{
    XPLMWindowID id = make_window(100, 868, 1124, 100, "r");
    XPLMSetWindowResizingLimits(id, 256, 100, 4096, 1000);
    XPLMSetWindowGeometry(id, 100, 868, 200, 800);          // too narrow and too low
    EXPECT_TRUE(same(geometry(id), Rect{100, 868, 356, 768}));
    XPLMSetWindowGeometry(id, 100, 2000, 5000, 0);          // too wide and too high
    EXPECT_TRUE(same(geometry(id), Rect{100, 2000, 4196, 1000}));
    XPLMSetWindowPositioningMode(id, xplm_WindowPopOut, 0);
    XPLMSetWindowGeometryOS(id, 10, 500, 20, 490);
    EXPECT_TRUE(same(geometry(id), Rect{10, 500, 266, 400}));
    WindowState s = state("r");
    EXPECT_EQ(s.min_w, 256);
    EXPECT_EQ(s.max_h, 1000);
    // Full screen is the monitor's size, whatever the limits.
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 0);
    EXPECT_TRUE(same(geometry(id), Rect{0, 1080, 1920, 0}));
}

TEST_F(WindowTest, HotPlugMovesFullScreenWindowsWhoseMonitorStays)
{
    XPLMWindowID on1 = make_window(0, 100, 100, 0, "on1");
    XPLMWindowID on2 = make_window(0, 100, 100, 0, "on2");
    XPLMWindowID free_w = make_window(0, 100, 100, 0, "free");
    XPLMSetWindowPositioningMode(on1, xplm_WindowFullScreenOnMonitor, 1);
    XPLMSetWindowPositioningMode(on2, xplm_WindowFullScreenOnMonitor, 2);
    host->set_monitors({monitor_rect(1920, 1080, 0, 0), monitor_rect(800, 600, -800, 0)});
    host->run_frames(1);
    EXPECT_TRUE(same(geometry(on1), Rect{-800, 600, 0, 0}));
    EXPECT_EQ(state("on1").monitor, 1);
    EXPECT_TRUE(same(geometry(on2), Rect{2944, 768, 3968, 0}));
    EXPECT_EQ(state("on2").mode, WindowMode::fullscreen);
    EXPECT_EQ(state("on2").monitor, 2);
    EXPECT_TRUE(same(geometry(free_w), Rect{0, 100, 100, 0}));
    Rect box;
    XPLMGetScreenBoundsGlobal(&box.left, &box.top, &box.right, &box.bottom);
    EXPECT_TRUE(same(box, Rect{-800, 1080, 1920, 0}));
}

TEST_F(WindowTest, VisibilityOsCloseAndDestruction)
{
    XPLMWindowID id = make_window(0, 100, 100, 0, "v");
    int refcon = 0;
    XPLMSetWindowRefCon(id, &refcon);
    EXPECT_EQ(XPLMGetWindowRefCon(id), &refcon);
    host->run_frames(2);
    EXPECT_EQ(draws, 2);
    XPLMSetWindowIsVisible(id, 0);
    EXPECT_EQ(XPLMGetWindowIsVisible(id), 0);
    host->run_frames(1);
    EXPECT_EQ(draws, 2);

    EXPECT_FALSE(host->os_close_window("v")) << "not popped out";
    XPLMSetWindowIsVisible(id, 1);
    XPLMSetWindowPositioningMode(id, xplm_WindowPopOut, 0);
    host->run_frames(1);
    EXPECT_EQ(draws, 3);
    EXPECT_TRUE(host->os_close_window("v"));
    EXPECT_EQ(XPLMGetWindowIsVisible(id), 0);
    EXPECT_EQ(XPLMWindowIsPoppedOut(id), 1);
    EXPECT_FALSE(host->os_close_window("nobody"));

    XPLMSetWindowIsVisible(id, 1);
    XPLMTakeKeyboardFocus(id);
    EXPECT_EQ(XPLMHasKeyboardFocus(id), 1);
    XPLMDestroyWindow(id);
    host->run_frames(1);
    EXPECT_EQ(draws, 3);
    EXPECT_EQ(XPLMHasKeyboardFocus(nullptr), 1);
    EXPECT_FALSE(host->window("v", nullptr));
    EXPECT_EQ(XPLMGetWindowIsVisible(id), 0) << "a destroyed window's ID is harmless";
    XPLMDestroyWindow(id);
}

TEST_F(WindowTest, LayersAndFront)
{
    XPLMWindowID a = make_window(0, 100, 100, 0, "a");
    XPLMWindowID b = make_window(0, 100, 100, 0, "b");
    EXPECT_EQ(XPLMIsWindowInFront(b), 1);
    EXPECT_EQ(XPLMIsWindowInFront(a), 0);
    XPLMBringWindowToFront(a);
    EXPECT_EQ(XPLMIsWindowInFront(a), 1);
    EXPECT_EQ(XPLMIsWindowInFront(b), 0);
}
