/*
 * Window helpers: moving a window into VR while the simulator runs in VR.
 */
#ifndef ACFUTILS_WIDGET_H
#define ACFUTILS_WIDGET_H

#include <XPLMDisplay.h>
#include "core.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Moves the window into VR while the simulator runs in VR. */
API_EXPORT void window_follow_VR(XPLMWindowID win);

#ifdef __cplusplus
}
#endif

#endif
