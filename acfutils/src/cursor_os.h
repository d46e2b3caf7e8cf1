/*
 * The desktop side of cursors, one back end per platform chosen at build
 * time: X11 (cursor_x11.cpp) or Windows (cursor_win.cpp).
 */
#ifndef ACFUTILS_CURSOR_OS_H
#define ACFUTILS_CURSOR_OS_H

#include <cstdint>

// argb: w * h premultiplied ARGB32 pixels, rows top to bottom; (hot_x, hot_y)
// the pixel that points. 0 when the desktop has no cursors for us (logged).
uintptr_t os_cursor_create(const uint32_t *argb, int w, int h, int hot_x, int hot_y, const char *name);
// false (logged once) when the cursor could not be made current. window and
// part say where the pointer is (see cursor_make_current_at).
bool os_cursor_show(uintptr_t handle, const void *window, int part);
// The native window our cursor was last defined on shows the simulator's
// cursor again: at once, or only when the cursor was not asked for in this
// cycle or the one before (the pointer has left).
void os_cursor_give_back();
void os_cursor_give_back_unasked();
void os_cursor_destroy(uintptr_t handle);

// Bookkeeping of cursor_t records alive: the X11 back end holds its display
// connection from the first to the last of them.
void os_cursor_retain();
void os_cursor_release();

#endif
