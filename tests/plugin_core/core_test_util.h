/*
 * Helpers shared by the plug-in core tests: popups.cfg as a key map, the
 * keys in their order, and starting the linked plug-in on a
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

// Loads (starts and enables) the linked plug-in on a sim made with load = false.
void load(vxr_test::LinkedSim &sim);

// Lines since the mark that contain text.
std::vector<std::string> lines_with(const vxr_test::LinkedSim &sim, const std::string &text);


using vxr_test::color_near;
using vxr_test::cockpit_monitors;
using vxr_test::mfd_title;
using vxr_test::pfd_title;
using vxr_test::window_of;

}  // namespace core_test

#endif
