/*
 * Saving a popup's placement with right clicks on its corners.
 */
#ifndef VXR_GEOMETRY_SAVE_H
#define VXR_GEOMETRY_SAVE_H

#include <XPLMDisplay.h>

int save_geometry_click(XPLMWindowID win, int x, int y, XPLMMouseStatus status, void *ref);

#endif
