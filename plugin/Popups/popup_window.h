/*
 * A popup window's life: made at its first opening, shown and hidden by its
 * show/hide command, reopened where its preferences say, opened at start-up,
 * and the rule that one monitor shows at most one display full screen.
 */
#ifndef VXR_POPUP_WINDOW_H
#define VXR_POPUP_WINDOW_H

#include <cstdint>

#include <XPLMUtilities.h>

#include "monitors.h"

struct popup;

// The show/hide command's handler: acts on the command's end phase, making
// the window at the first opening; always returns 1.
int toggle_popup(XPLMCommandRef cmd, XPLMCommandPhase phase, void *ref);

// Closes the window if it is open and opens it again, placed by its
// preferences as they are now.
void popup_reopen(popup *pup);
// The same, sending nobody away from its monitor.
void popup_reopen_yielding(popup *pup);
// Puts the open window floating at the rectangle (global boxels).
void popup_float_at(popup *pup, const desktop_rect &r);

// An open window that is not full screen takes its picture's aspect about
// its centre, wholly on its monitor (the picture told another shape).
void popup_fit_picture(popup *pup);

// Once a second: a window full screen on a monitor that has gone comes to
// the mouse, and one placed so goes back when its monitor returns.
void popups_follow_monitors();

// Opens the displays marked to open at start; the PFD first when both name
// one monitor.
void open_popups_at_start();

// Puts the made window full screen on the monitor at once, sending nobody
// away; false when the window was never made.
bool popup_fill_monitor(popup *pup, int32_t monitor);

// After pup has been put full screen on the monitor: the other display's
// window, if it was left there, goes where its own preferences put it.
void make_way_on_monitor(const popup *pup, int32_t monitor);

#endif
