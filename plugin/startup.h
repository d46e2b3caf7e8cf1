/*
 * The deferred start-up: a flight loop, counted from enable, that looks up the
 * screens' show/hide commands on frame 45 and on frame 50 builds the "VXR Popups"
 * menu and the swap command, assigns the instrument monitors and opens the
 * popups marked to open at start.
 */
#ifndef VXR_STARTUP_H
#define VXR_STARTUP_H

#include <cstdint>

// Frames counted since enable; 51 and above once the start-up is done.
extern int32_t startup_frame;

// Called every frame until the start-up is done, then no more (it answers 0).
float startup_flight_loop(float since_last_call, float since_last_loop, int counter, void *ref);

// Removes the menu and the swap command's handler, when a frame-50 step made
// them, so that a disable leaves nothing behind and the next enable builds
// them afresh.
void startup_remove_menu_and_swap();

#endif
