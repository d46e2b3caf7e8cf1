/*
 * The monitors, the user-interface scale and the conversions between OS
 * pixels and global boxels (see desktop.h).
 */
#include "desktop.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace simhost {
namespace {

// value x num / den rounded to the nearest whole, halves upwards, for any sign.
int scaled(int value, int num, int den)
{
    int64_t twice = static_cast<int64_t>(value) * num * 2 + den;
    int64_t q = twice / (2 * den);
    if (twice % (2 * den) != 0 && twice < 0)
        q--;
    return static_cast<int>(q);
}

Rect box(const std::vector<Rect> &rects)
{
    if (rects.empty())
        return Rect{};
    Rect b{INT_MAX, INT_MIN, INT_MIN, INT_MAX};
    for (const Rect &r : rects) {
        b.left = std::min(b.left, r.left);
        b.top = std::max(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::min(b.bottom, r.bottom);
    }
    return b;
}

}  // namespace

Desktop::Desktop() { set_monitors({}); }

void Desktop::set_monitors(const std::vector<Monitor> &list)
{
    if (!list.empty() && !list.front().covered)
        throw std::invalid_argument("monitor 0 is the main monitor: X-Plane always covers it");
    os_.clear();
    covered_.clear();
    if (list.empty()) {
        os_.push_back(monitor_rect(1920, 1080, 0, 0));
        covered_.push_back(true);
    }
    for (const Monitor &m : list) {
        os_.push_back(m.os);
        covered_.push_back(m.covered);
    }
}

void Desktop::set_scale(int percent)
{
    if (percent != 100 && percent != 150 && percent != 200)
        throw std::invalid_argument("a user-interface scale is 100, 150 or 200 per cent, not " + std::to_string(percent));
    scale_ = percent;
}

Rect Desktop::global_bounds() const
{
    std::vector<Rect> list;
    for (int i = 0; i < count(); i++) {
        if (covered(i))
            list.push_back(global(i));
    }
    return box(list);
}

Rect Desktop::os_bounds() const { return box(os_); }

int Desktop::to_global(int px) const { return scaled(px, 100, scale_); }
int Desktop::to_os(int bx) const { return scaled(bx, scale_, 100); }

Rect Desktop::to_global(const Rect &r) const
{
    return Rect{to_global(r.left), to_global(r.top), to_global(r.right), to_global(r.bottom)};
}

Rect Desktop::to_os(const Rect &r) const { return Rect{to_os(r.left), to_os(r.top), to_os(r.right), to_os(r.bottom)}; }

}  // namespace simhost
