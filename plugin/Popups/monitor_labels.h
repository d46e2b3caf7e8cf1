/*
 * "Identify Monitors": for a few seconds every monitor of the operating
 * system, covered by X-Plane or not, shows a large label with its index, its
 * size, whether X-Plane covers it and which display is assigned to it.
 */
#ifndef VXR_MONITOR_LABELS_H
#define VXR_MONITOR_LABELS_H

#include <XPLMUtilities.h>

// Shows the labels, or hides them at once when they are shown.
void monitor_labels_toggle();
// Hides the labels and stops their timer (at disable).
void monitor_labels_fini();

// The identify command's handler: toggles on the command's end phase.
int identify_command_handler(XPLMCommandRef cmd, XPLMCommandPhase phase, void *ref);

#endif
