/*
 * A popup window's zones: the sizes that make its corners and strips, its
 * resizing limits, and the one classification of a point that the cursor, the
 * left button (clicks, drags, resizes) and the right button go by.
 */
#ifndef VXR_POPUP_ZONES_H
#define VXR_POPUP_ZONES_H

// A pointer is near an edge from 1 to this many boxels in from it; the edge
// line itself is near nothing.
constexpr int popup_corner_size = 49;
// The left button's resize grips: closer than this to the bottom edge and to
// a side edge, the edge lines and anything beyond them included.
constexpr int popup_grip_size = 50;
// The bottom strip: 1 to this many boxels up from the bottom edge.
constexpr int popup_bottom_strip = 24;
// A saved pop-out rectangle is within reach when its top strip this many
// boxels high lies on monitors: room for both top corners.
constexpr int popup_reachable_piece = popup_corner_size + 1;

// The resizing limits of a popup window, in boxels (no minimum height).
constexpr int popup_min_w = 256;
constexpr int popup_max_w = 4096;
constexpr int popup_max_h = 4096;

// Left, top, right, bottom in global boxels, y up.
struct popup_rect {
    int left, top, right, bottom;
};

enum class popup_zone {
    outside,        // the cursor's only: not strictly inside the window
    close,          // top-left corner
    popout,         // top-right corner
    resize_left,    // bottom-left corner
    resize_right,   // bottom-right corner
    top_strip,
    bottom_strip,
    face,
};

// Who asks, each by its own rules:
// - cursor: a point on or beyond an edge line is outside; a popped-out window
//   has no resize corners and no top strip, but shows its bottom strip;
// - left_button: a floating window's resize grips come first; a popped-out
//   window has no resize corners and no strips;
// - right_button: only the close, pop-out and bottom-right corners, whatever
//   the window's mode.
enum class zone_reader { cursor, left_button, right_button };

popup_zone popup_zone_at(const popup_rect &r, int x, int y, bool popped_out, zone_reader reader);

#endif
