/*
 * The simulator stand-in for tests that need windows, a mouse or the
 * desktop's cursor: a host on a temporary folder with no plug-in loaded, so
 * the test calls the SDK itself.
 */
#ifndef ACFUTILS_TEST_STAND_IN_H
#define ACFUTILS_TEST_STAND_IN_H

#include <cstdint>
#include <memory>
#include <string>

#include <XPLMDisplay.h>
#include <simhost/host.h>

#include "test_util.h"

// What the windows made here fill themselves with.
constexpr uint32_t window_color = 0x3060A0;

struct StandIn {
    StandIn();
    // A visible free window at (left, top, right, bottom) in global
    // coordinates, filled with window_color.
    XPLMWindowID window(int left, int top, int right, int bottom,
        XPLMHandleCursor_f cursor = nullptr, void *refcon = nullptr);
    simhost::WindowState state(XPLMWindowID win) const;

    acf_test::TempDir root;
    std::unique_ptr<simhost::Host> host;
};

// 0xAARRGGBB of pixel (x, y), rows from the top, of a PNG file.
uint32_t png_pixel(const std::string &path, int x, int y);

#endif
