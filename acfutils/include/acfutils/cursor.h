/*
 * Mouse cursors read from PNG files. A cursor made current becomes the
 * desktop's cursor until another one is.
 *
 * The desktop side is reached through the lacf_os_cursor_* functions, which the
 * host program provides (on the stand-in, the simulator stand-in itself; they
 * are weak references, so without them cursors load but are never shown).
 */
#ifndef ACFUTILS_CURSOR_H
#define ACFUTILS_CURSOR_H

#include <stdint.h>
#include "core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct cursor cursor_t;

/* NULL (and a log line) when the file cannot be read as a PNG. */
API_EXPORT cursor_t *cursor_read_from_file(const char *filename);
API_EXPORT void cursor_make_current(cursor_t *cur);
API_EXPORT void cursor_free(cursor_t *cur);

/*
 * The desktop's cursor interface. argb: w * h premultiplied ARGB32 pixels, rows
 * top to bottom; name: the file the cursor came from. The handle returned is
 * the desktop's; it is shown by lacf_os_cursor_show and released by
 * lacf_os_cursor_destroy.
 */
#if !defined(_WIN32)
void *lacf_os_cursor_create(const uint32_t *argb, int w, int h, const char *name) __attribute__((weak));
void lacf_os_cursor_show(void *os_cursor) __attribute__((weak));
void lacf_os_cursor_destroy(void *os_cursor) __attribute__((weak));
#endif

#ifdef __cplusplus
}
#endif

#endif
