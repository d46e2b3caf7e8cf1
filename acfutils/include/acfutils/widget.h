/*
 * Window helpers: the resize control, which keeps a window and its normal
 * size and follows its geometry from draw to draw (it never changes the
 * geometry itself), and VR following.
 */
#ifndef ACFUTILS_WIDGET_H
#define ACFUTILS_WIDGET_H

#include <stdbool.h>
#include <XPLMDisplay.h>
#include "core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
    XPLMWindowID win;
    int norm_w;
    int norm_h;
    int left, top, right, bottom;   /* geometry seen at the last update */
    bool resized;                   /* the size changed at the last update */
} win_resize_ctl_t;

API_EXPORT void win_resize_ctl_init(win_resize_ctl_t *wrc, XPLMWindowID win, int norm_w, int norm_h);
API_EXPORT void win_resize_ctl_update(win_resize_ctl_t *wrc);

/* Moves the window into VR while the simulator runs in VR. */
API_EXPORT void window_follow_VR(XPLMWindowID win);

#ifdef __cplusplus
}
#endif

#endif
