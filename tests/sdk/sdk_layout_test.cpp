// The window-creation and avionics records must match the simulator's
// layouts exactly, or the simulator reads our callbacks from the wrong
// places. Built with -DXPLM_SDK_DIR, the same checks hold the real SDK's
// headers to the same numbers.
#include <cstddef>

#include <gtest/gtest.h>

#include <XPLMDisplay.h>
#include <XPLMProcessing.h>
#include <XPLMUtilities.h>

// The SDK 4.1 record: the four SDK 4.0 members, nine mouse, cursor and
// keyboard callbacks, then refcon; 104 bytes on 64-bit targets.
static_assert(sizeof(XPLMCustomizeAvionics_t) == 104, "XPLMCustomizeAvionics_t is 104 bytes");
static_assert(offsetof(XPLMCustomizeAvionics_t, drawCallbackAfter) == 16, "drawCallbackAfter at 16");
static_assert(offsetof(XPLMCustomizeAvionics_t, refcon) == 96, "refcon at 96");

TEST(SdkLayout, CreateWindowRecordMatchesTheSimulators)
{
    EXPECT_EQ(sizeof(XPLMCreateWindow_t), 88u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, structSize), 0u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, left), 4u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, top), 8u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, right), 12u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, bottom), 16u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, visible), 20u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, drawWindowFunc), 24u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, handleMouseClickFunc), 32u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, handleKeyFunc), 40u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, handleCursorFunc), 48u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, handleMouseWheelFunc), 56u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, refcon), 64u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, decorateAsFloatingWindow), 72u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, layer), 76u);
    EXPECT_EQ(offsetof(XPLMCreateWindow_t, handleRightClickFunc), 80u);
}

TEST(SdkLayout, FlightLoopRecordIs24Bytes)
{
    EXPECT_EQ(sizeof(XPLMCreateFlightLoop_t), 24u);
}

TEST(SdkLayout, EnumValuesMatchTheSimulators)
{
    EXPECT_EQ(xplm_Phase_Gauges, 45);
    EXPECT_EQ(xplm_Phase_Window, 50);
    EXPECT_EQ(xplm_WindowFullScreenOnMonitor, 2);
    EXPECT_EQ(xplm_WindowPopOut, 4);
    EXPECT_EQ(xplm_WindowDecorationNone, 0);
    EXPECT_EQ(xplm_WindowLayerFloatingWindows, 1);
    EXPECT_EQ(xplm_CursorCustom, 3);
    EXPECT_EQ(xplm_MouseUp, 3);
}

TEST(SdkLayout, AvionicsRecordMatchesTheSimulators)
{
    EXPECT_EQ(offsetof(XPLMCustomizeAvionics_t, structSize), 0u);
    EXPECT_EQ(offsetof(XPLMCustomizeAvionics_t, deviceId), 4u);
    EXPECT_EQ(offsetof(XPLMCustomizeAvionics_t, drawCallbackBefore), 8u);
    EXPECT_EQ(offsetof(XPLMCustomizeAvionics_t, drawCallbackAfter), 16u);
    EXPECT_EQ(offsetof(XPLMCustomizeAvionics_t, bezelClickCallback), 24u);
    EXPECT_EQ(offsetof(XPLMCustomizeAvionics_t, screenTouchCallback), 56u);
    EXPECT_EQ(offsetof(XPLMCustomizeAvionics_t, keyboardCallback), 88u);
    EXPECT_EQ(offsetof(XPLMCustomizeAvionics_t, refcon), 96u);
    EXPECT_EQ(sizeof(XPLMCustomizeAvionics_t), 104u);
}

TEST(SdkLayout, DeviceAndHostIdsMatchTheSimulators)
{
    EXPECT_EQ(xplm_device_GNS430_1, 0);
    EXPECT_EQ(xplm_device_G1000_PFD_1, 6);
    EXPECT_EQ(xplm_device_G1000_MFD, 7);
    EXPECT_EQ(xplm_device_G1000_PFD_2, 8);
    EXPECT_EQ(xplm_device_MCDU_2, 19);
    EXPECT_EQ(xplm_Host_XPlane, 1);
    EXPECT_EQ(sizeof(XPLMDeviceID), sizeof(int));
}
