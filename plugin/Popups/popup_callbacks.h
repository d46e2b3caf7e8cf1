/*
 * The callbacks of a popup's window (draw, click, cursor) and the mouse
 * gestures they lead to.
 */
#ifndef VXR_POPUP_CALLBACKS_H
#define VXR_POPUP_CALLBACKS_H

#include <XPLMDisplay.h>

struct popup;

void popup_draw(XPLMWindowID win, void *ref);
int popup_click(XPLMWindowID win, int x, int y, XPLMMouseStatus status, void *ref);
XPLMCursorStatus popup_cursor(XPLMWindowID win, int x, int y, void *ref);

struct image_point {
    double x;
    double y;
};
image_point popup_win_to_image(popup *pup, XPLMWindowID win, int x, int y);
void popup_drag(XPLMWindowID win, int x, int y, XPLMMouseStatus status, popup *pup);
void popup_resize(XPLMWindowID win, int x, int y, XPLMMouseStatus status, popup *pup, bool right_side);

#endif
