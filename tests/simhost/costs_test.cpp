/*
 * What hosting a plug-in costs, as the stand-in counts it: drawing callbacks
 * dispatched and window draws apart, the GL queries and glGetError calls a
 * plug-in makes (loaded from its file or linked in) while the host's own go
 * uncounted, handler times by kind; and strict clicks, which end the run on
 * a click passed through.
 */
#include "host_fixture.h"

#include <GL/gl.h>

#include <XPLMDisplay.h>
#include <XPLMUtilities.h>

using namespace simhost_test;
using simhost::CallbackKind;
using simhost::MouseButton;

namespace {

// Two queries a gauges call, one a window draw, one glGetError a command call.
int two_queries(XPLMDrawingPhase, int, void *)
{
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    return 1;
}

void one_query(XPLMWindowID, void *) { static_cast<void>(glIsEnabled(GL_SCISSOR_TEST)); }

int one_error_call(XPLMCommandRef, XPLMCommandPhase, void *)
{
    static_cast<void>(glGetError());
    return 1;
}

int pass_click(XPLMWindowID, int, int, XPLMMouseStatus, void *) { return 0; }
int pass_wheel(XPLMWindowID, int, int, int, int, void *) { return 0; }

XPLMWindowID make_window(XPLMDrawWindow_f draw, const char *title)
{
    XPLMCreateWindow_t params{};
    params.structSize = sizeof params;
    params.left = 100, params.top = 400, params.right = 400, params.bottom = 100;
    params.visible = 1;
    params.drawWindowFunc = draw;
    params.handleMouseClickFunc = pass_click;
    params.handleRightClickFunc = pass_click;
    params.handleMouseWheelFunc = pass_wheel;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFloatingWindows;
    XPLMWindowID id = XPLMCreateWindowEx(&params);
    XPLMSetWindowTitle(id, title);
    return id;
}

// Every frame both panel passes, nothing more; the strict check stays on,
// so the host reads state around every drawing callback.
simhost::GlHarshness regular()
{
    simhost::GlHarshness h;
    h.irregular_passes = false;
    return h;
}

}  // namespace

TEST_F(HostTest, ALoadedPluginsGlQueriesAreCountedAndTheHostsOwnAreNot)
{
    start({}, false);
    host->set_gl_harshness(regular());
    std::string error;
    ASSERT_TRUE(host->load(SIMHOST_COST_XPL, &error)) << error;
    host->run_frames(1);
    host->reset_costs();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);   // outside any callback: not the plug-in's
    host->run_frames(5);

    const simhost::HostCosts costs = host->costs();
    ASSERT_TRUE(costs.queries_counted);
    EXPECT_EQ(costs.frames, 5u);
    EXPECT_EQ(costs.total.dispatches, 10u) << "the albedo and the emissive pass";
    EXPECT_EQ(costs.last_frame.dispatches, 2u);
    EXPECT_EQ(costs.total.queries, 30u) << "three a call; the host's strict check reads many more";
    EXPECT_EQ(costs.total.gl_errors, 10u);
    EXPECT_EQ(costs.total.window_draws, 0u);
    EXPECT_DOUBLE_EQ(costs.per_frame(&simhost::FrameCosts::queries), 6.0);
}

TEST_F(HostTest, ALinkedPluginsCallbacksAreCountedByKindAndHandlersTimed)
{
    start();
    EXPECT_EQ(host->costs().handler(CallbackKind::enable).count, 1u) << "XPluginEnable, timed at the load";
    host->set_gl_harshness(regular());
    XPLMRegisterDrawCallback(two_queries, xplm_Phase_Gauges, 0, nullptr);
    make_window(one_query, "counted");
    XPLMCommandRef command = XPLMCreateCommand("test/cost", "counted");
    XPLMRegisterCommandHandler(command, one_error_call, 1, nullptr);
    host->reset_costs();

    host->run_frames(3);
    ASSERT_TRUE(host->command("test/cost"));   // between frames: the next frame's
    host->run_frames(1);
    simhost::HostCosts costs = host->costs();
    EXPECT_EQ(costs.frames, 4u);
    EXPECT_EQ(costs.total.dispatches, 8u);
    EXPECT_EQ(costs.total.window_draws, 4u);
    EXPECT_EQ(costs.total.queries, 8u * 2 + 4u);
    EXPECT_EQ(costs.total.gl_errors, 2u) << "the begin and the end phase";
    EXPECT_EQ(costs.last_frame.gl_errors, 2u);
    const simhost::HandlerTimes &handler = costs.handler(CallbackKind::command);
    EXPECT_EQ(handler.count, 2u);
    EXPECT_LE(handler.median_ms, handler.worst_ms);
    EXPECT_EQ(costs.handler(CallbackKind::draw).count, 0u) << "drawing callbacks are counted, not timed";
    EXPECT_EQ(costs.handler(CallbackKind::enable).count, 0u);

    host->reset_costs();
    costs = host->costs();
    EXPECT_EQ(costs.frames, 0u);
    EXPECT_EQ(costs.total.queries, 0u);
    EXPECT_EQ(costs.handler(CallbackKind::command).count, 0u);
    XPLMUnregisterDrawCallback(two_queries, xplm_Phase_Gauges, 0, nullptr);
}

using StrictClickDeathTest = HostTest;

// A press or a right press passed through ends the run naming the window; a
// wheel passed on is no click. With strict clicks off the simulator takes it.
TEST_F(StrictClickDeathTest, AClickPassedThroughEndsTheRun)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    start();
    make_window(nullptr, "passer");
    EXPECT_FALSE(host->mouse_wheel(200, 200, 1));
    EXPECT_DEATH(host->mouse_down(200, 200, MouseButton::left),
                 "click handler of \"passer\" passed the press at 200, 200 through");
    EXPECT_DEATH(host->mouse_down(200, 200, MouseButton::right), "right-click handler of \"passer\" passed the press");

    host->set_strict_clicks(false);
    host->mouse_down(200, 200, MouseButton::left);
    host->mouse_up(200, 200, MouseButton::left);
    EXPECT_TRUE(logged("the simulator takes the left click at 200, 200 that \"passer\" passed on"));
}
