/*
 * The shape of a screen's picture, which its window keeps: told by the
 * source (a panel region at once, a device with its first picture) and
 * remembered per screen in popups.cfg, so that the next opening, also after a
 * restart, has it from its first frame.
 */
#ifndef VXR_PICTURE_ASPECT_H
#define VXR_PICTURE_ASPECT_H

#include <cstdint>

struct popup;

// A picture's width per 1000 of its height, rounded: the key's unit.
int32_t picture_thousandths(double width, double height);

// At enable: the shape the screen's key remembers, when it holds one.
void picture_aspect_init(popup *pup);
// At opening, before the window is placed: the shape the shown source tells
// now, if it tells one.
void picture_aspect_take(popup *pup);
// Once a frame for an open window, from the watch: a picture of another shape
// reshapes the window in that frame, about its centre and on its monitor.
void picture_aspect_follow(popup *pup);

#endif
