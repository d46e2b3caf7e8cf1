// The zones of a popup window, point by point, for each reader: the cursor,
// the left button and the right button, floating and popped out. A window
// 1024 x 768 with its left at 100 and its bottom at 132.
#include <gtest/gtest.h>

#include "Popups/popup_zones.h"

namespace {

const popup_rect win = {100, 900, 1124, 132};
const int L = 100, T = 900, R = 1124, B = 132;

struct ZonePoint {
    const char *where;
    int x, y;
    popup_zone cursor, left_button, right_button;          // floating
    popup_zone popped_cursor, popped_left_button;          // popped out
};

using Z = popup_zone;

const ZonePoint points[] = {
    {"close corner, 49 in", L + 49, T - 49, Z::close, Z::close, Z::close, Z::close, Z::close},
    {"50 from the left: top strip", L + 50, T - 49, Z::top_strip, Z::top_strip, Z::face, Z::face, Z::face},
    {"on the left edge line, near the top", L, T - 10, Z::outside, Z::top_strip, Z::face, Z::outside, Z::face},
    {"pop-out corner", R - 1, T - 1, Z::popout, Z::popout, Z::popout, Z::popout, Z::popout},
    {"bottom-right corner", R - 49, B + 49, Z::resize_right, Z::resize_right, Z::resize_right, Z::face, Z::face},
    {"bottom-right, 24 up: the strip when popped out", R - 30, B + 24, Z::resize_right, Z::resize_right,
     Z::resize_right, Z::bottom_strip, Z::face},
    {"bottom-left corner", L + 1, B + 1, Z::resize_left, Z::resize_left, Z::face, Z::bottom_strip, Z::face},
    {"grip beyond the right edge and below", R + 300, B - 200, Z::outside, Z::resize_right, Z::face, Z::outside,
     Z::face},
    {"grip on the bottom edge line", L + 20, B, Z::outside, Z::resize_left, Z::face, Z::outside, Z::face},
    {"bottom strip, 24 up", L + 500, B + 24, Z::bottom_strip, Z::bottom_strip, Z::face, Z::bottom_strip, Z::face},
    {"25 up: the face", L + 500, B + 25, Z::face, Z::face, Z::face, Z::face, Z::face},
    {"top strip, 49 down", L + 500, T - 49, Z::top_strip, Z::top_strip, Z::face, Z::face, Z::face},
    {"the middle", L + 512, B + 384, Z::face, Z::face, Z::face, Z::face, Z::face},
};

void PrintTo(const ZonePoint &p, std::ostream *os) { *os << p.where; }

class PopupZones : public testing::TestWithParam<ZonePoint> {};

TEST_P(PopupZones, EachReaderFindsItsZone)
{
    const ZonePoint &p = GetParam();
    EXPECT_EQ(popup_zone_at(win, p.x, p.y, false, zone_reader::cursor), p.cursor);
    EXPECT_EQ(popup_zone_at(win, p.x, p.y, false, zone_reader::left_button), p.left_button);
    EXPECT_EQ(popup_zone_at(win, p.x, p.y, false, zone_reader::right_button), p.right_button);
    EXPECT_EQ(popup_zone_at(win, p.x, p.y, true, zone_reader::cursor), p.popped_cursor);
    EXPECT_EQ(popup_zone_at(win, p.x, p.y, true, zone_reader::left_button), p.popped_left_button);
    // The right button does not ask how the window is placed.
    EXPECT_EQ(popup_zone_at(win, p.x, p.y, true, zone_reader::right_button), p.right_button);
}

INSTANTIATE_TEST_SUITE_P(Points, PopupZones, testing::ValuesIn(points),
                         [](const testing::TestParamInfo<ZonePoint> &info) {
                             return "Point" + std::to_string(info.index);
                         });

}  // namespace
