/*
 * Helpers for the reliability tests: popups.cfg checked through the utility
 * library's own reader, the preferences in memory as a key map, what the
 * plug-in still holds in the stand-in, and small PNG files made byte by byte.
 */
#ifndef VXR_RELIABILITY_UTIL_H
#define VXR_RELIABILITY_UTIL_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <simhost/host.h>
#include "sim_fixture.h"

namespace reliability {

extern const char pfd_title[];
extern const char mfd_title[];
extern const char pfd_cmd[];
extern const char mfd_cmd[];
extern const char swap_cmd[];

// The fourteen keys in registration order.
const std::vector<std::string> &pref_keys();

// The preferences in memory, key to value.
std::map<std::string, int> prefs_in_memory();

// popups.cfg read with conf_read_file: success when it parses without a bad
// line and every one of the fourteen keys is a whole number; *values gets them.
testing::AssertionResult cfg_is_whole(const std::string &path, std::map<std::string, int> *values = nullptr);

// The threads of the process before the plug-in starts any. A sanitizer's
// runtime may start a thread of its own with the first other thread, so one
// is started and joined first.
int threads_before_plugin(const vxr_test::LinkedSim &sim);

// Success when nothing of the plug-in is alive in the host: windows, command
// handlers, flight loops, draw callbacks, menus, menu items, textures,
// framebuffers and cursors all 0, and the threads back at `threads`.
testing::AssertionResult nothing_left(const simhost::LiveObjects &live, int threads);

// Writes popups.cfg with this text, then loads the linked plug-in on a sim
// made with load = false.
void load_with_cfg(vxr_test::LinkedSim &sim, const std::string &cfg_text);

simhost::WindowState window_of(const vxr_test::LinkedSim &sim, const std::string &title);

// A 1920 x 1080 main monitor and two 1024 x 768 display units to its right.
std::vector<simhost::Rect> cockpit_monitors();

// Each of red, green and blue within 8 of the expected value.
bool color_near(uint32_t actual, uint32_t expected);

// A PNG file of the given size, 8-bit grey: with all its pixel data (stored
// uncompressed), or with its header and a cut-off data chunk only.
std::string png_bytes(uint32_t width, uint32_t height, bool pixels);

// The capture clock stepped by hand, 50 ms a frame, so every lit pass copies.
void use_stepping_clock();
void step_clock();

}  // namespace reliability

#endif
