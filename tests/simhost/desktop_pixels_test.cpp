/*
 * What the window pass leaves on the desktop and in popped-out windows:
 * windows drawing in global coordinates, pixels read back per monitor and per
 * popped-out window, screenshots with the cursor drawn in, and the GL objects
 * and threads live() counts.
 */
#include "host_fixture.h"
#include "threads.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <cairo.h>

#include <XPLMDisplay.h>
#include <XPLMGraphics.h>

using namespace simhost_test;
using simhost::monitor_rect;

namespace {

// Paints the left half of its window one colour and the right half another,
// in the global coordinates the window pass gives.
struct Painter {
    uint32_t left_rgb, right_rgb;
    XPLMCursorStatus cursor = xplm_CursorArrow;
};

void set_rgb(uint32_t rgb) { glColor3ub((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void paint_halves(XPLMWindowID id, void *refcon)
{
    auto *p = static_cast<Painter *>(refcon);
    int l, t, r, b;
    XPLMGetWindowGeometry(id, &l, &t, &r, &b);
    XPLMSetGraphicsState(0, 0, 0, 0, 0, 0, 0);
    int mid = (l + r) / 2;
    set_rgb(p->left_rgb);
    glBegin(GL_QUADS);
    glVertex2i(l, b), glVertex2i(mid, b), glVertex2i(mid, t), glVertex2i(l, t);
    glEnd();
    set_rgb(p->right_rgb);
    glBegin(GL_QUADS);
    glVertex2i(mid, b), glVertex2i(r, b), glVertex2i(r, t), glVertex2i(mid, t);
    glEnd();
    // Leftovers the host must not keep: blending with a zero factor.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ZERO);
}

XPLMCursorStatus painter_cursor(XPLMWindowID, int, int, void *refcon) { return static_cast<Painter *>(refcon)->cursor; }

XPLMWindowID make_painter(Painter *p, int l, int t, int r, int b, const char *title)
{
    XPLMCreateWindow_t params{};
    params.structSize = sizeof params;
    params.left = l, params.top = t, params.right = r, params.bottom = b;
    params.visible = 1;
    params.drawWindowFunc = paint_halves;
    params.handleCursorFunc = painter_cursor;
    params.refcon = p;
    XPLMWindowID id = XPLMCreateWindowEx(&params);
    XPLMSetWindowTitle(id, title);
    return id;
}

uint32_t png_pixel(const std::string &path, int x, int y_from_top, int *width = nullptr, int *height = nullptr)
{
    cairo_surface_t *s = cairo_image_surface_create_from_png(path.c_str());
    EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << path;
    if (width)
        *width = cairo_image_surface_get_width(s);
    if (height)
        *height = cairo_image_surface_get_height(s);
    const unsigned char *data = cairo_image_surface_get_data(s);
    uint32_t px = 0;
    if (data != nullptr)
        px = *reinterpret_cast<const uint32_t *>(data + y_from_top * cairo_image_surface_get_stride(s) + x * 4) & 0xFFFFFF;
    cairo_surface_destroy(s);
    return px;
}

class DesktopTest : public HostTest {
protected:
    // The desktop's model under clean OpenGL state: the painters keep no contract.
    void SetUp() override
    {
        start({monitor_rect(1920, 1080, 0, 0), monitor_rect(1024, 768, 1920, 0)});
        host->set_gl_harshness(simhost::GlHarshness::kind());
    }
};

}  // namespace

TEST_F(DesktopTest, WindowsDrawInGlobalCoordinatesOnTheRightMonitor)
{
    Painter left{0x10C040, 0xC01040}, right{0x2040E0, 0xE0E020};
    make_painter(&left, 100, 500, 300, 300, "left");
    make_painter(&right, 2000, 700, 2400, 100, "right");
    host->run_frames(1);
    EXPECT_EQ(host->monitor_pixel(0, 150, 400), 0x10C040u);
    EXPECT_EQ(host->monitor_pixel(0, 250, 400), 0xC01040u);
    EXPECT_EQ(host->monitor_pixel(0, 100, 300), 0x10C040u) << "the window's bottom-left pixel";
    EXPECT_NE(host->monitor_pixel(0, 99, 400), 0x10C040u);
    EXPECT_NE(host->monitor_pixel(0, 150, 500), 0x10C040u) << "the top edge is exclusive in pixels";
    EXPECT_EQ(host->monitor_pixel(1, 80 + 50, 300), 0x2040E0u);
    EXPECT_EQ(host->monitor_pixel(1, 80 + 350, 300), 0xE0E020u);
    EXPECT_EQ(host->monitor_pixel(5, 0, 0), 0u);
    EXPECT_EQ(host->monitor_pixel(0, 5000, 0), 0u);

    // The world behind the windows is the same wherever no window is.
    EXPECT_EQ(host->monitor_pixel(0, 10, 1000), host->monitor_pixel(0, 1900, 1000));
    EXPECT_NE(host->monitor_pixel(0, 10, 1000), 0u);
}

TEST_F(DesktopTest, StackingOrderDecidesWhatShows)
{
    Painter below{0x111111, 0x111111}, above{0x333333, 0x333333};
    XPLMWindowID b = make_painter(&below, 100, 500, 500, 100, "below");
    make_painter(&above, 300, 500, 700, 100, "above");
    host->run_frames(1);
    EXPECT_EQ(host->monitor_pixel(0, 400, 300), 0x333333u);
    XPLMBringWindowToFront(b);
    host->run_frames(1);
    EXPECT_EQ(host->monitor_pixel(0, 400, 300), 0x111111u);
}

TEST_F(DesktopTest, PoppedOutWindowsHaveTheirOwnPixelsAndLieOnTop)
{
    Painter sim{0x404040, 0x404040}, pop{0xA01010, 0x10A0A0};
    make_painter(&sim, 0, 600, 800, 0, "sim");
    XPLMWindowID p = make_painter(&pop, 200, 400, 600, 200, "Pop Window");
    XPLMSetWindowPositioningMode(p, xplm_WindowPopOut, 0);
    host->run_frames(1);
    uint32_t rgb = 0;
    ASSERT_TRUE(host->popout_pixel("Pop Window", 10, 10, &rgb));
    EXPECT_EQ(rgb, 0xA01010u);
    ASSERT_TRUE(host->popout_pixel("Pop Window", 390, 190, &rgb));
    EXPECT_EQ(rgb, 0x10A0A0u);
    EXPECT_FALSE(host->popout_pixel("Pop Window", 400, 10, &rgb)) << "outside its 400 x 200 pixels";
    EXPECT_FALSE(host->popout_pixel("sim", 10, 10, &rgb));
    EXPECT_EQ(host->monitor_pixel(0, 210, 210), 0xA01010u) << "over the simulator's window";
    EXPECT_EQ(host->monitor_pixel(0, 100, 100), 0x404040u);

    XPLMSetWindowGeometryOS(p, 1800, 400, 2200, 200);   // across both monitors
    host->run_frames(1);
    EXPECT_EQ(host->monitor_pixel(0, 1850, 300), 0xA01010u);
    EXPECT_EQ(host->monitor_pixel(1, 150, 300), 0x10A0A0u);

    host->os_close_window("Pop Window");
    host->run_frames(1);
    EXPECT_FALSE(host->popout_pixel("Pop Window", 10, 10, &rgb));
}

TEST_F(DesktopTest, ShotsWriteEveryMonitorAndPopOutWithTheCursor)
{
    Painter sim{0x404040, 0x404040}, pop{0xA01010, 0x10A0A0};
    make_painter(&sim, 0, 600, 800, 0, "sim");
    XPLMWindowID p = make_painter(&pop, 200, 400, 600, 200, "Pop Window");
    XPLMSetWindowPositioningMode(p, xplm_WindowPopOut, 0);

    // Over the pop-out the cursor is hidden: its pixels are the window's.
    pop.cursor = xplm_CursorHidden;
    host->mouse_move(300, 300);
    host->run_frames(1);

    std::string dir = root() + "/shots";
    std::vector<std::string> files = host->shot(dir, "first");
    std::vector<std::string> expected{dir + "/first-monitor0.png", dir + "/first-monitor1.png",
                                      dir + "/first-popout-Pop_Window.png"};
    EXPECT_EQ(files, expected);
    int w = 0, h = 0;
    EXPECT_EQ(png_pixel(files[0], 300, 1080 - 300, &w, &h), 0xA01010u) << "no cursor at the pointer";
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    EXPECT_EQ(png_pixel(files[1], 10, 10, &w, &h), host->monitor_pixel(1, 10, 767));
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(png_pixel(files[2], 100, 100, &w, &h), 0xA01010u) << "pointer at (100, 100) from the pop-out's top-left";
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 200);
    EXPECT_EQ(png_pixel(files[2], 10, 190), 0xA01010u);

    // Over the simulator's world its arrow is drawn at the pointer (the
    // desktop's where there is one), and only into the shot.
    host->mouse_move(1500, 900);
    host->run_frames(1);
    files = host->shot(dir, "arrow");
    // Points inside any arrow whose tip is the pointer, below and right of it.
    int drawn = 0;
    for (auto [dx, dy] : {std::pair{1, 4}, {1, 6}, {2, 8}, {1, 10}, {3, 10}, {2, 12}})
        drawn += png_pixel(files[0], 1500 + dx, 1080 - 900 + dy) != host->monitor_pixel(0, 1500 + dx, 900 - dy);
    EXPECT_GE(drawn, 4) << "arrow pixels near the pointer";
    EXPECT_EQ(png_pixel(files[0], 1500 + 40, 1080 - 900 + 40), host->monitor_pixel(0, 1540, 860)) << "beyond it";
}

TEST_F(DesktopTest, LiveCountsThePluginsGlObjectsAndThreads)
{
    host->run_frames(1);
    simhost::LiveObjects before = host->live();
    EXPECT_EQ(before.textures, 0) << "the host's own are not counted";
    EXPECT_EQ(before.framebuffers, 0);
    EXPECT_GE(before.threads, 1);

    int names[2] = {};
    XPLMGenerateTextureNumbers(names, 2);
    XPLMBindTexture2d(names[0], 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    EXPECT_EQ(host->live().textures, 1) << "a texture name never bound is no texture yet";
    EXPECT_EQ(host->live().framebuffers, 1);

    std::mutex m;
    std::condition_variable cv;
    bool stop = false;
    std::thread worker([&] {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [&] { return stop; });
    });
    EXPECT_EQ(host->live().threads, before.threads + 1);
    {
        std::lock_guard<std::mutex> lock(m);
        stop = true;
    }
    cv.notify_one();
    worker.join();
    EXPECT_EQ(vxr_test::settled_count([&] { return host->live().threads; }, before.threads), before.threads);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo);
    GLuint tex = static_cast<GLuint>(names[0]);
    glDeleteTextures(1, &tex);
    host->run_frames(1);
    EXPECT_EQ(host->live().textures, 0);
    EXPECT_EQ(host->live().framebuffers, 0);
}
