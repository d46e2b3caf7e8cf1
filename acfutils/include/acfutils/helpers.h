/*
 * Paths and allocation. Strings returned here are released with lacf_free.
 */
#ifndef ACFUTILS_HELPERS_H
#define ACFUTILS_HELPERS_H

#include <stdarg.h>
#include <stdbool.h>
#include <stddef.h>
#include "core.h"

#ifdef __cplusplus
extern "C" {
#endif

API_EXPORT void *lacf_malloc(size_t n);
API_EXPORT void lacf_free(void *p);
API_EXPORT char *lacf_strdup(const char *s);

/* The components joined with DIRSEP; the list ends with NULL. A component
 * that already ends with a separator is not given a second one. */
API_EXPORT char *mkpathname(const char *comp, ...);
API_EXPORT char *mkpathname_v(const char *comp, va_list ap);

API_EXPORT bool file_exists(const char *path, bool *isdir);
/* Creates one folder; true when it exists afterwards as a folder. */
API_EXPORT bool create_directory(const char *dirname);

#ifdef __cplusplus
}
#endif

#endif
