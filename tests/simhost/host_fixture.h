/*
 * Test support for the stand-in: a small plug-in linked into the test
 * (its entry points call whatever the test sets), a temporary simulator
 * folder, and a Host running that plug-in.
 */
#ifndef SIMHOST_TESTS_HOST_FIXTURE_H
#define SIMHOST_TESTS_HOST_FIXTURE_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <simhost/host.h>

#include "temp_dir.h"

namespace simhost_test {

// The linked plug-in: each entry point records its call and runs the hook set.
struct TestPlugin {
    static std::function<void()> on_start, on_enable, on_disable, on_stop;
    static int start_result, enable_result;
    static std::vector<std::string> calls;
    static std::vector<int> messages;
    static void reset();
    static simhost::PluginEntryPoints entry();
};

extern const char *const test_signature;

class HostTest : public ::testing::Test {
protected:
    HostTest();
    ~HostTest() override;
    // A Host on the temporary folder; with load, the test plug-in started and enabled.
    simhost::Host &start(std::vector<simhost::Rect> monitors = {}, bool load = true);
    const std::string &root() const { return root_.path(); }
    std::string xpl_path() const { return root() + "/Resources/plugins/test/lin_x64/test.xpl"; }
    bool logged(const std::string &text) const;

    std::unique_ptr<simhost::Host> host;

private:
    vxr_test::TempDir root_;
};

// 0xRRGGBB of the pixel at (x, y) of the framebuffer bound for reading.
uint32_t read_bound_pixel(int x, int y);

// What XPLMGetWindowGeometry and XPLMGetWindowGeometryOS report for a window.
simhost::Rect geometry(XPLMWindowID id);
simhost::Rect os_geometry(XPLMWindowID id);

}  // namespace simhost_test

#endif
