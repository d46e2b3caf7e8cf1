/*
 * Assertion failures: the failed condition is logged as one line through the
 * logger, then the process aborts.
 */
#include <acfutils/assert.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void lacf_assert_fail(const char *filename, int line, const char *fmt, ...)
{
    char msg[1024];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(msg, sizeof(msg), fmt, ap);
    va_end(ap);
    log_impl(filename, line, "%s", msg);
    abort();
}
