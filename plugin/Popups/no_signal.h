/*
 * A display whose source gives no new picture (an outside view, a menu, a
 * device not drawn) says so plainly: its last picture dimmed under a
 * "NO SIGNAL" caption, instead of a silently frozen attitude.
 */
#ifndef VXR_NO_SIGNAL_H
#define VXR_NO_SIGNAL_H

#include "popup_area.h"

struct popup;

// The caption's image, painted once with cairo (at enable); its texture is
// made the first time it is drawn and freed here too (at disable).
void no_signal_init();
void no_signal_fini();

// The popup's source has just drawn a new picture (the panel's lit pass, or
// the device's screen), whether or not the capture's rate copies it.
void popup_note_pictures(popup *pup);
// A window that opens, or changes its source, gives it its full time first,
// unless it says NO SIGNAL already.
void popup_expect_pictures(popup *pup);
// At disable: the state does not outlive the plug-in's enable.
void popup_forget_signal(popup *pup);

// Called from the capture's watch while the window is open: logs each change
// between live and lost once.
void popup_watch_signal(popup *pup);
// Called from the window's draw, over its picture: while lost, dims the area
// and lays the caption on it.
void popup_draw_signal_state(const popup *pup, const popup_area &area);

#endif
