#ifndef _XPLMDefs_h_
#define _XPLMDefs_h_
/*
 * Basic definitions of the X-Plane plug-in SDK: platform and export macros,
 * plug-in IDs, key flags and the mouse and cursor enums (as in SDK 4.1 and later).
 */

#include <stdint.h>

#if IBM
#include <windows.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

#if APL
#  if __GNUC__ >= 4
#    ifdef __cplusplus
#      define PLUGIN_API extern "C" __attribute__((visibility("default")))
#    else
#      define PLUGIN_API __attribute__((visibility("default")))
#    endif
#  else
#    define PLUGIN_API extern "C"
#  endif
#elif IBM
#  ifdef __cplusplus
#    define PLUGIN_API extern "C" __declspec(dllexport)
#  else
#    define PLUGIN_API __declspec(dllexport)
#  endif
#elif LIN
#  if __GNUC__ >= 4
#    ifdef __cplusplus
#      define PLUGIN_API extern "C" __attribute__((visibility("default")))
#    else
#      define PLUGIN_API __attribute__((visibility("default")))
#    endif
#  else
#    ifdef __cplusplus
#      define PLUGIN_API extern "C"
#    else
#      define PLUGIN_API
#    endif
#  endif
#else
#  error "Platform not defined!"
#endif

#if APL
#  if XPLM
#    define XPLM_API __attribute__((visibility("default")))
#  else
#    define XPLM_API
#  endif
#elif IBM
#  if XPLM
#    define XPLM_API __declspec(dllexport)
#  else
#    define XPLM_API __declspec(dllimport)
#  endif
#elif LIN
#  if XPLM
#    define XPLM_API __attribute__((visibility("default")))
#  else
#    define XPLM_API
#  endif
#endif

typedef int XPLMPluginID;

#define XPLM_NO_PLUGIN_ID (-1)
#define XPLM_PLUGIN_XPLANE (0)
#define kXPLM_Version (411)

enum {
    xplm_ShiftFlag = 1,
    xplm_OptionAltFlag = 2,
    xplm_ControlFlag = 4,
    xplm_DownFlag = 8,
    xplm_UpFlag = 16
};
typedef int XPLMKeyFlags;

enum {
    xplm_MouseDown = 1,
    xplm_MouseDrag = 2,
    xplm_MouseUp = 3
};
typedef int XPLMMouseStatus;

enum {
    xplm_CursorDefault = 0,
    xplm_CursorHidden = 1,
    xplm_CursorArrow = 2,
    xplm_CursorCustom = 3
};
typedef int XPLMCursorStatus;

#ifdef __cplusplus
}
#endif

#endif
