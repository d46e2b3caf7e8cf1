/*
 * The monitors as the simulator enumerates them, collected into bounded
 * lists, and the searches over those lists: by index, under a point, the
 * operating system's presence of a monitor, the display units' widths.
 */
#include "monitors.h"

#include <acfutils/log.h>

#include "../guard.h"

// Called by the simulator for each monitor, so guarded like every callback.
static void collect_monitor(int index, int left, int top, int right, int bottom, void *ref)
{
    guarded("collect_monitor", [&] {
        auto *list = static_cast<monitor_list *>(ref);
        if (list->count < monitor_list::max_monitors)
            list->entries[list->count++] = {index, {left, top, right, bottom}};
    });
}

void list_global_monitors(monitor_list *out)
{
    out->count = 0;
    XPLMGetAllMonitorBoundsGlobal(collect_monitor, out);
}

void list_os_monitors(monitor_list *out)
{
    out->count = 0;
    XPLMGetAllMonitorBoundsOS(collect_monitor, out);
}

const desktop_rect *find_monitor(const monitor_list &list, int index)
{
    for (int i = 0; i < list.count; i++)
        if (list.entries[i].index == index)
            return &list.entries[i].bounds;
    return nullptr;
}

void log_monitors(const monitor_list &list, const char *prefix)
{
    for (int i = 0; i < list.count; i++) {
        const desktop_rect &m = list.entries[i].bounds;
        logMsg("%s%d: [L: %d T: %d], [R: %d B: %d]", prefix, list.entries[i].index, m.left, m.top, m.right, m.bottom);
    }
}

int monitor_at_point(const monitor_list &list, int x, int y, monitor_edges edges)
{
    int found = -1;
    for (int i = 0; i < list.count; i++) {
        const desktop_rect &m = list.entries[i].bounds;
        bool inside = edges == monitor_edges::excluded
                          ? m.left < x && x < m.right && m.bottom < y && y < m.top
                          : m.left <= x && x < m.right && m.bottom <= y && y < m.top;
        if (inside)
            found = list.entries[i].index;
    }
    return found;
}

bool monitor_is_present(int index)
{
    monitor_list os;
    list_os_monitors(&os);
    log_monitors(os, "Monitor ");
    return find_monitor(os, index) != nullptr;
}

bool is_instrument_width(int width)
{
    return width == 512 || width == 682 || width == 683 || width == 800 || width == 1024;
}
