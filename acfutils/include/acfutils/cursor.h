/*
 * Mouse cursors read from PNG files. A cursor made current becomes the
 * desktop's cursor over the simulator's window under the pointer, until
 * another one is (X11 or Windows, chosen when the library is built).
 */
#ifndef ACFUTILS_CURSOR_H
#define ACFUTILS_CURSOR_H

#include <stdbool.h>
#include "core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct cursor cursor_t;

/* NULL (and a log line) when the file cannot be read as a PNG. */
API_EXPORT cursor_t *cursor_read_from_file(const char *filename);
/*
 * true when the cursor is now the desktop's; false (with a log line the first
 * time) when the desktop has no cursors for the library: no display, no
 * window handle from the simulator, or the cursor refused.
 */
API_EXPORT bool cursor_make_current(cursor_t *cur);
/*
 * The same, for a caller asked once a frame by the simulator's window under
 * the pointer: window is that window, part which of its native windows the
 * pointer is in (the caller's own numbering, e.g. the monitor under the
 * pointer). Asked again from the same place in the next frame, the cursor
 * is known to show still and the desktop is not asked; from another place it
 * is defined afresh there, and the window left behind given back.
 */
API_EXPORT bool cursor_make_current_at(cursor_t *cur, const void *window, int part);
/*
 * Gives the simulator its cursor back where ours was made current: at once
 * (the pointer is where the caller shows none of its own), or only when no
 * cursor was made current in this frame or the one before (the pointer has
 * left the caller's windows; to be called once a frame).
 */
API_EXPORT void cursor_give_back(void);
API_EXPORT void cursor_give_back_unasked(void);
API_EXPORT void cursor_free(cursor_t *cur);

#ifdef __cplusplus
}
#endif

#endif
