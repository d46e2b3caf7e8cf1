#ifndef _XPLMDisplay_h_
#define _XPLMDisplay_h_
/*
 * Drawing callbacks by phase, and modern windows: creation record, callbacks,
 * positioning modes, geometry in global desktop boxels (y up), monitors.
 */

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    xplm_Phase_Modern3D = 31,
    xplm_Phase_FirstCockpit = 35,
    xplm_Phase_Panel = 40,
    xplm_Phase_Gauges = 45,
    xplm_Phase_Window = 50,
    xplm_Phase_LastCockpit = 55
};
typedef int XPLMDrawingPhase;

typedef int (*XPLMDrawCallback_f)(XPLMDrawingPhase inPhase, int inIsBefore, void *inRefcon);

XPLM_API int XPLMRegisterDrawCallback(XPLMDrawCallback_f inCallback, XPLMDrawingPhase inPhase, int inWantsBefore, void *inRefcon);
XPLM_API int XPLMUnregisterDrawCallback(XPLMDrawCallback_f inCallback, XPLMDrawingPhase inPhase, int inWantsBefore, void *inRefcon);

typedef void *XPLMWindowID;

typedef void (*XPLMDrawWindow_f)(XPLMWindowID inWindowID, void *inRefcon);
typedef int (*XPLMHandleMouseClick_f)(XPLMWindowID inWindowID, int x, int y, XPLMMouseStatus inMouse, void *inRefcon);
typedef void (*XPLMHandleKey_f)(XPLMWindowID inWindowID, char inKey, XPLMKeyFlags inFlags, char inVirtualKey, void *inRefcon, int losingFocus);
typedef XPLMCursorStatus (*XPLMHandleCursor_f)(XPLMWindowID inWindowID, int x, int y, void *inRefcon);
typedef int (*XPLMHandleMouseWheel_f)(XPLMWindowID inWindowID, int x, int y, int wheel, int clicks, void *inRefcon);

enum {
    xplm_WindowLayerFlightOverlay = 0,
    xplm_WindowLayerFloatingWindows = 1,
    xplm_WindowLayerModal = 2,
    xplm_WindowLayerGrowlNotifications = 3
};
typedef int XPLMWindowLayer;

enum {
    xplm_WindowDecorationNone = 0,
    xplm_WindowDecorationRoundRectangle = 1,
    xplm_WindowDecorationSelfDecorated = 2,
    xplm_WindowDecorationSelfDecoratedResizable = 3
};
typedef int XPLMWindowDecoration;

/* 88 bytes on 64-bit targets; the last three fields arrived with SDK 3.0. */
typedef struct {
    int structSize;
    int left;
    int top;
    int right;
    int bottom;
    int visible;
    XPLMDrawWindow_f drawWindowFunc;
    XPLMHandleMouseClick_f handleMouseClickFunc;
    XPLMHandleKey_f handleKeyFunc;
    XPLMHandleCursor_f handleCursorFunc;
    XPLMHandleMouseWheel_f handleMouseWheelFunc;
    void *refcon;
    XPLMWindowDecoration decorateAsFloatingWindow;
    XPLMWindowLayer layer;
    XPLMHandleMouseClick_f handleRightClickFunc;
} XPLMCreateWindow_t;

enum {
    xplm_WindowPositionFree = 0,
    xplm_WindowCenterOnMonitor = 1,
    xplm_WindowFullScreenOnMonitor = 2,
    xplm_WindowFullScreenOnAllMonitors = 3,
    xplm_WindowPopOut = 4,
    xplm_WindowVR = 5
};
typedef int XPLMWindowPositioningMode;

typedef void (*XPLMReceiveMonitorBoundsGlobal_f)(int inMonitorIndex, int inLeftBx, int inTopBx, int inRightBx, int inBottomBx, void *inRefcon);
typedef void (*XPLMReceiveMonitorBoundsOS_f)(int inMonitorIndex, int inLeftPx, int inTopPx, int inRightPx, int inBottomPx, void *inRefcon);

XPLM_API XPLMWindowID XPLMCreateWindowEx(XPLMCreateWindow_t *inParams);
XPLM_API void XPLMDestroyWindow(XPLMWindowID inWindowID);
XPLM_API void XPLMGetScreenSize(int *outWidth, int *outHeight);
XPLM_API void XPLMGetScreenBoundsGlobal(int *outLeft, int *outTop, int *outRight, int *outBottom);
XPLM_API void XPLMGetAllMonitorBoundsGlobal(XPLMReceiveMonitorBoundsGlobal_f inMonitorBoundsCallback, void *inRefcon);
XPLM_API void XPLMGetAllMonitorBoundsOS(XPLMReceiveMonitorBoundsOS_f inMonitorBoundsCallback, void *inRefcon);
XPLM_API void XPLMGetMouseLocationGlobal(int *outX, int *outY);
XPLM_API void XPLMGetWindowGeometry(XPLMWindowID inWindowID, int *outLeft, int *outTop, int *outRight, int *outBottom);
XPLM_API void XPLMSetWindowGeometry(XPLMWindowID inWindowID, int inLeft, int inTop, int inRight, int inBottom);
XPLM_API void XPLMGetWindowGeometryOS(XPLMWindowID inWindowID, int *outLeft, int *outTop, int *outRight, int *outBottom);
XPLM_API void XPLMSetWindowGeometryOS(XPLMWindowID inWindowID, int inLeft, int inTop, int inRight, int inBottom);
XPLM_API void XPLMGetWindowGeometryVR(XPLMWindowID inWindowID, int *outWidthBoxels, int *outHeightBoxels);
XPLM_API void XPLMSetWindowGeometryVR(XPLMWindowID inWindowID, int widthBoxels, int heightBoxels);
XPLM_API int XPLMGetWindowIsVisible(XPLMWindowID inWindowID);
XPLM_API void XPLMSetWindowIsVisible(XPLMWindowID inWindowID, int inIsVisible);
XPLM_API int XPLMWindowIsPoppedOut(XPLMWindowID inWindowID);
XPLM_API int XPLMWindowIsInVR(XPLMWindowID inWindowID);
XPLM_API void XPLMSetWindowGravity(XPLMWindowID inWindowID, float inLeftGravity, float inTopGravity, float inRightGravity, float inBottomGravity);
XPLM_API void XPLMSetWindowResizingLimits(XPLMWindowID inWindowID, int inMinWidthBoxels, int inMinHeightBoxels, int inMaxWidthBoxels, int inMaxHeightBoxels);
XPLM_API void XPLMSetWindowPositioningMode(XPLMWindowID inWindowID, XPLMWindowPositioningMode inPositioningMode, int inMonitorIndex);
XPLM_API void XPLMSetWindowTitle(XPLMWindowID inWindowID, const char *inWindowTitle);
XPLM_API void *XPLMGetWindowRefCon(XPLMWindowID inWindowID);
XPLM_API void XPLMSetWindowRefCon(XPLMWindowID inWindowID, void *inRefcon);
XPLM_API void XPLMTakeKeyboardFocus(XPLMWindowID inWindow);
XPLM_API int XPLMHasKeyboardFocus(XPLMWindowID inWindow);
XPLM_API void XPLMBringWindowToFront(XPLMWindowID inWindow);
XPLM_API int XPLMIsWindowInFront(XPLMWindowID inWindow);

#if defined(XPLM400)
/*
 * Built-in cockpit devices (SDK 4.0, X-Plane 12.04 and later; the mouse,
 * cursor and keyboard members and XPLMIsAvionicsBound from SDK 4.1, X-Plane
 * 12.1.0). Drawing callbacks run with the device's screen framebuffer bound
 * and a 2-D projection in its pixels, origin bottom-left. X-Plane 11 has none
 * of these functions: look them up at run time with XPLMFindSymbol.
 */
enum {
    xplm_device_GNS430_1 = 0,
    xplm_device_GNS430_2 = 1,
    xplm_device_GNS530_1 = 2,
    xplm_device_GNS530_2 = 3,
    xplm_device_CDU739_1 = 4,
    xplm_device_CDU739_2 = 5,
    xplm_device_G1000_PFD_1 = 6,
    xplm_device_G1000_MFD = 7,
    xplm_device_G1000_PFD_2 = 8,
    xplm_device_CDU815_1 = 9,
    xplm_device_CDU815_2 = 10,
    xplm_device_Primus_PFD_1 = 11,
    xplm_device_Primus_PFD_2 = 12,
    xplm_device_Primus_MFD_1 = 13,
    xplm_device_Primus_MFD_2 = 14,
    xplm_device_Primus_MFD_3 = 15,
    xplm_device_Primus_RMU_1 = 16,
    xplm_device_Primus_RMU_2 = 17,
    xplm_device_MCDU_1 = 18,
    xplm_device_MCDU_2 = 19
};
typedef int XPLMDeviceID;

/* Before X-Plane draws: return 0 to suppress its drawing. After: ignored. */
typedef int (*XPLMAvionicsCallback_f)(XPLMDeviceID inDeviceID, int inIsBefore, void *inRefcon);
typedef int (*XPLMAvionicsMouse_f)(int x, int y, XPLMMouseStatus inMouse, void *inRefcon);
typedef int (*XPLMAvionicsMouseWheel_f)(int x, int y, int wheel, int clicks, void *inRefcon);
typedef XPLMCursorStatus (*XPLMAvionicsCursor_f)(int x, int y, void *inRefcon);
typedef int (*XPLMAvionicsKeyboard_f)(char inKey, XPLMKeyFlags inFlags, char inVirtualKey, void *inRefCon, int losingFocus);

typedef void *XPLMAvionicsID;

/* 104 bytes on 64-bit targets with SDK 4.1 (32 with 4.0, which lacks the
   nine mouse, cursor and keyboard members). */
typedef struct {
    int structSize;
    XPLMDeviceID deviceId;
    XPLMAvionicsCallback_f drawCallbackBefore;
    XPLMAvionicsCallback_f drawCallbackAfter;
#if defined(XPLM410)
    XPLMAvionicsMouse_f bezelClickCallback;
    XPLMAvionicsMouse_f bezelRightClickCallback;
    XPLMAvionicsMouseWheel_f bezelScrollCallback;
    XPLMAvionicsCursor_f bezelCursorCallback;
    XPLMAvionicsMouse_f screenTouchCallback;
    XPLMAvionicsMouse_f screenRightTouchCallback;
    XPLMAvionicsMouseWheel_f screenScrollCallback;
    XPLMAvionicsCursor_f screenCursorCallback;
    XPLMAvionicsKeyboard_f keyboardCallback;
#endif
    void *refcon;
} XPLMCustomizeAvionics_t;

XPLM_API XPLMAvionicsID XPLMRegisterAvionicsCallbacksEx(XPLMCustomizeAvionics_t *inParams);
XPLM_API void XPLMUnregisterAvionicsCallbacks(XPLMAvionicsID inAvionicsId);
XPLM_API XPLMAvionicsID XPLMGetAvionicsHandle(XPLMDeviceID inDeviceID);
#endif /* XPLM400 */

#if defined(XPLM410)
/* 1 when the user's aircraft uses the device. */
XPLM_API int XPLMIsAvionicsBound(XPLMAvionicsID inHandle);
/* The device's instrument-brightness rheostat, 0 to 1: the slot of
   sim/cockpit2/switches/instrument_brightness_ratio[] it is bound to, or the
   device's own value while unbound. */
XPLM_API void XPLMSetAvionicsBrightnessRheo(XPLMAvionicsID inHandle, float brightness);
XPLM_API float XPLMGetAvionicsBrightnessRheo(XPLMAvionicsID inHandle);
/* Its electrical bus's voltage as a ratio of nominal; -1 when not bound. */
XPLM_API float XPLMGetAvionicsBusVoltsRatio(XPLMAvionicsID inHandle);
#endif /* XPLM410 */

#ifdef __cplusplus
}
#endif

#endif
