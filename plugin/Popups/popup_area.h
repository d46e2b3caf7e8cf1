/*
 * A popup window's size: the resizing limits every popup window gets, which
 * the plug-in's own aspect-keeping resize stays within.
 */
#ifndef VXR_POPUP_AREA_H
#define VXR_POPUP_AREA_H

// The resizing limits of a popup window, in boxels (no minimum height).
constexpr int popup_min_w = 256;
constexpr int popup_max_w = 4096;
constexpr int popup_max_h = 4096;

#endif
