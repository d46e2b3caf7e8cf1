/*
 * Where a point lies on a popup window (see popup_zones.h): the first zone
 * that holds it, in the order the window's chrome is tested.
 */
#include "popup_zones.h"

static bool near_edge(int distance)
{
    return distance >= 1 && distance <= popup_corner_size;
}

popup_zone popup_zone_at(const popup_rect &r, int x, int y, bool popped_out, zone_reader reader)
{
    int left = x - r.left, right = r.right - x, top = r.top - y, bottom = y - r.bottom;

    if (reader == zone_reader::cursor && !(left > 0 && right > 0 && top > 0 && bottom > 0))
        return popup_zone::outside;
    if (reader == zone_reader::left_button && !popped_out) {
        if (left < popup_grip_size && bottom < popup_grip_size)
            return popup_zone::resize_left;
        if (right < popup_grip_size && bottom < popup_grip_size)
            return popup_zone::resize_right;
    }
    if (near_edge(left) && near_edge(top))
        return popup_zone::close;
    if (near_edge(right) && near_edge(top))
        return popup_zone::popout;
    if (reader == zone_reader::right_button)
        return near_edge(right) && near_edge(bottom) ? popup_zone::resize_right : popup_zone::face;

    bool in_bottom_strip = bottom >= 1 && bottom <= popup_bottom_strip;
    if (popped_out)
        return reader == zone_reader::cursor && in_bottom_strip ? popup_zone::bottom_strip : popup_zone::face;
    if (near_edge(right) && near_edge(bottom))
        return popup_zone::resize_right;
    if (near_edge(left) && near_edge(bottom))
        return popup_zone::resize_left;
    if (near_edge(top))
        return popup_zone::top_strip;
    if (in_bottom_strip)
        return popup_zone::bottom_strip;
    return popup_zone::face;
}
