/*
 * Where a popup's picture lies in its window: the drawn area that the
 * drawing, the face's hit test and the window's zones measure by.
 */
#ifndef VXR_POPUP_AREA_H
#define VXR_POPUP_AREA_H

#include <XPLMDisplay.h>

#include "popup_zones.h"

struct popup;

// The rectangle the picture is drawn in, in window coordinates (y up).
struct popup_area {
    int left, bottom, width, height;
};

// With fill_window set, the whole window. Otherwise the picture keeps the
// image's aspect inside the window: as wide as the window when that fits, else
// as high as the window and centred across it; it stands on the bottom edge.
popup_area popup_drawn_area(const popup *pup, XPLMWindowID win);

// The drawn area as the rectangle the window's corners and strips are measured
// on: the overlay draws its buttons at the picture's corners, so the zones,
// the cursors and the drawn buttons coincide whatever the window's shape.
popup_rect popup_chrome_rect(const popup *pup, XPLMWindowID win);

#endif
