/*
 * Mouse routing (stacking, inclusive edges, a press raising its window,
 * gestures staying with their window, right button, popped-out windows on
 * top) and the cursor (asked of the window under the pointer; where a desktop
 * is there, the simulator's own cursor shown on it for any answer but a
 * custom one, and the main window's native handle published).
 */
#include "host_fixture.h"

#include <XPLMDataAccess.h>
#include <XPLMDisplay.h>

using namespace simhost_test;
using simhost::MouseButton;

namespace {

struct Event {
    std::string window;
    std::string kind;   // "left" or "right"
    int x, y;
    XPLMMouseStatus status;
    bool operator==(const Event &o) const
    {
        return window == o.window && kind == o.kind && x == o.x && y == o.y && status == o.status;
    }
};

std::ostream &operator<<(std::ostream &os, const Event &e)
{
    return os << e.window << " " << e.kind << " " << e.x << "," << e.y << " status " << e.status;
}

std::vector<Event> events;

struct WindowSpy {
    std::string name;
    int click_result = 1;
    XPLMCursorStatus cursor = xplm_CursorDefault;
};

int on_left(XPLMWindowID, int x, int y, XPLMMouseStatus status, void *refcon)
{
    auto *spy = static_cast<WindowSpy *>(refcon);
    events.push_back({spy->name, "left", x, y, status});
    return spy->click_result;
}

int on_right(XPLMWindowID, int x, int y, XPLMMouseStatus status, void *refcon)
{
    auto *spy = static_cast<WindowSpy *>(refcon);
    events.push_back({spy->name, "right", x, y, status});
    return 1;
}

XPLMCursorStatus on_cursor(XPLMWindowID, int, int, void *refcon)
{
    return static_cast<WindowSpy *>(refcon)->cursor;
}

XPLMWindowID make_window(WindowSpy *spy, int l, int t, int r, int b)
{
    XPLMCreateWindow_t params{};
    params.structSize = sizeof params;
    params.left = l, params.top = t, params.right = r, params.bottom = b;
    params.visible = 1;
    params.handleMouseClickFunc = on_left;
    params.handleRightClickFunc = on_right;
    params.handleCursorFunc = on_cursor;
    params.refcon = spy;
    return XPLMCreateWindowEx(&params);
}

class MouseTest : public HostTest {
protected:
    void SetUp() override
    {
        events.clear();
        start();
    }
};

}  // namespace

TEST_F(MouseTest, PressGoesToTheTopmostWindowWithInclusiveEdges)
{
    WindowSpy a{"a"}, b{"b"};
    make_window(&a, 100, 400, 400, 100);
    make_window(&b, 300, 600, 600, 300);   // made later: on top

    host->mouse_down(350, 350, MouseButton::left);   // in both
    host->mouse_up(350, 350, MouseButton::left);
    host->mouse_down(100, 400, MouseButton::left);   // a's top-left corner, exactly
    host->mouse_up(100, 400, MouseButton::left);
    host->mouse_down(99, 400, MouseButton::left);    // one pixel outside: the simulator's
    host->mouse_up(99, 400, MouseButton::left);
    host->mouse_down(600, 300, MouseButton::left);   // b's bottom-right corner
    host->mouse_up(600, 300, MouseButton::left);
    std::vector<Event> expected{
        {"b", "left", 350, 350, xplm_MouseDown}, {"b", "left", 350, 350, xplm_MouseUp},
        {"a", "left", 100, 400, xplm_MouseDown}, {"a", "left", 100, 400, xplm_MouseUp},
        {"b", "left", 600, 300, xplm_MouseDown}, {"b", "left", 600, 300, xplm_MouseUp},
    };
    EXPECT_EQ(events, expected);

    // A press raises its window: the overlap is a's once a was pressed.
    events.clear();
    host->mouse_down(150, 150, MouseButton::left);
    host->mouse_up(150, 150, MouseButton::left);
    host->mouse_down(350, 350, MouseButton::left);
    EXPECT_EQ(events.at(2).window, "a");
}

TEST_F(MouseTest, AGestureStaysWithItsWindowUntilTheRelease)
{
    WindowSpy a{"a"}, b{"b"};
    make_window(&a, 100, 400, 400, 100);
    make_window(&b, 500, 400, 800, 100);
    host->mouse_down(200, 200, MouseButton::left);
    host->mouse_drag(600, 200, MouseButton::left);   // over b
    host->mouse_drag(-50, 2000, MouseButton::left);  // off every window
    host->mouse_up(650, 250, MouseButton::left);
    host->mouse_drag(600, 200, MouseButton::left);   // no gesture any more
    std::vector<Event> expected{
        {"a", "left", 200, 200, xplm_MouseDown},
        {"a", "left", 600, 200, xplm_MouseDrag},
        {"a", "left", -50, 2000, xplm_MouseDrag},
        {"a", "left", 650, 250, xplm_MouseUp},
    };
    EXPECT_EQ(events, expected);
    int x = 0, y = 0;
    XPLMGetMouseLocationGlobal(&x, &y);
    EXPECT_EQ(x, 600);
    EXPECT_EQ(y, 200);
}

TEST_F(MouseTest, RightButtonGoesToTheRightClickHandler)
{
    WindowSpy a{"a"};
    make_window(&a, 100, 400, 400, 100);
    host->mouse_down(200, 200, MouseButton::right);
    host->mouse_drag(210, 210, MouseButton::right);
    host->mouse_drag(220, 220, MouseButton::left);   // another button: not this gesture
    host->mouse_up(210, 210, MouseButton::right);
    std::vector<Event> expected{
        {"a", "right", 200, 200, xplm_MouseDown},
        {"a", "right", 210, 210, xplm_MouseDrag},
        {"a", "right", 210, 210, xplm_MouseUp},
    };
    EXPECT_EQ(events, expected);
}

TEST_F(MouseTest, PoppedOutWindowsAreAboveTheSimulatorsAndHiddenOnesTakeNothing)
{
    WindowSpy pop{"pop"}, sim{"sim"}, hidden{"hidden"};
    XPLMWindowID p = make_window(&pop, 100, 400, 400, 100);
    XPLMSetWindowPositioningMode(p, xplm_WindowPopOut, 0);
    make_window(&sim, 100, 400, 400, 100);
    XPLMWindowID h = make_window(&hidden, 100, 400, 400, 100);
    XPLMSetWindowIsVisible(h, 0);
    host->mouse_down(200, 200, MouseButton::left);
    host->mouse_up(200, 200, MouseButton::left);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].window, "pop");

    // A handler that does not take the press leaves the gesture to the
    // simulator (the strict host would end the run there instead).
    host->set_strict_clicks(false);
    events.clear();
    pop.click_result = 0;
    host->mouse_down(200, 200, MouseButton::left);
    host->mouse_up(200, 200, MouseButton::left);
    EXPECT_EQ(events, (std::vector<Event>{{"pop", "left", 200, 200, xplm_MouseDown}}));
}

// Opaque pixels of the cursor the desktop shows; -1 without a desktop.
int opaque_cursor_pixels(const simhost::Host &host)
{
    simhost::DesktopCursor shown;
    if (!host.desktop_cursor(&shown))
        return -1;
    int opaque = 0;
    for (uint32_t pixel : shown.argb)
        opaque += (pixel >> 24) == 0xFF;
    return opaque;
}

TEST_F(MouseTest, CursorOfTheWindowUnderThePointer)
{
    WindowSpy a{"a"}, b{"b"};
    a.cursor = xplm_CursorCustom;
    b.cursor = xplm_CursorArrow;
    make_window(&a, 100, 400, 400, 100);
    make_window(&b, 500, 400, 800, 100);

    // Asked once a frame, at its end: a move alone asks nobody.
    host->mouse_move(200, 200);
    EXPECT_EQ(host->cursor().status, xplm_CursorDefault);
    host->run_frames(1);
    EXPECT_EQ(host->cursor().status, xplm_CursorCustom);
    host->mouse_move(600, 200);
    EXPECT_EQ(host->cursor().status, xplm_CursorCustom);
    host->run_frames(1);
    EXPECT_EQ(host->cursor().status, xplm_CursorArrow);
    EXPECT_EQ(host->cursor().custom_name, "");
    host->mouse_move(450, 200);
    host->run_frames(1);
    EXPECT_EQ(host->cursor().status, xplm_CursorDefault);

    // Asked after every mouse event too, when a test wants it.
    simhost::HostTiming timing = host->timing();
    timing.cursor_every_move = true;
    host->set_timing(timing);
    host->mouse_move(200, 200);
    EXPECT_EQ(host->cursor().status, xplm_CursorCustom);
    a.cursor = xplm_CursorArrow;
    host->run_frames(1);
    EXPECT_EQ(host->cursor().status, xplm_CursorArrow);
}

TEST_F(MouseTest, TheSimulatorShowsItsOwnCursorOnTheDesktopUnlessOneIsCustom)
{
    if (!host->has_desktop())
        GTEST_SKIP() << "no desktop (DISPLAY not set) to read the cursor from";
    WindowSpy a{"a"};
    a.cursor = xplm_CursorArrow;
    make_window(&a, 100, 400, 400, 100);
    host->mouse_move(200, 200);
    host->run_frames(1);
    EXPECT_GT(opaque_cursor_pixels(*host), 0) << "the arrow";
    a.cursor = xplm_CursorHidden;
    host->mouse_move(201, 200);
    host->run_frames(1);
    EXPECT_EQ(opaque_cursor_pixels(*host), 0) << "hidden";
    // A custom answer leaves the desktop's cursor to the window's owner.
    a.cursor = xplm_CursorCustom;
    host->mouse_move(202, 200);
    host->run_frames(1);
    EXPECT_EQ(opaque_cursor_pixels(*host), 0) << "still the hidden one";
    host->mouse_move(450, 200);
    host->run_frames(1);
    EXPECT_GT(opaque_cursor_pixels(*host), 0) << "the simulator's own, off the window";
}

TEST_F(MouseTest, TheMainWindowsNativeHandleIsPublished)
{
    XPLMDataRef ref = XPLMFindDataRef("sim/operation/windows/system_window_64");
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(XPLMGetDataRefTypes(ref), xplmType_IntArray);
    EXPECT_EQ(XPLMGetDatavi(ref, nullptr, 0, 0), 2);
    int halves[3] = {-1, -1, -1};
    EXPECT_EQ(XPLMGetDatavi(ref, halves, 0, 3), 2);
    EXPECT_EQ(halves[2], -1) << "two ints, no more";
    int high = -1;
    EXPECT_EQ(XPLMGetDatavi(ref, &high, 1, 1), 1);
    EXPECT_EQ(high, halves[1]);
    if (host->has_desktop())
        EXPECT_TRUE(halves[0] != 0 || halves[1] != 0) << "a desktop, so a window";
    else
        EXPECT_TRUE(halves[0] == 0 && halves[1] == 0) << "no desktop, no window";
}
