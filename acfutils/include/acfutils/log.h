/*
 * The logger: one line per message, "PREFIX[file:line]: message\n", handed
 * whole to the sink given at log_init. logMsg passes the caller's file base
 * name (after the last '/' or '\') and line.
 */
#ifndef ACFUTILS_LOG_H
#define ACFUTILS_LOG_H

#include "core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*logfunc_t)(const char *line);

API_EXPORT void log_init(logfunc_t sink, const char *prefix);
API_EXPORT void log_impl(const char *filename, int line, const char *fmt, ...) PRINTF_ATTR(3, 4);
/* The text after the last '/' or, failing that, after the last '\'. */
API_EXPORT const char *log_basename(const char *path);

#define logMsg(...) log_impl(log_basename(__FILE__), __LINE__, __VA_ARGS__)

#ifdef __cplusplus
}
#endif

#endif
