/*
 * The plug-in's own record of each popup window's positioning mode: the
 * simulator tells no window's mode, and its geometry may lag a change of
 * mode by a frame, so decisions about who holds a monitor go by this record.
 */
#include "popup.h"

#include "display_menus.h"

void popup_set_mode(popup *pup, XPLMWindowPositioningMode mode, int monitor)
{
    XPLMSetWindowPositioningMode(pup->win, mode, monitor);
    pup->mode = mode;
    pup->mode_monitor = mode == xplm_WindowFullScreenOnMonitor ? monitor : -1;
    if (mode != xplm_WindowPositionFree)
        pup->awaiting_monitor = false;
    // The display menus check where each display is, from this frame on.
    display_menus_refresh_checks();
}

bool popup_is_open(const popup *pup)
{
    return pup->win != nullptr && XPLMGetWindowIsVisible(pup->win) != 0;
}

bool popup_is_full_screen(const popup *pup)
{
    return pup->win != nullptr && pup->mode == xplm_WindowFullScreenOnMonitor;
}
