/*
 * Monitors: the searches over the simulator's monitor enumeration, the
 * start-up assignment of the instrument monitors to PFD and MFD, and the swap.
 */
#ifndef VXR_MONITORS_H
#define VXR_MONITORS_H

#include <cstdint>
#include <vector>

#include <XPLMUtilities.h>

struct popup;

struct monitor_point_query {
    int32_t x;
    int32_t y;
    int32_t monitor;
};

// The first instrument monitor (PFD), the last (MFD), and all of them in the
// simulator's order.
struct instrument_monitor_pair {
    int32_t pfd;
    int32_t mfd;
    std::vector<int32_t> all;
};

struct monitor_presence_query {
    int32_t monitor;
    bool found;
};

void find_monitor_at_point(int index, int left, int top, int right, int bottom, void *ref);
void find_instrument_monitors(int index, int left, int top, int right, int bottom, void *ref);
void match_monitor_index(int index, int left, int top, int right, int bottom, void *ref);

bool monitor_is_present(int index);

// The other display, when its window is open full screen on this monitor and
// its own saved monitor is this one: the monitor is taken.
popup *monitor_held_by_other(const popup *pup, int32_t monitor);
// After pup has been put full screen on the monitor: the other display's
// window, if it was left there, goes where its own preferences put it.
void make_way_on_monitor(const popup *pup, int32_t monitor);

void assign_instrument_monitors();
void swap_popup_monitors();
int swap_command_handler(XPLMCommandRef cmd, XPLMCommandPhase phase, void *ref);

#endif
