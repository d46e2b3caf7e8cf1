// The window-creation record must match the simulator's 88-byte layout
// exactly, or the simulator reads our callbacks from the wrong places.
#include <cstddef>

#include <gtest/gtest.h>

#include <XPLMDisplay.h>
#include <XPLMProcessing.h>

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
