/*
 * Test support for the stand-in (see host_fixture.h).
 */
#include "host_fixture.h"

#include <cstdlib>
#include <cstring>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <XPLMDisplay.h>
#include <XPLMPlugin.h>

namespace simhost_test {

const char *const test_signature = "simhost.tests.plugin";

std::function<void()> TestPlugin::on_start, TestPlugin::on_enable, TestPlugin::on_disable, TestPlugin::on_stop;
int TestPlugin::start_result = 1;
int TestPlugin::enable_result = 1;
std::vector<std::string> TestPlugin::calls;
std::vector<int> TestPlugin::messages;

namespace {

int plugin_start(char *name, char *sig, char *desc)
{
    TestPlugin::calls.push_back("start");
    strcpy(name, "simhost test plug-in");
    strcpy(sig, test_signature);
    strcpy(desc, "exercises the stand-in");
    if (TestPlugin::on_start)
        TestPlugin::on_start();
    return TestPlugin::start_result;
}

int plugin_enable()
{
    TestPlugin::calls.push_back("enable");
    if (TestPlugin::on_enable)
        TestPlugin::on_enable();
    return TestPlugin::enable_result;
}

void plugin_disable()
{
    TestPlugin::calls.push_back("disable");
    if (TestPlugin::on_disable)
        TestPlugin::on_disable();
}

void plugin_stop()
{
    TestPlugin::calls.push_back("stop");
    if (TestPlugin::on_stop)
        TestPlugin::on_stop();
}

void plugin_receive(XPLMPluginID, int message, void *)
{
    TestPlugin::messages.push_back(message);
}

}  // namespace

void TestPlugin::reset()
{
    on_start = on_enable = on_disable = on_stop = nullptr;
    start_result = enable_result = 1;
    calls.clear();
    messages.clear();
}

simhost::PluginEntryPoints TestPlugin::entry()
{
    simhost::PluginEntryPoints entry;
    entry.start = plugin_start;
    entry.enable = plugin_enable;
    entry.disable = plugin_disable;
    entry.stop = plugin_stop;
    entry.receive = plugin_receive;
    return entry;
}

HostTest::HostTest()
{
    TestPlugin::reset();
}

HostTest::~HostTest()
{
    host.reset();
    TestPlugin::reset();
}

simhost::Host &HostTest::start(std::vector<simhost::Rect> monitors, bool load)
{
    simhost::HostOptions options;
    options.root = root();
    options.monitors = std::move(monitors);
    options.echo_log = false;
    // The window model's own rules, read right after each call; the geometry
    // that waits for the next frame has a test of its own.
    options.timing.geometry_at_once = true;
    host = std::make_unique<simhost::Host>(options);
    if (load && !host->load_linked(TestPlugin::entry(), xpl_path()))
        throw std::runtime_error("the test plug-in did not load");
    return *host;
}

bool HostTest::logged(const std::string &text) const
{
    for (const auto &line : host->log()) {
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}

uint32_t read_bound_pixel(int x, int y)
{
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return static_cast<uint32_t>(rgba[0]) << 16 | static_cast<uint32_t>(rgba[1]) << 8 | rgba[2];
}

simhost::Rect geometry(XPLMWindowID id)
{
    simhost::Rect r;
    XPLMGetWindowGeometry(id, &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

simhost::Rect os_geometry(XPLMWindowID id)
{
    simhost::Rect r;
    XPLMGetWindowGeometryOS(id, &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

}  // namespace simhost_test
