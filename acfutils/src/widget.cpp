/*
 * Window helpers: the resize control, which follows a window's geometry from
 * draw to draw without ever changing it, and moving windows into VR.
 */
#include <acfutils/widget.h>

#include <XPLMDataAccess.h>

void win_resize_ctl_init(win_resize_ctl_t *wrc, XPLMWindowID win, int norm_w, int norm_h)
{
    wrc->win = win;
    wrc->norm_w = norm_w;
    wrc->norm_h = norm_h;
    XPLMGetWindowGeometry(win, &wrc->left, &wrc->top, &wrc->right, &wrc->bottom);
    wrc->resized = false;
}

void win_resize_ctl_update(win_resize_ctl_t *wrc)
{
    int left, top, right, bottom;
    XPLMGetWindowGeometry(wrc->win, &left, &top, &right, &bottom);
    wrc->resized = right - left != wrc->right - wrc->left || top - bottom != wrc->top - wrc->bottom;
    wrc->left = left;
    wrc->top = top;
    wrc->right = right;
    wrc->bottom = bottom;
}

void window_follow_VR(XPLMWindowID win)
{
    // Looked up once: the simulator's datarefs live as long as it runs.
    static const XPLMDataRef vr_enabled = XPLMFindDataRef("sim/graphics/VR/enabled");
    if (vr_enabled != nullptr && XPLMGetDatai(vr_enabled) != 0 && !XPLMWindowIsInVR(win))
        XPLMSetWindowPositioningMode(win, xplm_WindowVR, -1);
}
