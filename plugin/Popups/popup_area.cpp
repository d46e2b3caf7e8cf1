/*
 * The drawn area of a popup window, recomputed from the window's geometry and
 * its fill_window preference at every draw and every mouse event.
 */
#include "popup_area.h"

#include "popup.h"

popup_area popup_drawn_area(const popup *pup, XPLMWindowID win)
{
    int left = 0, top = 0, right = 0, bottom = 0;
    XPLMGetWindowGeometry(win, &left, &top, &right, &bottom);
    int width = right - left, height = top - bottom;
    if (pup->prefs->fill_window->get() != 0)
        return popup_area{left, bottom, width, height};

    int fit_height = static_cast<int>(pup->image_h / pup->image_w * width);
    if (fit_height <= height)
        return popup_area{left, bottom, width, fit_height};
    // Multiplied first: whole-number sizes give exact widths (600 rows, 800 columns).
    int fit_width = static_cast<int>(height * pup->image_w / pup->image_h);
    return popup_area{left + (width - fit_width) / 2, bottom, fit_width, height};
}

popup_rect popup_chrome_rect(const popup *pup, XPLMWindowID win)
{
    popup_area a = popup_drawn_area(pup, win);
    return popup_rect{a.left, a.bottom + a.height, a.left + a.width, a.bottom};
}
