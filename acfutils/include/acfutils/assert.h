/*
 * Assertions for programming errors: the failed expression (and, for the
 * three-operand forms, both operands' values) is logged, then the process aborts.
 */
#ifndef ACFUTILS_ASSERT_H
#define ACFUTILS_ASSERT_H

#include <stdlib.h>
#include <stdint.h>
#include "core.h"
#include "log.h"

#ifdef __cplusplus
extern "C" {
#endif

API_EXPORT void lacf_assert_fail(const char *filename, int line, const char *fmt, ...) PRINTF_ATTR(3, 4);

#ifdef __cplusplus
}
#endif

#define VERIFY_MSG(x, fmt, ...) \
    do { \
        if (!(x)) \
            lacf_assert_fail(log_basename(__FILE__), __LINE__, "assertion \"%s\" failed: " fmt, #x, __VA_ARGS__); \
    } while (0)
#define VERIFY(x) VERIFY_MSG(x, "%s", "")

#define VERIFY3_IMPL(x, op, y, type, fmt) \
    do { \
        type tmp_x_ = (type)(x); \
        type tmp_y_ = (type)(y); \
        if (!(tmp_x_ op tmp_y_)) \
            lacf_assert_fail(log_basename(__FILE__), __LINE__, "assertion %s %s %s failed (" fmt " %s " fmt ")", \
                #x, #op, #y, tmp_x_, #op, tmp_y_); \
    } while (0)
#define VERIFY3S(x, op, y) VERIFY3_IMPL(x, op, y, long long, "%lld")
#define VERIFY3U(x, op, y) VERIFY3_IMPL(x, op, y, unsigned long long, "0x%llx")
#define VERIFY3F(x, op, y) VERIFY3_IMPL(x, op, y, double, "%f")
#define VERIFY3P(x, op, y) VERIFY3_IMPL(x, op, y, const void *, "%p")

#define ASSERT(x) VERIFY(x)
#define ASSERT_MSG(x, fmt, ...) VERIFY_MSG(x, fmt, __VA_ARGS__)
#define ASSERT3S(x, op, y) VERIFY3S(x, op, y)
#define ASSERT3U(x, op, y) VERIFY3U(x, op, y)
#define ASSERT3F(x, op, y) VERIFY3F(x, op, y)
#define ASSERT3P(x, op, y) VERIFY3P(x, op, y)

#endif
