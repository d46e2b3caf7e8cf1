/*
 * Pixel colours for tests: 0xRRGGBB values compared channel by channel.
 */
#ifndef VXR_TEST_COLOUR_H
#define VXR_TEST_COLOUR_H

#include <cstdint>

namespace vxr_test {

// Each of red, green and blue within tolerance of the expected 0xRRGGBB; the
// bits above them are ignored.
bool color_within(uint32_t actual, uint32_t expected, int tolerance);

// Within 8, what the stand-in's pictures keep through blending and scaling.
bool color_near(uint32_t actual, uint32_t expected);

}  // namespace vxr_test

#endif
