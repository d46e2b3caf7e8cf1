/*
 * Helpers shared by the plug-in core tests: popups.cfg as a key map, the
 * fourteen keys in their order, and starting the linked plug-in on a
 * prepared simulator folder.
 */
#ifndef VXR_CORE_TEST_UTIL_H
#define VXR_CORE_TEST_UTIL_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <simhost/host.h>
#include "sim_fixture.h"

namespace core_test {

extern const std::vector<std::string> pref_keys;   // in registration order

// popups.cfg parsed as "key = value" lines; empty when there is no file.
std::map<std::string, std::string> read_cfg(const std::string &path);

// Loads (starts and enables) the linked plug-in on a sim made with load = false.
void load(vxr_test::LinkedSim &sim);

// Lines since the mark that contain text.
std::vector<std::string> lines_with(const vxr_test::LinkedSim &sim, const std::string &text);

// The three-monitor home cockpit: a 1920 x 1080 main monitor and two
// 1024 x 768 display units to its right.
std::vector<simhost::Rect> cockpit_monitors();

// Each of the three channels within a few units.
bool color_near(uint32_t actual, uint32_t expected);

simhost::WindowState window_of(const vxr_test::LinkedSim &sim, const std::string &title);

extern const char pfd_title[];
extern const char mfd_title[];

}  // namespace core_test

#endif
