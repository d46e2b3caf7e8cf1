/*
 * The stock G1000 model: which devices an aircraft binds and draws, the
 * framebuffer, viewport and projection the device callbacks get, the
 * synthetic displays' markers on the devices' screens and the grey panel
 * regions, before-callbacks that suppress drawing, registration records of
 * either SDK's size, the versions, XPLMFindSymbol on 11 and 12, and the
 * devices' rheostats and buses.
 */
#include "host_fixture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <XPLMDataAccess.h>
#include <XPLMDisplay.h>
#include <XPLMPlugin.h>
#include <XPLMUtilities.h>

using namespace simhost_test;

namespace {

struct DeviceCall {
    XPLMDeviceID device;
    int is_before;
    GLint framebuffer;
    GLint viewport[4];
    GLdouble projection[16];
    uint32_t marker;   // the bottom-left marker's centre, read from the bound framebuffer
};

struct DeviceSpy {
    std::vector<DeviceCall> calls;
    int before_result = 1;
    bool paint_after = false;
};

int device_cb(XPLMDeviceID device, int is_before, void *refcon)
{
    auto *spy = static_cast<DeviceSpy *>(refcon);
    DeviceCall call{};
    call.device = device;
    call.is_before = is_before;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &call.framebuffer);
    glGetIntegerv(GL_VIEWPORT, call.viewport);
    glGetDoublev(GL_PROJECTION_MATRIX, call.projection);
    call.marker = read_bound_pixel(64, 64);
    spy->calls.push_back(call);
    if (!is_before && spy->paint_after) {
        glClearColor(0x12 / 255.0f, 0x34 / 255.0f, 0x56 / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    return is_before ? spy->before_result : 1;
}

XPLMAvionicsID register_device(XPLMDeviceID device, DeviceSpy *spy, bool before = true)
{
    XPLMCustomizeAvionics_t params = {};
    params.structSize = sizeof(params);
    params.deviceId = device;
    params.drawCallbackBefore = before ? device_cb : nullptr;
    params.drawCallbackAfter = device_cb;
    params.refcon = spy;
    return XPLMRegisterAvionicsCallbacksEx(&params);
}

class AvionicsTest : public HostTest {
protected:
    // Devices bound at the message, under clean OpenGL state (the spies read
    // pixels as they find them): the late binding has a test of its own.
    void SetUp() override
    {
        start();
        simhost::HostTiming timing = host->timing();
        timing.bind_delay_frames = 0;
        host->set_timing(timing);
        host->set_gl_harshness(simhost::GlHarshness::kind());
    }
};

}  // namespace

TEST_F(AvionicsTest, APanelAircraftBindsNoDeviceAndItsCallbacksAreNotCalled)
{
    DeviceSpy spy;
    XPLMAvionicsID pfd = register_device(xplm_device_G1000_PFD_1, &spy);
    ASSERT_NE(pfd, nullptr);
    host->run_frames(2);
    EXPECT_TRUE(spy.calls.empty());
    EXPECT_EQ(XPLMIsAvionicsBound(pfd), 0);
    EXPECT_EQ(host->device_pixel(xplm_device_G1000_PFD_1, 64, 64), 0u);
    EXPECT_EQ(host->live().avionics_callbacks, 1);
    XPLMUnregisterAvionicsCallbacks(pfd);
    EXPECT_EQ(host->live().avionics_callbacks, 0);
}

TEST_F(AvionicsTest, StockG1000DrawsDevices6And7WithCallbacksOnTheirOwnScreens)
{
    DeviceSpy spy;
    XPLMAvionicsID pfd = register_device(xplm_device_G1000_PFD_1, &spy);
    XPLMAvionicsID mfd = register_device(xplm_device_G1000_MFD, &spy);
    XPLMAvionicsID copilot = register_device(xplm_device_G1000_PFD_2, &spy);
    host->load_aircraft(true);
    EXPECT_EQ(TestPlugin::messages, std::vector<int>{XPLM_MSG_PLANE_LOADED});
    EXPECT_EQ(XPLMIsAvionicsBound(pfd), 1);
    EXPECT_EQ(XPLMIsAvionicsBound(mfd), 1);
    EXPECT_EQ(XPLMIsAvionicsBound(copilot), 0) << "one PFD and the MFD, no copilot's PFD";
    host->run_frames(1);

    ASSERT_EQ(spy.calls.size(), 4u);
    const XPLMDeviceID order[] = {6, 6, 7, 7};
    for (size_t i = 0; i < spy.calls.size(); i++) {
        const DeviceCall &c = spy.calls[i];
        SCOPED_TRACE("call " + std::to_string(i));
        EXPECT_EQ(c.device, order[i]);
        EXPECT_EQ(c.is_before, i % 2 == 0 ? 1 : 0);
        EXPECT_NE(c.framebuffer, 0);
        EXPECT_EQ(c.viewport[0], 0);
        EXPECT_EQ(c.viewport[1], 0);
        EXPECT_EQ(c.viewport[2], 1024);
        EXPECT_EQ(c.viewport[3], 768);
        // An orthographic projection of the screen's pixels: x' = 2x/1024 - 1.
        EXPECT_NEAR(c.projection[0], 2.0 / 1024, 1e-7);
        EXPECT_NEAR(c.projection[5], 2.0 / 768, 1e-7);
        EXPECT_NEAR(c.projection[12], -1.0, 1e-7);
        EXPECT_NEAR(c.projection[13], -1.0, 1e-7);
    }
    EXPECT_NE(spy.calls[1].framebuffer, spy.calls[3].framebuffer) << "each device has a screen of its own";
    EXPECT_EQ(spy.calls[1].marker, 0xFF0000u) << "the PFD drawn before the after-callback";
    EXPECT_EQ(spy.calls[3].marker, 0xFFFF00u) << "the MFD";

    // The corner markers of both displays, on the devices' screens.
    const struct {
        XPLMDeviceID device;
        uint32_t bl, br, tl, tr;
    } screens[] = {{6, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {7, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFF8000}};
    for (const auto &s : screens) {
        EXPECT_EQ(host->device_pixel(s.device, 64, 64), s.bl);
        EXPECT_EQ(host->device_pixel(s.device, 1024 - 64, 64), s.br);
        EXPECT_EQ(host->device_pixel(s.device, 64, 768 - 64), s.tl);
        EXPECT_EQ(host->device_pixel(s.device, 1024 - 64, 768 - 64), s.tr);
    }
    EXPECT_EQ(host->device_pixel(xplm_device_G1000_PFD_2, 64, 64), 0u);

    XPLMUnregisterAvionicsCallbacks(pfd);
    XPLMUnregisterAvionicsCallbacks(mfd);
    XPLMUnregisterAvionicsCallbacks(copilot);
}

// Every stock device, 0 to 19, has a screen of its own size, bound as a
// scenario says until the next aircraft loads; device 0's handle is a handle.
TEST_F(AvionicsTest, AnyDeviceBoundBesideTheAircraftsIsDrawnAtItsOwnSize)
{
    DeviceSpy spy;
    XPLMAvionicsID gns = register_device(xplm_device_GNS430_1, &spy, false);
    XPLMAvionicsID mcdu = register_device(xplm_device_MCDU_2, &spy, false);
    ASSERT_NE(gns, nullptr);
    ASSERT_NE(XPLMGetAvionicsHandle(xplm_device_GNS430_1), nullptr);
    host->set_device(xplm_device_GNS430_1, 300, 200, true);
    EXPECT_EQ(XPLMIsAvionicsBound(XPLMGetAvionicsHandle(xplm_device_GNS430_1)), 1);
    EXPECT_EQ(XPLMIsAvionicsBound(XPLMGetAvionicsHandle(xplm_device_MCDU_2)), 0);
    host->run_frames(1);

    ASSERT_EQ(spy.calls.size(), 1u) << "the unbound MCDU is not drawn";
    EXPECT_EQ(spy.calls[0].device, xplm_device_GNS430_1);
    EXPECT_EQ(spy.calls[0].viewport[2], 300);
    EXPECT_EQ(spy.calls[0].viewport[3], 200);
    EXPECT_EQ(spy.calls[0].marker, 0x00FF80u);
    EXPECT_EQ(host->device_pixel(xplm_device_GNS430_1, 300 - 64, 64), 0x8000FFu);
    EXPECT_EQ(host->device_pixel(xplm_device_GNS430_1, 64, 200 - 64), 0xFF0080u);
    EXPECT_EQ(host->device_pixel(xplm_device_GNS430_1, 300 - 64, 200 - 64), 0x80FF00u);

    host->load_aircraft(true);
    EXPECT_EQ(XPLMIsAvionicsBound(XPLMGetAvionicsHandle(xplm_device_GNS430_1)), 0) << "another aircraft";
    host->run_frames(1);
    EXPECT_EQ(spy.calls.size(), 1u);

    // Unregistering on a device invalidates the handles taken on it: the
    // next is a new one, until told to keep them; other devices keep theirs.
    XPLMAvionicsID gns_handle = XPLMGetAvionicsHandle(xplm_device_GNS430_1);
    XPLMAvionicsID mcdu_handle = XPLMGetAvionicsHandle(xplm_device_MCDU_2);
    XPLMUnregisterAvionicsCallbacks(gns);
    EXPECT_NE(XPLMGetAvionicsHandle(xplm_device_GNS430_1), gns_handle);
    EXPECT_EQ(XPLMGetAvionicsHandle(xplm_device_MCDU_2), mcdu_handle);
    simhost::AvionicsHarshness kept;
    kept.unregister_invalidates = false;
    host->set_avionics_harshness(kept);
    XPLMUnregisterAvionicsCallbacks(mcdu);
    EXPECT_EQ(XPLMGetAvionicsHandle(xplm_device_MCDU_2), mcdu_handle);
}

// As X-Plane may: the devices bound, and unbound, some frames after the
// plane-loaded message; in an outside view none is drawn.
TEST_F(AvionicsTest, DevicesBindFramesAfterTheMessageAndAreNotDrawnOutside)
{
    simhost::HostTiming timing = host->timing();
    timing.bind_delay_frames = 3;
    host->set_timing(timing);
    DeviceSpy spy;
    XPLMAvionicsID pfd = register_device(xplm_device_G1000_PFD_1, &spy, false);
    host->load_aircraft(true);
    EXPECT_EQ(TestPlugin::messages, std::vector<int>{XPLM_MSG_PLANE_LOADED});
    EXPECT_EQ(XPLMIsAvionicsBound(pfd), 0) << "not yet at the message";
    host->run_frames(2);
    EXPECT_EQ(XPLMIsAvionicsBound(pfd), 0);
    EXPECT_TRUE(spy.calls.empty());
    host->run_frames(1);
    EXPECT_EQ(XPLMIsAvionicsBound(pfd), 1);
    EXPECT_EQ(spy.calls.size(), 1u) << "drawn from the frame it is bound in";

    host->set_outside_view(true);
    host->run_frames(5);
    EXPECT_EQ(spy.calls.size(), 1u) << "no device drawn outside";
    EXPECT_EQ(XPLMIsAvionicsBound(pfd), 1) << "but still bound";
    host->set_outside_view(false);
    host->run_frames(1);
    EXPECT_EQ(spy.calls.size(), 2u);

    host->load_aircraft(false);
    EXPECT_EQ(XPLMIsAvionicsBound(pfd), 1) << "unbound as late";
    host->run_frames(3);
    EXPECT_EQ(XPLMIsAvionicsBound(pfd), 0);
    XPLMUnregisterAvionicsCallbacks(pfd);
}

TEST_F(AvionicsTest, TheAircraftDecidesWhatThePanelTexturesScreensShow)
{
    std::vector<uint32_t> seen;
    static std::vector<uint32_t> *out;
    out = &seen;
    auto gauges = [](XPLMDrawingPhase, int, void *) -> int {
        out->push_back(read_bound_pixel(64, 64));
        out->push_back(read_bound_pixel(1024 + 64, 64));
        out->push_back(read_bound_pixel(512, 400));
        return 1;
    };
    host->set_panel_passes({false, 2});
    XPLMRegisterDrawCallback(gauges, xplm_Phase_Gauges, 0, nullptr);
    host->run_frames(1);
    host->load_aircraft(true);
    host->run_frames(1);
    host->load_aircraft(false);
    host->run_frames(1);
    XPLMUnregisterDrawCallback(gauges, xplm_Phase_Gauges, 0, nullptr);
    ASSERT_EQ(seen.size(), 9u);
    EXPECT_EQ(seen[0], 0xFF0000u) << "the panel layout: the PFD at the origin";
    EXPECT_EQ(seen[1], 0xFFFF00u) << "and the MFD right of it";
    for (size_t i = 3; i < 6; i++)
        EXPECT_EQ(seen[i], 0x808080u) << "stock G1000: grey, also mid-screen; probe " << i;
    EXPECT_EQ(seen[6], 0xFF0000u) << "back to the panel layout";
    EXPECT_EQ(seen[7], 0xFFFF00u);
    EXPECT_EQ(TestPlugin::messages, (std::vector<int>{XPLM_MSG_PLANE_LOADED, XPLM_MSG_PLANE_LOADED}));
}

TEST_F(AvionicsTest, ABeforeCallbackReturningZeroKeepsTheDisplayFromBeingDrawn)
{
    DeviceSpy spy;
    spy.paint_after = true;
    XPLMAvionicsID pfd = register_device(xplm_device_G1000_PFD_1, &spy);
    host->load_aircraft(true);
    host->run_frames(1);
    spy.before_result = 0;
    host->run_frames(1);
    ASSERT_EQ(spy.calls.size(), 4u);
    EXPECT_EQ(spy.calls[1].marker, 0xFF0000u);
    EXPECT_EQ(spy.calls[3].marker, 0x123456u) << "last frame's paint stays: X-Plane did not draw";
    spy.before_result = 1;
    spy.paint_after = false;
    host->run_frames(1);
    EXPECT_EQ(host->device_pixel(xplm_device_G1000_PFD_1, 64, 64), 0xFF0000u);
    XPLMUnregisterAvionicsCallbacks(pfd);
    host->run_frames(1);
    EXPECT_EQ(spy.calls.size(), 6u) << "no calls after unregistering";
}

TEST_F(AvionicsTest, RecordsOfEitherSdkSizeAreTakenAndOthersRefused)
{
    DeviceSpy spy;
    host->load_aircraft(true);

    // SDK 4.0's record: structSize, deviceId, the two callbacks, refcon.
    struct Record40 {
        int structSize;
        XPLMDeviceID deviceId;
        XPLMAvionicsCallback_f before, after;
        void *refcon;
    } old = {static_cast<int>(sizeof(Record40)), xplm_device_G1000_MFD, nullptr, device_cb, &spy};
    ASSERT_EQ(sizeof(Record40), 32u);
    XPLMAvionicsID mfd = XPLMRegisterAvionicsCallbacksEx(reinterpret_cast<XPLMCustomizeAvionics_t *>(&old));
    ASSERT_NE(mfd, nullptr);
    host->run_frames(1);
    ASSERT_EQ(spy.calls.size(), 1u);
    EXPECT_EQ(spy.calls[0].device, xplm_device_G1000_MFD);
    XPLMUnregisterAvionicsCallbacks(mfd);

    XPLMCustomizeAvionics_t params = {};
    params.structSize = 48;
    params.deviceId = xplm_device_G1000_PFD_1;
    params.drawCallbackAfter = device_cb;
    EXPECT_EQ(XPLMRegisterAvionicsCallbacksEx(&params), nullptr);
    EXPECT_TRUE(logged("structSize 48"));
    params.structSize = sizeof(params);
    // Every stock device, 0 to 19, is modelled; past them there is none.
    params.deviceId = 20;
    EXPECT_EQ(XPLMRegisterAvionicsCallbacksEx(&params), nullptr);
    EXPECT_EQ(XPLMRegisterAvionicsCallbacksEx(nullptr), nullptr);
    EXPECT_EQ(XPLMIsAvionicsBound(&params), 0) << "not a handle";
    EXPECT_EQ(host->live().avionics_callbacks, 0);
}

TEST_F(AvionicsTest, VersionsAndSymbolsFollowTheSimulatorsVersion)
{
    int xplane = 0, xplm = 0;
    XPLMHostApplicationID app = 0;
    XPLMGetVersions(&xplane, &xplm, &app);
    EXPECT_EQ(host->xplane_version(), 12);
    EXPECT_GE(xplane, 121000);
    EXPECT_LT(xplane, 130000);
    EXPECT_EQ(xplm, 411);
    EXPECT_EQ(app, xplm_Host_XPlane);
    EXPECT_EQ(XPLMFindSymbol("XPLMRegisterAvionicsCallbacksEx"), reinterpret_cast<void *>(&XPLMRegisterAvionicsCallbacksEx));
    EXPECT_EQ(XPLMFindSymbol("XPLMUnregisterAvionicsCallbacks"), reinterpret_cast<void *>(&XPLMUnregisterAvionicsCallbacks));
    EXPECT_EQ(XPLMFindSymbol("XPLMIsAvionicsBound"), reinterpret_cast<void *>(&XPLMIsAvionicsBound));
    EXPECT_EQ(XPLMFindSymbol("XPLMNoSuchFunction"), nullptr);
    EXPECT_EQ(XPLMFindSymbol(nullptr), nullptr);

    host->set_xplane_version(11);
    XPLMGetVersions(&xplane, &xplm, nullptr);
    EXPECT_GE(xplane, 11000);
    EXPECT_LT(xplane, 12000);
    EXPECT_EQ(xplm, 303);
    EXPECT_EQ(XPLMFindSymbol("XPLMRegisterAvionicsCallbacksEx"), nullptr);
    EXPECT_EQ(XPLMFindSymbol("XPLMIsAvionicsBound"), nullptr);
    EXPECT_EQ(XPLMFindSymbol("XPLMGetVersions"), reinterpret_cast<void *>(&XPLMGetVersions));
    // Called anyway (a plug-in linked against them): nothing, and a log line.
    DeviceSpy spy;
    EXPECT_EQ(register_device(xplm_device_G1000_PFD_1, &spy), nullptr);
    EXPECT_TRUE(logged("XPLMRegisterAvionicsCallbacksEx called on X-Plane 11"));
    EXPECT_THROW(host->set_xplane_version(10), std::invalid_argument);
}

TEST_F(AvionicsTest, CallbacksLeftAtUnloadAreCountedAndNoLongerCalled)
{
    DeviceSpy spy;
    ASSERT_NE(register_device(xplm_device_G1000_PFD_1, &spy), nullptr);
    host->load_aircraft(true);
    host->unload();
    EXPECT_EQ(host->live().avionics_callbacks, 1);
    EXPECT_TRUE(logged("1 avionics callbacks"));
    host->run_frames(1);
    EXPECT_TRUE(spy.calls.empty());
}

// Night and power: a bound device's rheostat is its slot of the dataref, an
// unbound one keeps its own; its bus reads -1 unbound; an unpowered screen is
// drawn unless the host is told to leave it dark.
TEST_F(AvionicsTest, RheostatsBusesAndUnpoweredScreens)
{
    XPLMDataRef slots = XPLMFindDataRef("sim/cockpit2/switches/instrument_brightness_ratio");
    ASSERT_NE(slots, nullptr);
    EXPECT_EQ(XPLMCanWriteDataRef(slots), 1);
    EXPECT_EQ(XPLMGetDatavf(slots, nullptr, 0, 0), 32);
    XPLMAvionicsID pfd = XPLMGetAvionicsHandle(xplm_device_G1000_PFD_1);
    XPLMSetAvionicsBrightnessRheo(pfd, 0.3f);
    EXPECT_FLOAT_EQ(XPLMGetAvionicsBrightnessRheo(pfd), 0.3f) << "its own value, unbound";
    EXPECT_EQ(XPLMGetAvionicsBusVoltsRatio(pfd), -1.0f);

    DeviceSpy spy;
    XPLMAvionicsID callbacks = register_device(xplm_device_G1000_PFD_1, &spy, false);
    host->load_aircraft(true);
    host->run_frames(1);
    EXPECT_FLOAT_EQ(XPLMGetAvionicsBrightnessRheo(pfd), 1.0f) << "the dataref's slot, bound";
    float quarter = 0.25f, slot = 0;
    XPLMSetDatavf(slots, &quarter, xplm_device_G1000_PFD_1, 1);
    EXPECT_FLOAT_EQ(XPLMGetAvionicsBrightnessRheo(pfd), 0.25f);
    XPLMSetAvionicsBrightnessRheo(pfd, 0.5f);
    EXPECT_EQ(XPLMGetDatavf(slots, &slot, xplm_device_G1000_PFD_1, 1), 1);
    EXPECT_FLOAT_EQ(slot, 0.5f);
    EXPECT_EQ(XPLMGetAvionicsBusVoltsRatio(pfd), 1.0f);

    host->set_bus_volts_ratio(xplm_device_G1000_PFD_1, 0);
    const size_t drawn = spy.calls.size();
    host->run_frames(2);
    EXPECT_EQ(spy.calls.size(), drawn + 2) << "drawn unpowered by default";
    host->set_unpowered_drawn(false);
    host->run_frames(2);
    EXPECT_EQ(spy.calls.size(), drawn + 2) << "left dark when told";
    host->set_bus_volts_ratio(xplm_device_G1000_PFD_1, 1);
    host->run_frames(1);
    EXPECT_EQ(spy.calls.size(), drawn + 3);
    XPLMUnregisterAvionicsCallbacks(callbacks);
}
