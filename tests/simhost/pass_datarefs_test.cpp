/*
 * sim/graphics/view/current_gl_fbo and sim/graphics/view/viewport: in every
 * pass they read the framebuffer really bound and its viewport (left,
 * bottom, right, top): the panel's, each device's screen, the desktop and a
 * popped-out window's own; by default a device's callbacks find them as the
 * pass before left them. A simulator that lacks them is modelled too.
 */
#include "host_fixture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <XPLMDataAccess.h>
#include <XPLMDisplay.h>

using namespace simhost_test;

namespace {

struct PassSeen {
    int fbo = -1;
    int viewport[4] = {-1, -1, -1, -1};
    GLint bound = -1;
    GLint gl_viewport[4] = {-1, -1, -1, -1};
};

std::vector<PassSeen> seen;

void look()
{
    PassSeen s;
    s.fbo = XPLMGetDatai(XPLMFindDataRef("sim/graphics/view/current_gl_fbo"));
    EXPECT_EQ(XPLMGetDatavi(XPLMFindDataRef("sim/graphics/view/viewport"), s.viewport, 0, 4), 4);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &s.bound);
    glGetIntegerv(GL_VIEWPORT, s.gl_viewport);
    seen.push_back(s);
}

int on_gauges(XPLMDrawingPhase, int, void *)
{
    look();
    return 1;
}

int on_device(XPLMDeviceID, int, void *)
{
    look();
    return 1;
}

void on_window(XPLMWindowID, void *) { look(); }

XPLMWindowID make_window(const char *title)
{
    XPLMCreateWindow_t params{};
    params.structSize = sizeof params;
    params.left = 100, params.top = 400, params.right = 400, params.bottom = 100;
    params.visible = 1;
    params.drawWindowFunc = on_window;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFloatingWindows;
    XPLMWindowID id = XPLMCreateWindowEx(&params);
    XPLMSetWindowTitle(id, title);
    return id;
}

::testing::AssertionResult told_as_bound(const PassSeen &s, int width, int height)
{
    const int expected[4] = {0, 0, width, height};
    if (s.fbo != s.bound || s.bound == 0)
        return ::testing::AssertionFailure() << "current_gl_fbo " << s.fbo << ", bound " << s.bound;
    for (int i = 0; i < 4; i++) {
        const int gl_edge = i < 2 ? s.gl_viewport[i] : s.gl_viewport[i - 2] + s.gl_viewport[i];
        if (s.viewport[i] != expected[i] || s.viewport[i] != gl_edge)
            return ::testing::AssertionFailure() << "viewport[" << i << "] " << s.viewport[i] << ", GL's edge "
                                                 << gl_edge << ", expected " << expected[i];
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(HostTest, PassDatarefsReadTheFramebufferAndViewportOfEachPass)
{
    start();
    simhost::HostTiming timing = host->timing();
    timing.bind_delay_frames = 0;
    host->set_timing(timing);
    simhost::GlHarshness h;
    h.irregular_passes = false;
    host->set_gl_harshness(h);
    simhost::AvionicsHarshness current;
    current.stale_datarefs = false;
    host->set_avionics_harshness(current);
    host->load_aircraft(true);
    XPLMRegisterDrawCallback(on_gauges, xplm_Phase_Gauges, 0, nullptr);
    XPLMCustomizeAvionics_t params = {};
    params.structSize = sizeof params;
    params.deviceId = xplm_device_G1000_PFD_1;
    params.drawCallbackAfter = on_device;
    XPLMAvionicsID pfd = XPLMRegisterAvionicsCallbacksEx(&params);
    make_window("inside");
    XPLMWindowID popped = make_window("popped");
    XPLMSetWindowPositioningMode(popped, xplm_WindowPopOut, 0);
    XPLMSetWindowGeometryOS(popped, 500, 700, 800, 500);

    seen.clear();
    host->run_frames(1);
    // The device, the albedo and emissive panel passes, the window inside, the popped-out one.
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_TRUE(told_as_bound(seen[0], 1024, 768));
    EXPECT_TRUE(told_as_bound(seen[1], 2048, 1024));
    EXPECT_EQ(seen[2].fbo, seen[1].fbo);
    EXPECT_NE(seen[0].fbo, seen[1].fbo);
    EXPECT_TRUE(told_as_bound(seen[3], 1920, 1080)) << "the desktop of one monitor";
    EXPECT_TRUE(told_as_bound(seen[4], 300, 200)) << "the popped-out window's own framebuffer";
    EXPECT_NE(seen[4].fbo, seen[3].fbo);

    // By default a device's callbacks find the pass before's values: the
    // desktop's, where the frame before ended, not their own.
    host->set_avionics_harshness(simhost::AvionicsHarshness());
    const PassSeen before = seen[3];
    seen.clear();
    host->run_frames(1);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].fbo, before.fbo);
    EXPECT_EQ(seen[0].viewport[2], 1920);
    EXPECT_NE(seen[0].bound, before.fbo);
    EXPECT_EQ(seen[0].gl_viewport[2], 1024);
    EXPECT_TRUE(told_as_bound(seen[1], 2048, 1024)) << "drawing callbacks are told their own";

    simhost::MissingDatarefs missing;
    missing.current_gl_fbo = true;
    host->set_missing_datarefs(missing);
    EXPECT_EQ(XPLMFindDataRef("sim/graphics/view/current_gl_fbo"), nullptr);
    EXPECT_NE(XPLMFindDataRef("sim/graphics/view/viewport"), nullptr);
    missing.viewport = true;
    host->set_missing_datarefs(missing);
    EXPECT_EQ(XPLMFindDataRef("sim/graphics/view/viewport"), nullptr);
    host->set_missing_datarefs(simhost::MissingDatarefs());
    EXPECT_NE(XPLMFindDataRef("sim/graphics/view/current_gl_fbo"), nullptr);
    XPLMUnregisterAvionicsCallbacks(pfd);
    XPLMUnregisterDrawCallback(on_gauges, xplm_Phase_Gauges, 0, nullptr);
}
