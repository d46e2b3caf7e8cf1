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
API_EXPORT void cursor_free(cursor_t *cur);

#ifdef __cplusplus
}
#endif

#endif
