/*
 * Export and platform macros shared by every header of the utility library.
 */
#ifndef ACFUTILS_CORE_H
#define ACFUTILS_CORE_H

#if defined(_WIN32)
#  if defined(ACFUTILS_BUILD) && defined(ACFUTILS_DLL)
#    define API_EXPORT __declspec(dllexport)
#  else
#    define API_EXPORT
#  endif
#  define DIRSEP '\\'
#  define DIRSEP_S "\\"
#else
#  define API_EXPORT __attribute__((visibility("default")))
#  define DIRSEP '/'
#  define DIRSEP_S "/"
#endif

#if defined(__MINGW32__)
/* mingw formats with its C99 printf (__USE_MINGW_ANSI_STDIO), not msvcrt's. */
#  define PRINTF_ATTR(fmt_idx, first_arg) __attribute__((format(gnu_printf, fmt_idx, first_arg)))
#elif defined(__GNUC__) || defined(__clang__)
#  define PRINTF_ATTR(fmt_idx, first_arg) __attribute__((format(printf, fmt_idx, first_arg)))
#else
#  define PRINTF_ATTR(fmt_idx, first_arg)
#endif

#endif
