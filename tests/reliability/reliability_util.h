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

using vxr_test::cockpit_monitors;
using vxr_test::color_near;
using vxr_test::mfd_cmd;
using vxr_test::mfd_title;
using vxr_test::pfd_cmd;
using vxr_test::pfd_title;
using vxr_test::popups_cfg_keys;
using vxr_test::window_of;

extern const char swap_cmd[];

// The preferences in memory that the file holds, key to value.
std::map<std::string, int> prefs_in_memory();

// popups.cfg read with conf_read_file: success when it parses without a bad
// line and every one of the plug-in's keys is a whole number; *values gets them.
testing::AssertionResult cfg_is_whole(const std::string &path, std::map<std::string, int> *values = nullptr);

// Success when nothing of the plug-in is alive in the host: windows, command
// handlers, flight loops, draw callbacks, menus, menu items, textures,
// framebuffers and cursors all 0, and the threads back at `threads`.
testing::AssertionResult nothing_left(const simhost::Host &host, int threads);

// A PNG file of the given size, 8-bit grey: with all its pixel data (stored
// uncompressed), or with its header and a cut-off data chunk only.
std::string png_bytes(uint32_t width, uint32_t height, bool pixels);

// The capture clock stepped by hand, 50 ms a frame, so every lit pass copies.
void use_stepping_clock();
void step_clock();

}  // namespace reliability

#endif
