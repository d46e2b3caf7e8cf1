/*
 * The host at X-Plane's least kind about OpenGL state: what callbacks find,
 * X-Plane's texture and graphics-state caches over a driver that gives freed
 * names out again, the gauges passes as the SDK allows them, the strict check
 * after each callback (and the repair where it is off), and a thread count
 * that leaves the driver's threads out.
 */
#include "host_fixture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

#include <XPLMDataAccess.h>
#include <XPLMDisplay.h>
#include <XPLMGraphics.h>

using namespace simhost_test;

namespace {

struct Found {
    GLint draw_fb = 0, read_fb = 0, samples = 0, unit = 0, tex0 = 0, pack = 0, unpack = 0, program = 0;
    GLint box[4] = {0, 0, 0, 0};
    GLboolean scissor = GL_FALSE, lighting = GL_FALSE, blend = GL_FALSE;
    GLfloat colour[4] = {0, 0, 0, 0};
    int render_type = 0;
    uint32_t pixel = 0;
};

Found found_now()
{
    Found f;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &f.draw_fb);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &f.read_fb);
    glGetIntegerv(GL_SAMPLES, &f.samples);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &f.unit);
    glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &f.pack);
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &f.unpack);
    glGetIntegerv(GL_CURRENT_PROGRAM, &f.program);
    glGetIntegerv(GL_SCISSOR_BOX, f.box);
    glGetFloatv(GL_CURRENT_COLOR, f.colour);
    f.scissor = glIsEnabled(GL_SCISSOR_TEST);
    f.lighting = glIsEnabled(GL_LIGHTING);
    f.blend = glIsEnabled(GL_BLEND);
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &f.tex0);
    glActiveTexture(static_cast<GLenum>(unit));
    f.render_type = XPLMGetDatai(XPLMFindDataRef("sim/graphics/view/panel_render_type"));
    return f;
}

std::vector<Found> gauges, windows;
std::function<void()> leak;

int record_gauges(XPLMDrawingPhase, int, void *)
{
    Found f = found_now();
    if (f.samples == 0) {
        // The panel's PFD bottom-left marker, or what another framebuffer
        // holds there; every binding given back.
        GLint read_buffer = 0;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(f.draw_fb));
        glGetIntegerv(GL_READ_BUFFER, &read_buffer);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        unsigned char rgba[4] = {0, 0, 0, 0};
        glReadPixels(64, 64, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        f.pixel = static_cast<uint32_t>(rgba[0]) << 16 | static_cast<uint32_t>(rgba[1]) << 8 | rgba[2];
        glBindBuffer(GL_PIXEL_PACK_BUFFER, static_cast<GLuint>(f.pack));
        glReadBuffer(static_cast<GLenum>(read_buffer));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(f.read_fb));
    }
    gauges.push_back(f);
    if (leak)
        leak();
    return 1;
}

void record_window(XPLMWindowID, void *)
{
    windows.push_back(found_now());
    if (leak)
        leak();
}

XPLMWindowID make_window()
{
    XPLMCreateWindow_t params{};
    params.structSize = sizeof params;
    params.left = 100;
    params.top = 400;
    params.right = 300;
    params.bottom = 250;
    params.visible = 1;
    params.drawWindowFunc = record_window;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFloatingWindows;
    return XPLMCreateWindowEx(&params);
}

class GlStateTest : public HostTest {
protected:
    void SetUp() override
    {
        start();
        gauges.clear();
        windows.clear();
        leak = nullptr;
    }
    void TearDown() override { leak = nullptr; }
};

TEST_F(GlStateTest, CallbacksFindWhatAPreviousDrawerMightLeave)
{
    XPLMRegisterDrawCallback(record_gauges, xplm_Phase_Gauges, 0, nullptr);
    make_window();
    host->run_frames(1);
    ASSERT_EQ(gauges.size(), 2u);
    ASSERT_EQ(windows.size(), 1u);
    for (const Found &f : {gauges[1], windows[0]}) {
        EXPECT_TRUE(f.scissor);
        EXPECT_EQ(f.unit, GL_TEXTURE1);
        EXPECT_NE(f.tex0, 0);
        EXPECT_NE(f.pack, 0);
        EXPECT_NE(f.unpack, 0);
        EXPECT_NE(f.read_fb, f.draw_fb);
        EXPECT_TRUE(f.lighting && f.blend);
        EXPECT_NE(f.colour[0], f.colour[2]);
        EXPECT_EQ(f.program, 0);
    }
    EXPECT_EQ(gauges[1].box[2], 16);
    // A window callback's box is its own rectangle, in the desktop's pixels.
    EXPECT_EQ(windows[0].box[0], 100);
    EXPECT_EQ(windows[0].box[1], 250);
    EXPECT_EQ(windows[0].box[2], 200);
    EXPECT_EQ(windows[0].box[3], 150);

    host->set_gl_harshness(simhost::GlHarshness::kind());
    host->run_frames(1);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_FALSE(windows[1].scissor);
    EXPECT_EQ(windows[1].unit, GL_TEXTURE0);
    EXPECT_EQ(windows[1].read_fb, windows[1].draw_fb);
    EXPECT_EQ(windows[1].colour[0], 1.0f);
}

TEST_F(GlStateTest, XPlanesCachesSkipWhatTheyBelieveIsDone)
{
    GLuint a = 0, b = 0, other = 0;
    glGenTextures(1, &a);
    XPLMBindTexture2d(static_cast<int>(a), 0);
    glDeleteTextures(1, &a);
    glGenTextures(1, &b);
    const std::string renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
    if (renderer.find("zink") == std::string::npos) {
        EXPECT_EQ(b, a) << "names given out again, as vendor drivers do";
    }
    glGenTextures(1, &other);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, other);
    GLint bound = 0;
    XPLMBindTexture2d(static_cast<int>(a), 0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(other)) << "the cache still holds the deleted name, so the bind is skipped";

    XPLMSetGraphicsState(0, 1, 0, 0, 1, 0, 1);
    glDisable(GL_BLEND);
    XPLMSetGraphicsState(0, 1, 0, 0, 1, 0, 1);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    simhost::GlHarshness h = host->gl_harshness();
    h.caches = false;
    host->set_gl_harshness(h);
    XPLMBindTexture2d(static_cast<int>(a), 0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(a));
    XPLMSetGraphicsState(0, 1, 0, 0, 1, 0, 1);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glDeleteTextures(1, &b);
    glDeleteTextures(1, &other);
}

TEST_F(GlStateTest, GaugesPassesComeAsTheSdkAllows)
{
    simhost::GlHarshness h = simhost::GlHarshness::kind();
    h.irregular_passes = true;
    host->set_gl_harshness(h);
    XPLMRegisterDrawCallback(record_gauges, xplm_Phase_Gauges, 0, nullptr);
    host->run_frames(10);
    // Two passes a frame; a third, lit, on another framebuffer in frames 2
    // and 6; none in frame 10.
    ASSERT_EQ(gauges.size(), 20u);
    const Found &panel = gauges[3], &other = gauges[4];
    EXPECT_EQ(panel.render_type, 2);
    EXPECT_EQ(panel.pixel, 0xFF0000u);
    EXPECT_EQ(other.render_type, 2);
    EXPECT_NE(other.draw_fb, panel.draw_fb);
    EXPECT_EQ(other.pixel, 0x5A2D82u);
    EXPECT_EQ(gauges[5].render_type, 1);

    h.multisampled_panel = true;
    h.irregular_passes = false;
    host->set_gl_harshness(h);
    host->run_frames(1);
    EXPECT_EQ(gauges.back().samples, 4);
}

using GlStateDeathTest = GlStateTest;

// A callback that leaves changed what X-Plane does not manage ends the run
// with the callback and the state named; with the check off the host puts
// the state back before its own drawing and the next callback.
TEST_F(GlStateDeathTest, ACallbackThatLeavesStateChangedEndsTheRun)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    XPLMRegisterDrawCallback(record_gauges, xplm_Phase_Gauges, 0, nullptr);
    leak = [] { glDisable(GL_SCISSOR_TEST); };
    EXPECT_DEATH(host->run_frames(1), "draw callback left OpenGL state it found changed: scissor test off \\(found on\\)");
    leak = [] { glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0); };
    XPLMUnregisterDrawCallback(record_gauges, xplm_Phase_Gauges, 0, nullptr);
    make_window();
    EXPECT_DEATH(host->run_frames(1), "window-draw callback .*pixel unpack buffer 0");

    simhost::GlHarshness h = simhost::GlHarshness::kind();
    host->set_gl_harshness(h);
    XPLMRegisterDrawCallback(record_gauges, xplm_Phase_Gauges, 0, nullptr);
    leak = [] {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 1, 1);
        glViewport(0, 0, 4, 4);
        glBlendFunc(GL_ZERO, GL_ZERO);
        glEnable(GL_BLEND);
    };
    host->run_frames(2);
    ASSERT_EQ(gauges.size(), 4u);
    EXPECT_EQ(gauges[3].pixel, 0xFF0000u);
}

TEST_F(GlStateTest, TheDriversThreadsAreNotCounted)
{
    make_window();
    host->run_frames(30);
    EXPECT_EQ(host->live().threads, 1);
}

}  // namespace
