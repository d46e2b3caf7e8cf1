/*
 * Monitors: the searches over the simulator's monitor enumeration, the
 * start-up assignment of the instrument monitors to PFD and MFD, and the swap.
 */
#ifndef VXR_MONITORS_H
#define VXR_MONITORS_H

#include <cstdint>

#include <XPLMUtilities.h>

struct monitor_point_query {
    int32_t x;
    int32_t y;
    int32_t monitor;
};

struct instrument_monitor_pair {
    int32_t pfd;
    int32_t mfd;
};

struct monitor_presence_query {
    int32_t monitor;
    bool found;
};

void find_monitor_at_point(int index, int left, int top, int right, int bottom, void *ref);
void find_instrument_monitors(int index, int left, int top, int right, int bottom, void *ref);
void match_monitor_index(int index, int left, int top, int right, int bottom, void *ref);

bool monitor_is_present(int index);
void assign_instrument_monitors();
void swap_popup_monitors();
int swap_command_handler(XPLMCommandRef cmd, XPLMCommandPhase phase, void *ref);

#endif
