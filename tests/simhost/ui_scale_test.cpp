/*
 * The desktop as X-Plane has it: monitors in OS pixels, global boxels at a
 * user-interface scale of 100, 150 or 200 %, monitors X-Plane does not cover,
 * popped-out windows in OS pixels, and the pixels a frame leaves where each
 * of these says.
 */
#include "host_fixture.h"

#include <stdexcept>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <cairo.h>

#include <XPLMDisplay.h>
#include <XPLMGraphics.h>

using namespace simhost_test;
using simhost::Monitor;
using simhost::monitor_rect;
using simhost::Rect;
using simhost::WindowMode;
using simhost::WindowState;

namespace {

::testing::AssertionResult same(const Rect &a, const Rect &b)
{
    if (a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.left << "," << a.top << "," << a.right << "," << a.bottom
                                         << ") != (" << b.left << "," << b.top << "," << b.right << "," << b.bottom << ")";
}

using Seen = std::vector<std::vector<int>>;
void record_monitor(int index, int l, int t, int r, int b, void *refcon)
{
    static_cast<Seen *>(refcon)->push_back({index, l, t, r, b});
}

Seen global_monitors()
{
    Seen seen;
    XPLMGetAllMonitorBoundsGlobal(record_monitor, &seen);
    return seen;
}

Seen os_monitors()
{
    Seen seen;
    XPLMGetAllMonitorBoundsOS(record_monitor, &seen);
    return seen;
}

// Fills its window's left half with one colour and its right half with
// another, in the boxels XPLMGetWindowGeometry reports; counts clicks.
struct Halves {
    uint32_t left_rgb, right_rgb;
    int clicks = 0, click_x = 0, click_y = 0;
};

void quad(uint32_t rgb, int l, int b, int r, int t)
{
    glColor3ub((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    glBegin(GL_QUADS);
    glVertex2i(l, b), glVertex2i(r, b), glVertex2i(r, t), glVertex2i(l, t);
    glEnd();
}

void draw_halves(XPLMWindowID id, void *refcon)
{
    auto *h = static_cast<Halves *>(refcon);
    Rect r = geometry(id);
    XPLMSetGraphicsState(0, 0, 0, 0, 0, 0, 0);
    int mid = (r.left + r.right) / 2;
    quad(h->left_rgb, r.left, r.bottom, mid, r.top);
    quad(h->right_rgb, mid, r.bottom, r.right, r.top);
}

int click_halves(XPLMWindowID, int x, int y, XPLMMouseStatus status, void *refcon)
{
    auto *h = static_cast<Halves *>(refcon);
    if (status == xplm_MouseDown) {
        h->clicks++;
        h->click_x = x;
        h->click_y = y;
    }
    return 1;
}

XPLMWindowID make_halves(Halves *h, Rect r, const char *title)
{
    XPLMCreateWindow_t params{};
    params.structSize = sizeof params;
    params.left = r.left, params.top = r.top, params.right = r.right, params.bottom = r.bottom;
    params.visible = 1;
    params.drawWindowFunc = draw_halves;
    params.handleMouseClickFunc = click_halves;
    params.refcon = h;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFloatingWindows;
    XPLMWindowID id = XPLMCreateWindowEx(&params);
    XPLMSetWindowTitle(id, title);
    return id;
}

// A 1920 x 1080 main monitor, a 1024 x 768 one right of it and another right of that.
std::vector<Rect> three_monitors()
{
    return {monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0), monitor_rect(1024, 768, 2944, 0)};
}

class ScaledDesktopTest : public HostTest {
protected:
    // A host on the test plug-in with these options (root and log filled in).
    void start_with(simhost::HostOptions options)
    {
        options.root = root();
        options.echo_log = false;
        options.timing.geometry_at_once = true;
        // The desktop's model under clean OpenGL state: the painters keep no contract.
        options.gl = simhost::GlHarshness::kind();
        host = std::make_unique<simhost::Host>(options);
        ASSERT_TRUE(host->load_linked(TestPlugin::entry(), xpl_path()));
    }
    WindowState state(const char *title)
    {
        WindowState s;
        EXPECT_TRUE(host->window(title, &s)) << title;
        return s;
    }
};

struct ScaleCase {
    int scale;
    Seen global;            // XPLMGetAllMonitorBoundsGlobal
    int screen_w, screen_h; // XPLMGetScreenSize
    Rect bounds;            // XPLMGetScreenBoundsGlobal
};

// The three monitors, and an 801 x 600 one left of the origin (odd edges round
// to the nearest boxel, halves upwards).
const ScaleCase scale_cases[] = {
    {100,
     {{0, 0, 1080, 1920, 0}, {1, 1920, 768, 2944, 0}, {2, 2944, 768, 3968, 0}, {3, -801, 600, 0, 0}},
     1920, 1080, {-801, 1080, 3968, 0}},
    {150,
     {{0, 0, 720, 1280, 0}, {1, 1280, 512, 1963, 0}, {2, 1963, 512, 2645, 0}, {3, -534, 400, 0, 0}},
     1280, 720, {-534, 720, 2645, 0}},
    {200,
     {{0, 0, 540, 960, 0}, {1, 960, 384, 1472, 0}, {2, 1472, 384, 1984, 0}, {3, -400, 300, 0, 0}},
     960, 540, {-400, 540, 1984, 0}},
};

void PrintTo(const ScaleCase &c, std::ostream *os) { *os << c.scale << " %"; }

class ScaleTableTest : public ScaledDesktopTest, public ::testing::WithParamInterface<ScaleCase> {};

}  // namespace

TEST_P(ScaleTableTest, MonitorsAndScreenInBoxelsOsMonitorsInPixels)
{
    const ScaleCase &c = GetParam();
    simhost::HostOptions options;
    options.monitors = three_monitors();
    options.monitors.push_back(monitor_rect(801, 600, -801, 0));
    options.ui_scale = c.scale;
    start_with(options);

    EXPECT_EQ(host->ui_scale(), c.scale);
    EXPECT_EQ(global_monitors(), c.global);
    EXPECT_EQ(os_monitors(), (Seen{{0, 0, 1080, 1920, 0}, {1, 1920, 768, 2944, 0}, {2, 2944, 768, 3968, 0},
                                   {3, -801, 600, 0, 0}}));
    int w = 0, h = 0;
    XPLMGetScreenSize(&w, &h);
    EXPECT_EQ(w, c.screen_w);
    EXPECT_EQ(h, c.screen_h);
    Rect bounds;
    XPLMGetScreenBoundsGlobal(&bounds.left, &bounds.top, &bounds.right, &bounds.bottom);
    EXPECT_TRUE(same(bounds, c.bounds));
    Rect m1;
    ASSERT_TRUE(host->monitor_global(1, &m1));
    EXPECT_EQ(m1.width(), c.global[1][3] - c.global[1][1]);
    EXPECT_TRUE(same(host->monitors()[1], monitor_rect(1024, 768, 1920, 0))) << "monitors() stays in OS pixels";

    // A full-screen window takes its monitor's boxels and reports its pixels.
    Halves fill{0x10C040, 0xC01040};
    XPLMWindowID id = make_halves(&fill, Rect{10, 60, 60, 10}, "full");
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 1);
    EXPECT_TRUE(same(geometry(id), m1));
    EXPECT_TRUE(same(os_geometry(id), monitor_rect(1024, 768, 1920, 0)));
    EXPECT_TRUE(same(state("full").os_rect, monitor_rect(1024, 768, 1920, 0)));

    // It covers its monitor's pixels edge to edge (a boxel at 150 % is 1.5 pixels).
    host->run_frames(1);
    EXPECT_EQ(host->monitor_pixel(1, 0, 0), 0x10C040u);
    EXPECT_EQ(host->monitor_pixel(1, 0, 767), 0x10C040u);
    EXPECT_EQ(host->monitor_pixel(1, 1023, 0), 0xC01040u);
    EXPECT_EQ(host->monitor_pixel(1, 1023, 767), 0xC01040u);
    EXPECT_NE(host->monitor_pixel(2, 0, 0), 0xC01040u) << "nothing spills onto the next monitor";
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaleTableTest, ::testing::ValuesIn(scale_cases),
                         [](const ::testing::TestParamInfo<ScaleCase> &info) {
                             return "at" + std::to_string(info.param.scale);
                         });

TEST_F(ScaledDesktopTest, ScaleChangesAtOnceAndBadDesktopsAreRefused)
{
    start_with(simhost::HostOptions{});
    Halves h{0x111111, 0x222222};
    XPLMWindowID full = make_halves(&h, Rect{0, 100, 100, 0}, "full");
    XPLMWindowID free_w = make_halves(&h, Rect{100, 300, 300, 100}, "free");
    XPLMSetWindowPositioningMode(full, xplm_WindowFullScreenOnMonitor, 0);
    host->set_ui_scale(200);
    EXPECT_EQ(host->ui_scale(), 200);
    EXPECT_TRUE(same(geometry(full), Rect{0, 540, 960, 0})) << "full screen follows its monitor";
    EXPECT_TRUE(same(geometry(free_w), Rect{100, 300, 300, 100})) << "a floating window keeps its boxels";
    EXPECT_TRUE(same(os_geometry(free_w), Rect{200, 600, 600, 200}));

    EXPECT_THROW(host->set_ui_scale(125), std::invalid_argument);
    EXPECT_EQ(host->ui_scale(), 200);
    EXPECT_THROW(host->set_os_monitors({Monitor{monitor_rect(800, 600, 0, 0), false}}), std::invalid_argument);
    EXPECT_EQ(host->monitors().size(), 1u);
    EXPECT_EQ(host->monitors()[0].width(), 1920) << "a refused set changes nothing";

    simhost::HostOptions bad;
    bad.root = root();
    bad.echo_log = false;
    bad.monitors = three_monitors();
    bad.uncovered = {3};
    host.reset();
    EXPECT_THROW(simhost::Host{bad}, std::invalid_argument) << "no monitor 3";
    bad.uncovered = {0};
    EXPECT_THROW(simhost::Host{bad}, std::invalid_argument) << "the main monitor is always covered";
}

TEST_F(ScaledDesktopTest, UncoveredMonitorsAreOsMonitorsOnlyWithSharedIndices)
{
    simhost::HostOptions options;
    options.monitors = three_monitors();
    options.uncovered = {1};
    options.ui_scale = 150;
    start_with(options);

    EXPECT_EQ(global_monitors(), (Seen{{0, 0, 720, 1280, 0}, {2, 1963, 512, 2645, 0}}));
    EXPECT_EQ(os_monitors().size(), 3u);
    EXPECT_EQ(os_monitors()[1], (std::vector<int>{1, 1920, 768, 2944, 0}));
    Rect out;
    EXPECT_FALSE(host->monitor_global(1, &out));
    EXPECT_FALSE(host->monitor_global(3, &out));
    EXPECT_TRUE(host->monitor_global(2, &out));
    Rect bounds;
    XPLMGetScreenBoundsGlobal(&bounds.left, &bounds.top, &bounds.right, &bounds.bottom);
    EXPECT_TRUE(same(bounds, Rect{0, 720, 2645, 0})) << "the covered monitors' bounding box";

    // Floating windows live inside X-Plane: no centring on an uncovered monitor.
    Halves h{0x111111, 0x222222};
    XPLMWindowID id = make_halves(&h, Rect{10, 110, 110, 10}, "w");
    XPLMSetWindowPositioningMode(id, xplm_WindowCenterOnMonitor, 1);
    EXPECT_TRUE(same(geometry(id), Rect{10, 110, 110, 10}));

    // Hot-plug: the same monitors, all covered, report all three.
    host->set_monitors(three_monitors());
    EXPECT_EQ(global_monitors().size(), 3u);
    host->set_os_monitors({Monitor{monitor_rect(1920, 1080, 0, 0)}, Monitor{monitor_rect(1024, 768, -1024, 0), false}});
    EXPECT_EQ(global_monitors(), (Seen{{0, 0, 720, 1280, 0}}));
    EXPECT_EQ(os_monitors(), (Seen{{0, 0, 1080, 1920, 0}, {1, -1024, 768, 0, 0}}));
}

TEST_F(ScaledDesktopTest, PoppedOutWindowsArePlacedInOsPixels)
{
    simhost::HostOptions options;
    options.monitors = three_monitors();
    options.ui_scale = 200;
    start_with(options);
    Halves h{0xA01010, 0x10A0A0};
    XPLMWindowID id = make_halves(&h, Rect{100, 500, 612, 116}, "p");

    // Not popped out: Set...OS is ignored, Get...OS says where it shows.
    XPLMSetWindowGeometryOS(id, 0, 50, 50, 0);
    EXPECT_TRUE(same(geometry(id), Rect{100, 500, 612, 116}));
    EXPECT_TRUE(same(os_geometry(id), Rect{200, 1000, 1224, 232}));

    // It pops out where it was: its OS window in pixels, its geometry those in boxels.
    XPLMSetWindowPositioningMode(id, xplm_WindowPopOut, 0);
    EXPECT_TRUE(same(os_geometry(id), Rect{200, 1000, 1224, 232}));
    EXPECT_TRUE(same(geometry(id), Rect{100, 500, 612, 116}));

    XPLMSetWindowGeometryOS(id, 1930, 700, 2954, 100);   // onto monitor 1, a pixel into monitor 2
    EXPECT_TRUE(same(os_geometry(id), Rect{1930, 700, 2954, 100}));
    EXPECT_TRUE(same(state("p").os_rect, Rect{1930, 700, 2954, 100}));
    EXPECT_TRUE(same(geometry(id), Rect{965, 350, 1477, 50}));
    XPLMSetWindowGeometry(id, 0, 50, 50, 0);   // ignored while popped out
    EXPECT_TRUE(same(geometry(id), Rect{965, 350, 1477, 50}));

    // The pointer, in boxels, finds it where its pixels are.
    host->mouse_down(1000, 200, simhost::MouseButton::left);
    host->mouse_up(1000, 200, simhost::MouseButton::left);
    EXPECT_EQ(h.clicks, 1);
    EXPECT_EQ(h.click_x, 1000);

    // Resizing limits are boxels: 300 boxels are 600 pixels.
    XPLMSetWindowResizingLimits(id, 300, 0, 4096, 4096);
    XPLMSetWindowGeometryOS(id, 1930, 700, 2030, 100);
    EXPECT_TRUE(same(os_geometry(id), Rect{1930, 700, 2530, 100}));

    // Its pixels fill its own framebuffer and land at its OS rectangle.
    host->run_frames(1);
    uint32_t rgb = 0;
    ASSERT_TRUE(host->popout_pixel("p", 0, 0, &rgb));
    EXPECT_EQ(rgb, 0xA01010u);
    ASSERT_TRUE(host->popout_pixel("p", 599, 599, &rgb));
    EXPECT_EQ(rgb, 0x10A0A0u);
    EXPECT_FALSE(host->popout_pixel("p", 600, 0, &rgb)) << "600 pixels wide";
    EXPECT_EQ(host->monitor_pixel(1, 10, 100), 0xA01010u);
    EXPECT_EQ(host->monitor_pixel(1, 609, 699), 0x10A0A0u);
    EXPECT_NE(host->monitor_pixel(1, 610, 400), 0x10A0A0u);

    // A new scale keeps its pixels and gives it new boxels.
    host->set_ui_scale(100);
    EXPECT_TRUE(same(os_geometry(id), Rect{1930, 700, 2530, 100}));
    EXPECT_TRUE(same(geometry(id), Rect{1930, 700, 2530, 100}));
}

TEST_F(ScaledDesktopTest, FullScreenOnAnUncoveredMonitorIsAnOsWindowThere)
{
    simhost::HostOptions options;
    options.monitors = {monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0)};
    options.uncovered = {1};
    options.ui_scale = 200;
    start_with(options);

    // Nothing on it: the plain OS desktop, whatever floats over its boxels.
    Halves spill{0x404040, 0x505050};
    make_halves(&spill, Rect{900, 300, 1100, 100}, "spill");
    host->run_frames(1);
    EXPECT_EQ(host->monitor_pixel(1, 100, 300), 0x245A7Au);
    EXPECT_EQ(host->monitor_pixel(0, 1900, 300), 0x404040u) << "the covered part of the window shows";

    Halves h{0x10C040, 0xC01040};
    XPLMWindowID id = make_halves(&h, Rect{0, 100, 100, 0}, "full");
    XPLMSetWindowPositioningMode(id, xplm_WindowFullScreenOnMonitor, 1);
    WindowState s = state("full");
    EXPECT_EQ(s.mode, WindowMode::fullscreen);
    EXPECT_EQ(s.monitor, 1);
    EXPECT_TRUE(same(s.rect, Rect{960, 384, 1472, 0}));
    EXPECT_TRUE(same(s.os_rect, monitor_rect(1024, 768, 1920, 0)));
    EXPECT_EQ(XPLMWindowIsPoppedOut(id), 0);

    host->run_frames(1);
    EXPECT_EQ(host->monitor_pixel(1, 0, 0), 0x10C040u);
    EXPECT_EQ(host->monitor_pixel(1, 511, 767), 0x10C040u);
    EXPECT_EQ(host->monitor_pixel(1, 512, 0), 0xC01040u);
    EXPECT_EQ(host->monitor_pixel(1, 1023, 767), 0xC01040u);
    uint32_t rgb = 0;
    EXPECT_FALSE(host->popout_pixel("full", 0, 0, &rgb)) << "not a popped-out window";
    host->mouse_down(1000, 100, simhost::MouseButton::left);
    EXPECT_EQ(h.clicks, 1) << "the pointer finds it at its boxels";

    // Popped-out windows lie above it.
    Halves pop{0x2040E0, 0x2040E0};
    XPLMWindowID p = make_halves(&pop, Rect{0, 100, 100, 0}, "pop");
    XPLMSetWindowPositioningMode(p, xplm_WindowPopOut, 0);
    XPLMSetWindowGeometryOS(p, 2000, 400, 2400, 200);
    host->run_frames(1);
    EXPECT_EQ(host->monitor_pixel(1, 80, 200), 0x2040E0u);
    EXPECT_EQ(host->monitor_pixel(1, 79, 200), 0x10C040u);

    // Covered from now on, it stays full screen there, inside X-Plane.
    host->set_monitors({monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0)});
    host->run_frames(1);
    EXPECT_TRUE(same(geometry(id), Rect{960, 384, 1472, 0}));
    EXPECT_EQ(host->monitor_pixel(1, 1023, 767), 0xC01040u);
}

TEST_F(ScaledDesktopTest, AFloatingWindowAt200PercentLandsOnTwiceItsBoxels)
{
    simhost::HostOptions options;
    options.monitors = {monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0)};
    options.ui_scale = 200;
    start_with(options);
    Halves a{0x10C040, 0xC01040}, b{0x2040E0, 0xE0E020};
    make_halves(&a, Rect{100, 300, 300, 200}, "a");
    make_halves(&b, Rect{1000, 300, 1100, 200}, "b");
    host->mouse_move(150, 250);
    host->run_frames(1);

    EXPECT_EQ(host->monitor_pixel(0, 200, 400), 0x10C040u) << "the bottom-left boxel's first pixel";
    EXPECT_NE(host->monitor_pixel(0, 199, 450), 0x10C040u);
    EXPECT_NE(host->monitor_pixel(0, 300, 399), 0x10C040u);
    EXPECT_EQ(host->monitor_pixel(0, 399, 599), 0x10C040u);
    EXPECT_EQ(host->monitor_pixel(0, 400, 400), 0xC01040u);
    EXPECT_EQ(host->monitor_pixel(0, 599, 599), 0xC01040u);
    EXPECT_NE(host->monitor_pixel(0, 600, 500), 0xC01040u);
    EXPECT_NE(host->monitor_pixel(0, 500, 600), 0xC01040u);
    EXPECT_EQ(host->monitor_pixel(1, 80, 400), 0x2040E0u) << "boxel 1000 is pixel 2000, 80 into monitor 1";
    EXPECT_EQ(host->monitor_pixel(1, 279, 599), 0xE0E020u);

    // Screenshots are the monitors' pixels, the pointer drawn at its pixel.
    std::string dir = root() + "/shots";
    std::vector<std::string> files = host->shot(dir, "scaled");
    ASSERT_EQ(files.size(), 2u);
    cairo_surface_t *png = cairo_image_surface_create_from_png(files[0].c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 1920);
    EXPECT_EQ(cairo_image_surface_get_height(png), 1080);
    auto at = [png](int x, int y_from_top) {
        const unsigned char *data = cairo_image_surface_get_data(png);
        return *reinterpret_cast<const uint32_t *>(data + y_from_top * cairo_image_surface_get_stride(png) + x * 4) &
               0xFFFFFFu;
    };
    // The arrow's tip at pixel (300, 500): the arrow (the stand-in's, or the
    // desktop's where there is one) below the tip, over the window.
    EXPECT_NE(at(300 + 1, 1080 - 500 + 5), 0x10C040u);
    EXPECT_EQ(at(300 + 1, 1080 - 500 - 5), 0x10C040u) << "above the tip the window shows";
    cairo_surface_destroy(png);
}
