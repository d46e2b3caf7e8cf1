/*
 * Loading and unloading in the simulator's order, the plug-in's identity,
 * features, messages, the log, and what a plug-in leaves behind.
 */
#include "host_fixture.h"

#include <fstream>
#include <sstream>

#include <XPLMDisplay.h>
#include <XPLMPlugin.h>
#include <XPLMProcessing.h>
#include <XPLMUtilities.h>

using namespace simhost_test;
using simhost::Host;

namespace {

float count_calls(float, float, int, void *refcon)
{
    ++*static_cast<int *>(refcon);
    return -1;
}

std::string read_text(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

TEST_F(HostTest, LifecycleRunsInTheSimulatorsOrderAndGivesTheIdentity)
{
    XPLMPluginID id_at_enable = -2;
    char path[256] = {}, name[256] = {}, sig[256] = {};
    TestPlugin::on_enable = [&] {
        id_at_enable = XPLMFindPluginBySignature(test_signature);
        XPLMGetPluginInfo(id_at_enable, name, path, sig, nullptr);
    };
    Host &h = start();
    EXPECT_TRUE(h.loaded());
    EXPECT_TRUE(h.enabled());
    EXPECT_EQ(id_at_enable, 1);
    EXPECT_EQ(XPLMGetMyID(), 1);
    EXPECT_STREQ(path, xpl_path().c_str());
    EXPECT_STREQ(name, "simhost test plug-in");
    EXPECT_STREQ(sig, test_signature);
    EXPECT_EQ(XPLMFindPluginBySignature("someone.else"), XPLM_NO_PLUGIN_ID);
    EXPECT_EQ(XPLMIsPluginEnabled(1), 1);

    h.disable();
    EXPECT_FALSE(h.enabled());
    EXPECT_EQ(XPLMIsPluginEnabled(1), 0);
    EXPECT_TRUE(h.enable());
    h.unload();
    EXPECT_FALSE(h.loaded());
    EXPECT_EQ(TestPlugin::calls, (std::vector<std::string>{"start", "enable", "disable", "enable", "disable", "stop"}));
    EXPECT_EQ(XPLMFindPluginBySignature(test_signature), XPLM_NO_PLUGIN_ID);

    // Unloading a disabled plug-in does not disable it twice.
    TestPlugin::calls.clear();
    ASSERT_TRUE(h.load_linked(TestPlugin::entry(), xpl_path()));
    h.disable();
    h.unload();
    EXPECT_EQ(TestPlugin::calls, (std::vector<std::string>{"start", "enable", "disable", "stop"}));
}

TEST_F(HostTest, FailedStartOrEnable)
{
    Host &h = start({}, false);
    TestPlugin::start_result = 0;
    EXPECT_FALSE(h.load_linked(TestPlugin::entry(), xpl_path()));
    EXPECT_FALSE(h.loaded());
    EXPECT_EQ(TestPlugin::calls, std::vector<std::string>{"start"});

    // Enabling fails: loaded but disabled, and its callbacks do not run.
    TestPlugin::reset();
    TestPlugin::enable_result = 0;
    int calls = 0;
    TestPlugin::on_start = [&] { XPLMRegisterFlightLoopCallback(count_calls, -1, &calls); };
    EXPECT_FALSE(h.load_linked(TestPlugin::entry(), xpl_path()));
    EXPECT_TRUE(h.loaded());
    EXPECT_FALSE(h.enabled());
    h.run_frames(3);
    EXPECT_EQ(calls, 0);
    TestPlugin::enable_result = 1;
    EXPECT_TRUE(h.enable());
    h.run_frames(3);
    EXPECT_EQ(calls, 3);
}

TEST_F(HostTest, LoadsARealPluginFileWithItsSymbolsBoundToTheHost)
{
    Host &h = start({}, false);
    std::string error;
    EXPECT_FALSE(h.load(root() + "/missing.xpl", &error));
    EXPECT_NE(error.find("missing.xpl"), std::string::npos);

    // A library without the entry points (the stand-in's own) is refused.
    EXPECT_FALSE(h.load(SIMHOST_LIBRARY, &error));
    EXPECT_NE(error.find("XPluginStart"), std::string::npos) << error;
    EXPECT_FALSE(h.loaded());

    ASSERT_TRUE(h.load(SIMHOST_TEST_XPL, &error)) << error;
    EXPECT_FALSE(h.load(SIMHOST_TEST_XPL, &error)) << "one plug-in at a time";
    EXPECT_NE(error.find("already loaded"), std::string::npos) << error;
    EXPECT_TRUE(logged("test xpl: start"));
    EXPECT_TRUE(logged("test xpl: enable"));
    char path[256] = {};
    XPLMGetPluginInfo(XPLMFindPluginBySignature("simhost.tests.xpl"), nullptr, path, nullptr, nullptr);
    EXPECT_STREQ(path, SIMHOST_TEST_XPL);
    h.unload();
    EXPECT_TRUE(logged("test xpl: disable"));
    EXPECT_TRUE(logged("test xpl: stop"));
}

TEST_F(HostTest, FeaturesAndMessages)
{
    Host &h = start();
    EXPECT_EQ(XPLMHasFeature("XPLM_USE_NATIVE_PATHS"), 1);
    EXPECT_EQ(XPLMHasFeature("XPLM_NO_SUCH_FEATURE"), 0);
    EXPECT_EQ(XPLMIsFeatureEnabled("XPLM_USE_NATIVE_PATHS"), 0);
    XPLMEnableFeature("XPLM_USE_NATIVE_PATHS", 1);
    EXPECT_EQ(XPLMIsFeatureEnabled("XPLM_USE_NATIVE_PATHS"), 1);
    XPLMEnableFeature("XPLM_NO_SUCH_FEATURE", 1);
    EXPECT_EQ(XPLMIsFeatureEnabled("XPLM_NO_SUCH_FEATURE"), 0);

    h.send_message(XPLM_MSG_PLANE_LOADED, nullptr);
    h.disable();
    h.send_message(XPLM_MSG_AIRPORT_LOADED, nullptr);
    EXPECT_EQ(TestPlugin::messages, std::vector<int>{XPLM_MSG_PLANE_LOADED});
}

TEST_F(HostTest, LogKeepsLinesAndWritesLogTxt)
{
    Host &h = start();
    size_t before = h.log().size();
    XPLMDebugString("first line\nsecond ");
    XPLMDebugString("line continued\n");
    XPLMDebugString("third\n");
    std::vector<std::string> lines(h.log().begin() + static_cast<long>(before), h.log().end());
    EXPECT_EQ(lines, (std::vector<std::string>{"first line", "second line continued", "third"}));
    std::string file = read_text(root() + "/Log.txt");
    EXPECT_NE(file.find("first line\nsecond line continued\nthird\n"), std::string::npos);
}

TEST_F(HostTest, WhatAnUnloadedPluginLeftBehindIsCountedAndDropped)
{
    int calls = 0;
    TestPlugin::on_enable = [&] {
        XPLMRegisterFlightLoopCallback(count_calls, -1, &calls);
        XPLMCreateWindow_t params{};
        params.structSize = sizeof params;
        params.left = 0, params.top = 100, params.right = 100, params.bottom = 0;
        XPLMCreateWindowEx(&params);
    };
    Host &h = start();
    EXPECT_EQ(h.live().flight_loops, 1);
    EXPECT_EQ(h.live().windows, 1);
    h.unload();
    simhost::LiveObjects left = h.live();
    EXPECT_EQ(left.flight_loops, 1);
    EXPECT_EQ(left.windows, 1);
    EXPECT_TRUE(logged("left behind 1 windows"));
    h.run_frames(2);
    EXPECT_EQ(calls, 0);

    // The next plug-in starts from a clean slate.
    TestPlugin::on_enable = nullptr;
    ASSERT_TRUE(h.load_linked(TestPlugin::entry(), xpl_path()));
    EXPECT_EQ(h.live().flight_loops, 0);
    EXPECT_EQ(h.live().windows, 0);
}

TEST(HostWithout, XplmCallsWithoutAHostAreHarmless)
{
    ASSERT_EQ(Host::current(), nullptr);
    XPLMDebugString("nobody listens\n");
    EXPECT_EQ(XPLMFindCommand("sim/none"), nullptr);
    EXPECT_EQ(XPLMCreateCommand("a/b", "c"), nullptr);
    XPLMCreateWindow_t params{};
    params.structSize = sizeof params;
    EXPECT_EQ(XPLMCreateWindowEx(&params), nullptr);
    EXPECT_EQ(XPLMGetMyID(), XPLM_NO_PLUGIN_ID);
    int w = -1, h = -1;
    XPLMGetScreenSize(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST_F(HostTest, OneHostPerProcess)
{
    start({}, false);
    EXPECT_EQ(Host::current(), host.get());
    simhost::HostOptions options;
    options.echo_log = false;
    EXPECT_THROW(Host second(options), std::logic_error);
    EXPECT_EQ(Host::current(), host.get());
}
