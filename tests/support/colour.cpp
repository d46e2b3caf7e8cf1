// Colour comparison (see colour.h).
#include "colour.h"

namespace vxr_test {

bool color_within(uint32_t actual, uint32_t expected, int tolerance)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = static_cast<int>((actual >> shift) & 0xFF);
        int e = static_cast<int>((expected >> shift) & 0xFF);
        if (a - e > tolerance || e - a > tolerance)
            return false;
    }
    return true;
}

bool color_near(uint32_t actual, uint32_t expected)
{
    return color_within(actual, expected, 8);
}

}  // namespace vxr_test
