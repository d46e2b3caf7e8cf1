// The live picture under the simulator at its least kind about OpenGL state:
// each item of state a previous drawer may leave, on its own; X-Plane's
// texture cache with a driver that gives freed names out again; a second lit
// pass on another framebuffer; a multisampled panel framebuffer.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "Capture/capture_clock.h"
#include "Capture/panel_source.h"
#include "Capture/sim_framebuffer.h"
#include "Popups/popupSystem.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using vxr_test::LinkedSim;

simhost::GlHarshness only(bool simhost::GlHarshness::*item)
{
    simhost::GlHarshness h = simhost::GlHarshness::kind();
    h.caches = h.strict_check = true;
    if (item != nullptr)
        h.*item = true;
    return h;
}

struct GlContract : SavedOnUnits {
    void frames(int n)
    {
        for (int i = 0; i < n; i++)
            frame();
    }

    // The four corner markers of a display filling a 1024 x 768 unit.
    testing::AssertionResult live(int monitor, const display_markers &m) const
    {
        const int lo = 64, right = 1024 - 64, top = display_to_area_y(768 - 64, 768);
        const int bottom = display_to_area_y(64, 768);
        const uint32_t want[4] = {m.bottom_left, m.bottom_right, m.top_left, m.top_right};
        const int at[4][2] = {{lo, bottom}, {right, bottom}, {lo, top}, {right, top}};
        for (int i = 0; i < 4; i++) {
            const uint32_t got = sim.host->monitor_pixel(monitor, at[i][0], at[i][1]);
            if (!color_near(got, want[i]))
                return testing::AssertionFailure() << "monitor " << monitor << " at " << at[i][0] << ", "
                                                   << at[i][1] << ": " << std::hex << got << " not " << want[i];
        }
        return testing::AssertionSuccess();
    }
};

struct Item {
    const char *name;
    bool simhost::GlHarshness::*item;
};

struct GlContractItem : GlContract, testing::WithParamInterface<Item> {};

// Each piece of state alone, then all at once: both displays live, their
// overlays over them (an overlay not uploaded paints its window white), at
// the first copy and a later one; the strict check ends the run at any
// state not given back.
TEST_P(GlContractItem, BothDisplaysAreLiveWhateverTheLastDrawerLeft)
{
    simhost::GlHarshness h = GetParam().item != nullptr ? only(GetParam().item) : simhost::GlHarshness{};
    h.irregular_passes = false;
    sim.host->set_gl_harshness(h);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    frames(1);
    EXPECT_TRUE(live(1, pfd_markers));
    EXPECT_TRUE(live(2, mfd_markers));
    frames(2);
    EXPECT_TRUE(live(1, pfd_markers));
    EXPECT_TRUE(live(2, mfd_markers));
    EXPECT_EQ(sim.count_logged("framebuffer incomplete"), 0);
}

const Item items[] = {
    {"scissor", &simhost::GlHarshness::scissor},
    {"colour", &simhost::GlHarshness::colour},
    {"textures", &simhost::GlHarshness::textures},
    {"pixel_buffers", &simhost::GlHarshness::pixel_buffers},
    {"graphics_state", &simhost::GlHarshness::graphics_state},
    {"framebuffers", &simhost::GlHarshness::framebuffers},
    {"culling", &simhost::GlHarshness::culling},
    {"all", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Items, GlContractItem, testing::ValuesIn(items),
                         [](const testing::TestParamInfo<Item> &info) { return std::string(info.param.name); });

// A driver without direct state access, in an X-Plane without the
// framebuffer's datarefs: the copy binds, reads back what it changes, and
// gives it all back, at the least kind.
TEST_F(GlContract, TheCopyByBindingGivesEverythingBack)
{
    struct ByBinding {
        ByBinding() { sim_framebuffer_force_binding(true), sim_framebuffer_ignore_datarefs(true); }
        ~ByBinding() { sim_framebuffer_force_binding(false), sim_framebuffer_ignore_datarefs(false); }
    } by_binding;
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    frames(3);
    EXPECT_TRUE(live(1, pfd_markers));
    EXPECT_TRUE(live(2, mfd_markers));
}

PFNGLCHECKNAMEDFRAMEBUFFERSTATUSPROC real_check = nullptr;

GLenum GLAPIENTRY unsupported_once(GLuint, GLenum)
{
    __glewCheckNamedFramebufferStatus = real_check;
    return GL_FRAMEBUFFER_UNSUPPORTED;
}

// The MFD's copy fails first; its texture, bound through X-Plane's cache,
// is deleted. A driver that gives the name out again hands it to the PFD's
// new texture in the same pass, which must really be bound to be made.
TEST_F(GlContract, ATextureNameGivenOutAgainIsReallyBound)
{
    real_check = __glewCheckNamedFramebufferStatus;
    ASSERT_NE(real_check, nullptr);
    sim.host->set_gl_harshness(only(nullptr));   // the caches alone
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    ASSERT_TRUE(sim.host->command(mfd_cmd));
    sim.mark();
    __glewCheckNamedFramebufferStatus = unsupported_once;
    frames(2);
    __glewCheckNamedFramebufferStatus = real_check;
    EXPECT_EQ(sim.count_logged("framebuffer incomplete"), 1);
    EXPECT_TRUE(mfd_regions[0].failed);
    EXPECT_FALSE(pfd_regions[0].failed);
    EXPECT_TRUE(live(1, pfd_markers));
}

// Every read of the clock a copy's interval later than the last: only the
// frame's first lit pass, on the panel's framebuffer, may be copied.
uint64_t racing_now = 1000000;
uint64_t racing_clock() { return racing_now += 30000; }

TEST_F(GlContract, OnlyTheFirstLitPassOfAFrameIsCopied)
{
    capture_clock_set_source(racing_clock);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    for (int frame = 0; frame < 12; frame++) {
        sim.host->run_frames(1);
        ASSERT_TRUE(live(1, pfd_markers)) << "frame " << sim.host->frame_count();
    }
}

TEST_F(GlContract, AMultisampledPanelIsRefusedWithOneLine)
{
    simhost::GlHarshness h;
    h.multisampled_panel = true;
    sim.host->set_gl_harshness(h);
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    sim.mark();
    frames(4);
    EXPECT_EQ(sim.count_logged("is multisampled (4 samples), which the copy does not read"), 1);
    EXPECT_TRUE(pfd_regions[0].multisampled);
    EXPECT_EQ(sim.host->live().framebuffers, 0);
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
}

}  // namespace
