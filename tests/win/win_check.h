/*
 * The checks of the Windows check programs, which run under Wine without a
 * test framework: each failed check prints its place and condition, and the
 * program's exit code says whether any failed.
 */
#ifndef VXR_WIN_CHECK_H
#define VXR_WIN_CHECK_H

#include <cstdio>

inline int win_check_failures = 0;

#define CHECK(cond)                                                                     \
    do {                                                                                \
        if (!(cond)) {                                                                  \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);   \
            win_check_failures++;                                                       \
        }                                                                               \
    } while (0)

#endif
