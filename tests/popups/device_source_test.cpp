// The stock G1000's screens as the popups' source: chosen by the aircraft
// and the source keys, switched when the user's aircraft is loaded without
// reopening the windows, copied in the device's callback at most twenty times
// a second at the viewport's size, released on hide. (X-Plane 11: the
// avionics_xplane11 scenario.)
#include <cstdint>
#include <ostream>

#include <gtest/gtest.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <XPLMGraphics.h>
#include <XPLMPlugin.h>

#include "Capture/capture_clock.h"
#include "Capture/panel_source.h"
#include "Capture/stock_device_source.h"
#include "Popups/popupSystem.h"
#include "popup_test_util.h"

namespace {

using namespace popup_test;
using vxr_test::LinkedSim;

constexpr uint32_t panel_grey = 0x808080;

// PFD and MFD full screen on the two display units, opened by their commands.
struct DeviceSourceTest : testing::Test {
    LinkedSim sim{cockpit_monitors(), false};

    void SetUp() override
    {
        use_test_clock(1000000);
        // The choice at the message itself; devices bound late have a scenario.
        simhost::HostTiming timing = sim.host->timing();
        timing.bind_delay_frames = 0;
        sim.host->set_timing(timing);
    }
    void TearDown() override
    {
        capture_clock_set_source(nullptr);
        sim_framebuffer_ignore_datarefs(false);
    }

    void load(std::vector<std::string> extra = {})
    {
        std::vector<std::string> lines = {"pfd_nbzl_monitor_start = 1", "pfd_nbzl_popup_at_start = -1",
                                          "mfd_nbzl_monitor_start = 2", "mfd_nbzl_popup_at_start = -1"};
        lines.insert(lines.end(), extra.begin(), extra.end());
        load_with_settings(sim, lines);
    }

    void open_both()
    {
        ASSERT_TRUE(sim.host->command(pfd_cmd));
        ASSERT_TRUE(sim.host->command(mfd_cmd));
    }

    void frame(uint64_t advance_us = 50000)
    {
        advance_test_clock(advance_us);
        sim.host->run_frames(1);
    }

    // What the unit shows at the display's bottom-left and top-right markers.
    bool unit_shows(int monitor, const display_markers &m) const
    {
        return color_near(sim.host->monitor_pixel(monitor, 64, 64), m.bottom_left) &&
               color_near(sim.host->monitor_pixel(monitor, 1024 - 64, 768 - 64), m.top_right);
    }
    bool unit_grey(int monitor) const
    {
        return color_near(sim.host->monitor_pixel(monitor, 64, 64), panel_grey) &&
               color_near(sim.host->monitor_pixel(monitor, 1024 - 64, 768 - 64), panel_grey);
    }
};

TEST_F(DeviceSourceTest, AStockG1000AircraftShowsTheDevicesLiveScreensFullScreen)
{
    sim.host->load_aircraft(true);
    load();
    EXPECT_EQ(sim.count_logged(" shows "), 0) << "a closed display says nothing of its source";
    open_both();
    EXPECT_EQ(sim.count_logged("VXR: MFD shows the stock G1000's screen (device 7): the aircraft uses it"), 1);
    EXPECT_EQ(sim.count_logged("VXR: PFD shows the stock G1000's screen (device 6): the aircraft uses it"), 1);
    frame();
    EXPECT_TRUE(unit_shows(1, pfd_markers));
    EXPECT_TRUE(unit_shows(2, mfd_markers));
    EXPECT_EQ(pfd_device_regions[0].src_w, 1024);
    EXPECT_EQ(pfd_device_regions[0].src_h, 768);
    EXPECT_NE(pfd_device_regions[0].tex, 0u);
    EXPECT_EQ(pfd_regions[0].tex, 0u) << "the grey panel region is not copied";
    EXPECT_EQ(mfd_regions[0].tex, 0u);
    EXPECT_EQ(sim.host->live().avionics_callbacks, 2);

    // Live: the frame-number cells change from one copy to the next.
    auto cells = [&] {
        std::vector<uint32_t> c;
        for (int i = 0; i < 16; i++)
            c.push_back(sim.host->monitor_pixel(1, 452 + 8 * i, 20));
        return c;
    };
    std::vector<uint32_t> first = cells();
    frame();
    EXPECT_NE(cells(), first);
}

TEST_F(DeviceSourceTest, LoadingAnotherAircraftSwitchesTheSourceWithoutReopening)
{
    sim.host->load_aircraft(true);
    load();
    open_both();
    frame();
    ASSERT_TRUE(unit_shows(1, pfd_markers));
    const XPLMWindowID pfd_window = PFD_popup.win;

    sim.mark();
    sim.host->load_aircraft(false);
    EXPECT_TRUE(sim.logged_in_order({"VXR: MFD shows the panel region at 1024, 0: the aircraft does not use the stock G1000",
                                     "VXR: PFD shows the panel region at 0, 0: the aircraft does not use the stock G1000"}));
    EXPECT_EQ(pfd_device_regions[0].tex, 0u) << "the device's copy is given back at once";
    frame();
    EXPECT_TRUE(unit_shows(1, pfd_markers));
    EXPECT_TRUE(unit_shows(2, mfd_markers));
    EXPECT_NE(pfd_regions[0].tex, 0u);

    sim.mark();
    sim.host->load_aircraft(true);
    EXPECT_EQ(sim.count_logged("shows the stock G1000's screen"), 2);
    EXPECT_EQ(pfd_regions[0].tex, 0u);
    frame();
    EXPECT_TRUE(unit_shows(1, pfd_markers)) << "not the grey panel region";
    EXPECT_NE(pfd_device_regions[0].tex, 0u);
    EXPECT_EQ(PFD_popup.win, pfd_window);
    EXPECT_TRUE(window_of(sim, pfd_title).visible);
    EXPECT_EQ(sim.count_logged("Init VXR G1000"), 0) << "nothing was brought up again";

    // Another plane than the user's (an AI aircraft) changes nothing.
    sim.mark();
    sim.host->send_message(XPLM_MSG_PLANE_LOADED, reinterpret_cast<void *>(intptr_t{1}));
    EXPECT_TRUE(sim.log_since_mark().empty());
}

TEST_F(DeviceSourceTest, TheDeviceIsCopiedAtMostTwentyTimesASecond)
{
    sim.host->load_aircraft(true);
    load();
    open_both();
    frame(0);
    ASSERT_EQ(pfd_device_regions[0].last_cap_us, 1000000u);
    frame(30000);
    EXPECT_EQ(pfd_device_regions[0].last_cap_us, 1000000u);
    frame(19999);
    EXPECT_EQ(pfd_device_regions[0].last_cap_us, 1000000u);
    frame(1);
    EXPECT_EQ(pfd_device_regions[0].last_cap_us, 1050000u);
    EXPECT_EQ(mfd_device_regions[0].last_cap_us, 1050000u);
}

TEST_F(DeviceSourceTest, HidingReleasesTheDevicesCopyAndADisableLeavesNothing)
{
    sim.host->load_aircraft(true);
    load();
    open_both();
    frame();
    ASSERT_NE(pfd_device_regions[0].tex, 0u);
    // Hidden, the display keeps its copy for the next opening, and its
    // device's callback is no longer registered.
    sim.host->set_panel_passes(simhost::PanelPasses{false, 1});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    frame();
    EXPECT_NE(pfd_device_regions[0].tex, 0u);
    EXPECT_EQ(sim.host->live().avionics_callbacks, 1);
    EXPECT_NE(mfd_device_regions[0].tex, 0u);

    sim.host->disable();
    EXPECT_EQ(sim.host->live().textures, 0);
    EXPECT_EQ(sim.host->live().framebuffers, 0);
    EXPECT_EQ(sim.host->live().avionics_callbacks, 0);
    EXPECT_EQ(PFD_popup.capture.regions(), pfd_regions) << "back on the panel region until the next enable chooses";
}

// A source key, the aircraft, what the PFD's unit shows and the log line.
struct forced_case {
    const char *name;
    const char *setting;
    bool stock_aircraft;
    enum { device, panel_markers, panel_grey_region, dark } shows;
    const char *line;
};

void PrintTo(const forced_case &c, std::ostream *os) { *os << c.name; }

class ForcedSourceTest : public DeviceSourceTest, public testing::WithParamInterface<forced_case> {};

TEST_P(ForcedSourceTest, TheKeyIsObeyed)
{
    const forced_case &c = GetParam();
    sim.host->load_aircraft(c.stock_aircraft);
    load({c.setting});
    ASSERT_TRUE(sim.host->command(pfd_cmd));
    EXPECT_EQ(sim.count_logged(c.line), 1) << c.line;
    frame();
    switch (c.shows) {
    case forced_case::device:
        EXPECT_TRUE(unit_shows(1, pfd_markers));
        EXPECT_NE(pfd_device_regions[0].tex, 0u);
        break;
    case forced_case::panel_markers:
        EXPECT_TRUE(unit_shows(1, pfd_markers));
        EXPECT_NE(pfd_regions[0].tex, 0u);
        break;
    case forced_case::panel_grey_region:
        EXPECT_TRUE(unit_grey(1));
        break;
    case forced_case::dark:
        // The device is not drawn in this aircraft: nothing is copied.
        EXPECT_EQ(pfd_device_regions[0].tex, 0u);
        EXPECT_EQ(pfd_regions[0].tex, 0u);
        EXPECT_FALSE(unit_shows(1, pfd_markers));
        break;
    }
}

const forced_case forced_cases[] = {
    {"PanelInAStockAircraft", "pfd_nbzl_source = 1", true, forced_case::panel_grey_region,
     "VXR: PFD shows the panel region at 0, 0: pfd_nbzl_source = 1"},
    {"DeviceInAStockAircraft", "pfd_nbzl_source = 2", true, forced_case::device,
     "VXR: PFD shows the stock G1000's screen (device 6): pfd_nbzl_source = 2"},
    {"DeviceInAPanelAircraft", "pfd_nbzl_source = 2", false, forced_case::dark,
     "pfd_nbzl_source = 2; the aircraft does not use that device, so the window stays dark"},
    {"PanelInAPanelAircraft", "pfd_nbzl_source = 1", false, forced_case::panel_markers,
     "VXR: PFD shows the panel region at 0, 0: pfd_nbzl_source = 1"},
    {"UnknownValueChoosesAutomatically", "pfd_nbzl_source = 7", true, forced_case::device,
     "VXR: pfd_nbzl_source = 7 is not 0, 1 or 2: the PFD's source is chosen automatically"},
    {"NegativeValueChoosesAutomatically", "pfd_nbzl_source = -1", false, forced_case::panel_markers,
     "VXR: pfd_nbzl_source = -1 is not 0, 1 or 2"},
};

INSTANTIATE_TEST_SUITE_P(Sources, ForcedSourceTest, testing::ValuesIn(forced_cases),
                         [](const testing::TestParamInfo<forced_case> &info) { return info.param.name; });

// The copy takes the size of the viewport X-Plane sets up, whatever it is,
// and the picture is drawn opaque.
TEST_F(DeviceSourceTest, TheCopyTakesTheViewportsSize)
{
    load();
    GLuint tex = 0, fbo = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1200, 900, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, tex, 0);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    capture_region region = pfd_device_regions[0];
    glViewport(0, 0, 800, 480);
    sim_framebuffer_ignore_datarefs(true);
    capture_region_grab_viewport(&region, sim_framebuffer_device_screen(6, 0), 2000000);
    EXPECT_EQ(region.src_w, 800);
    EXPECT_EQ(region.src_h, 480);
    ASSERT_NE(region.tex, 0u);
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, region.tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 480);
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), fbo) << "the device's framebuffer is bound again after the copy";

    // A screen of another size, at an offset: a texture of that size.
    glViewport(100, 50, 1100, 850);
    capture_region_grab_viewport(&region, sim_framebuffer_device_screen(6, 0), 2050000);
    EXPECT_EQ(region.src_x, 100);
    EXPECT_EQ(region.src_y, 50);
    EXPECT_EQ(region.src_w, 1100);
    EXPECT_EQ(region.src_h, 850);
    glBindTexture(GL_TEXTURE_2D, region.tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    EXPECT_EQ(w, 1100);
    std::vector<uint32_t> texel(1100 * 850);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texel.data());
    EXPECT_EQ(texel[0] & 0xFFFFFFu, 0x00FF00u);

    // Not due yet: nothing changes, not even for a new size.
    glViewport(0, 0, 640, 400);
    capture_region_grab_viewport(&region, sim_framebuffer_device_screen(6, 0), 2060000);
    EXPECT_EQ(region.src_w, 1100);

    // Every picture is opaque: drawn without blending or depth test.
    XPLMSetGraphicsState(0, 1, 0, 1, 1, 1, 1);
    capture_region_draw(&region, VECT2(0, 0), VECT2(100, 75), 1);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    capture_region_release(&region);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo);
    glDeleteTextures(1, &tex);
}

}  // namespace
