/*
 * The panel passes: which run, what panel_render_type reads in each, the
 * panel framebuffer bound during the gauges callbacks, the synthetic
 * displays' markers and frame-number bits read back from it, before-callbacks
 * that suppress the host's drawing, and registrations by phase.
 */
#include "host_fixture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <XPLMDataAccess.h>
#include <XPLMDisplay.h>
#include <XPLMProcessing.h>

using namespace simhost_test;

namespace {

struct PassRecord {
    int render_type;
    GLint framebuffer;
    GLint viewport[4];
    std::vector<uint32_t> pixels;   // at the probe points, in order
};

struct Probe {
    int x, y;
};

struct GaugesSpy {
    std::vector<Probe> probes;
    std::vector<PassRecord> passes;
    int before_result = 1;
    std::function<void()> during;
};

XPLMDataRef render_type_ref() { return XPLMFindDataRef("sim/graphics/view/panel_render_type"); }

int gauges_after(XPLMDrawingPhase, int, void *refcon)
{
    auto *spy = static_cast<GaugesSpy *>(refcon);
    PassRecord r{};
    r.render_type = XPLMGetDatai(render_type_ref());
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &r.framebuffer);
    glGetIntegerv(GL_VIEWPORT, r.viewport);
    for (const Probe &p : spy->probes)
        r.pixels.push_back(read_bound_pixel(p.x, p.y));
    spy->passes.push_back(r);
    if (spy->during)
        spy->during();
    return 1;
}

int gauges_before(XPLMDrawingPhase, int, void *refcon) { return static_cast<GaugesSpy *>(refcon)->before_result; }

int render_type_outside = -1;
float read_render_type(float, float, int, void *)
{
    render_type_outside = XPLMGetDatai(render_type_ref());
    return -1;
}

// The centre and the inner edges of each corner marker of one display.
struct Marker {
    int x0, y0;   // its bottom-left pixel in the panel
    uint32_t rgb;
};

std::vector<Marker> markers()
{
    // Display-local pixels 52..75 counted from each corner: from the right or
    // top, 1024 - 76 = 948 and 768 - 76 = 692.
    return {
        {52, 52, 0xFF0000}, {948, 52, 0x00FF00}, {52, 692, 0x0000FF}, {948, 692, 0xFFFFFF},
        {1024 + 52, 52, 0xFFFF00}, {1024 + 948, 52, 0xFF00FF}, {1024 + 52, 692, 0x00FFFF}, {1024 + 948, 692, 0xFF8000},
    };
}

// The passes' model itself, under clean conditions: two passes every frame,
// read back from the framebuffer bound for reading.
class PanelPassTest : public HostTest {
protected:
    void SetUp() override
    {
        start();
        host->set_gl_harshness(simhost::GlHarshness::kind());
    }
};

}  // namespace

TEST_F(PanelPassTest, AlbedoThenEmissiveWithTheDatarefAndThePanelFramebuffer)
{
    GaugesSpy spy;
    ASSERT_EQ(XPLMRegisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy), 1);
    XPLMRegisterFlightLoopCallback(read_render_type, -1, nullptr);
    host->run_frames(2);
    ASSERT_EQ(spy.passes.size(), 4u);
    EXPECT_EQ(spy.passes[0].render_type, 1);
    EXPECT_EQ(spy.passes[1].render_type, 2);
    EXPECT_EQ(spy.passes[2].render_type, 1);
    EXPECT_EQ(spy.passes[3].render_type, 2);
    EXPECT_EQ(render_type_outside, 0);
    EXPECT_EQ(XPLMGetDatai(render_type_ref()), 0);
    for (const PassRecord &r : spy.passes) {
        EXPECT_NE(r.framebuffer, 0);
        EXPECT_EQ(r.viewport[2], 2048);
        EXPECT_EQ(r.viewport[3], 1024);
    }
    EXPECT_EQ(XPLMGetDatai(nullptr), 0);
    EXPECT_EQ(XPLMFindDataRef("sim/no/such/dataref"), nullptr);
    EXPECT_EQ(XPLMGetDatai(XPLMFindDataRef("sim/graphics/VR/enabled")), 0);
}

TEST_F(PanelPassTest, MarkersSitExactlyInTheEmissivePassOnly)
{
    GaugesSpy spy;
    for (const Marker &m : markers()) {
        spy.probes.push_back({m.x0, m.y0});            // first pixel
        spy.probes.push_back({m.x0 + 23, m.y0 + 23});  // last pixel
        spy.probes.push_back({m.x0 + 12, m.y0 + 12});  // centre
        spy.probes.push_back({m.x0 - 1, m.y0 + 12});   // just outside, left
        spy.probes.push_back({m.x0 + 24, m.y0 + 12});  // just outside, right
        spy.probes.push_back({m.x0 + 12, m.y0 - 1});   // just outside, below
        spy.probes.push_back({m.x0 + 12, m.y0 + 24});  // just outside, above
    }
    XPLMRegisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy);
    host->run_frames(1);
    ASSERT_EQ(spy.passes.size(), 2u);
    const PassRecord &albedo = spy.passes[0], &emissive = spy.passes[1];
    std::vector<Marker> list = markers();
    for (size_t i = 0; i < list.size(); i++) {
        SCOPED_TRACE("marker " + std::to_string(i));
        for (int k = 0; k < 3; k++) {
            EXPECT_EQ(emissive.pixels[i * 7 + k], list[i].rgb);
            EXPECT_EQ(albedo.pixels[i * 7 + k], 0x202020u);
        }
        for (int k = 3; k < 7; k++)
            EXPECT_EQ(emissive.pixels[i * 7 + k], 0x000000u) << "the 4-pixel clear border";
    }
}

TEST_F(PanelPassTest, FrameNumberBitsFollowTheFrameCount)
{
    GaugesSpy spy;
    for (int display : {0, 1024}) {
        for (int bit = 0; bit < 16; bit++)
            spy.probes.push_back({display + 448 + 8 * bit + 4, 16 + 4});
    }
    XPLMRegisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy);
    host->set_panel_passes({false, 2});
    host->run_frames(5);
    ASSERT_EQ(spy.passes.size(), 5u);
    for (size_t pass = 0; pass < spy.passes.size(); pass++) {
        for (int display = 0; display < 2; display++) {
            uint32_t value = 0;
            for (int bit = 0; bit < 16; bit++) {
                uint32_t px = spy.passes[pass].pixels[static_cast<size_t>(display * 16 + bit)];
                ASSERT_TRUE(px == 0xFFFFFF || px == 0x000000) << std::hex << px;
                value |= (px == 0xFFFFFF ? 1u : 0u) << bit;
            }
            EXPECT_EQ(value, pass + 1) << "display " << display;
        }
    }
}

TEST_F(PanelPassTest, SinglePassSettingsAndDarkGlass)
{
    GaugesSpy spy;
    spy.probes.push_back({64, 64});
    XPLMRegisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy);
    host->set_panel_passes({false, 1});
    host->run_frames(2);
    host->set_panel_passes({false, 3});
    host->run_frames(1);
    host->set_panel_passes({false, 2});
    host->run_frames(1);
    ASSERT_EQ(spy.passes.size(), 4u);
    EXPECT_EQ(spy.passes[0].render_type, 1);
    EXPECT_EQ(spy.passes[2].render_type, 3);
    EXPECT_EQ(spy.passes[2].pixels[0], 0x202020u) << "screens are lit only when the dataref reads 2";
    EXPECT_EQ(spy.passes[3].render_type, 2);
    EXPECT_EQ(spy.passes[3].pixels[0], 0xFF0000u);
}

TEST_F(PanelPassTest, BeforeCallbackReturningZeroSuppressesTheHostsDrawing)
{
    GaugesSpy spy;
    spy.probes.push_back({64, 64});
    host->set_panel_passes({false, 2});
    XPLMRegisterDrawCallback(gauges_before, xplm_Phase_Gauges, 1, &spy);
    XPLMRegisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy);
    // Paint the panel in the after-callback; a suppressed pass leaves it so.
    spy.during = [] {
        glClearColor(0x12 / 255.0f, 0x34 / 255.0f, 0x56 / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    };
    host->run_frames(1);
    spy.before_result = 0;
    host->run_frames(1);
    spy.before_result = 1;
    host->run_frames(1);
    ASSERT_EQ(spy.passes.size(), 3u);
    EXPECT_EQ(spy.passes[0].pixels[0], 0xFF0000u);
    EXPECT_EQ(spy.passes[1].pixels[0], 0x123456u);
    EXPECT_EQ(spy.passes[2].pixels[0], 0xFF0000u);
}

TEST_F(PanelPassTest, RegistrationsByPhase)
{
    GaugesSpy spy;
    EXPECT_EQ(XPLMRegisterDrawCallback(gauges_after, 12345, 0, &spy), 0);
    EXPECT_EQ(XPLMRegisterDrawCallback(gauges_after, xplm_Phase_Window, 0, &spy), 1);
    EXPECT_EQ(XPLMRegisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy), 1);
    EXPECT_EQ(XPLMRegisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy), 1);
    EXPECT_EQ(host->live().draw_callbacks, 3);
    host->set_panel_passes({false, 2});
    host->run_frames(1);
    EXPECT_EQ(spy.passes.size(), 2u) << "both gauges registrations run";
    EXPECT_EQ(XPLMUnregisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy), 1);
    host->run_frames(1);
    EXPECT_EQ(spy.passes.size(), 3u);
    EXPECT_EQ(XPLMUnregisterDrawCallback(gauges_after, xplm_Phase_Gauges, 1, &spy), 0);
    EXPECT_EQ(XPLMUnregisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy), 1);
    EXPECT_EQ(XPLMUnregisterDrawCallback(gauges_after, xplm_Phase_Gauges, 0, &spy), 0);
    EXPECT_EQ(host->live().draw_callbacks, 1);
}
