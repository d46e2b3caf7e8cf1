#ifndef _XPLMUtilities_h_
#define _XPLMUtilities_h_
/*
 * Simulator utilities: the log and commands (create, find, begin, end, once,
 * handlers run before or after the simulator's own processing).
 */

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

XPLM_API void XPLMDebugString(const char *inString);

typedef void *XPLMCommandRef;

enum {
    xplm_CommandBegin = 0,
    xplm_CommandContinue = 1,
    xplm_CommandEnd = 2
};
typedef int XPLMCommandPhase;

typedef int (*XPLMCommandCallback_f)(XPLMCommandRef inCommand, XPLMCommandPhase inPhase, void *inRefcon);

XPLM_API XPLMCommandRef XPLMFindCommand(const char *inName);
XPLM_API void XPLMCommandBegin(XPLMCommandRef inCommand);
XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand);
XPLM_API void XPLMCommandOnce(XPLMCommandRef inCommand);
XPLM_API XPLMCommandRef XPLMCreateCommand(const char *inName, const char *inDescription);
XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore, void *inRefcon);
XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore, void *inRefcon);

enum {
    xplm_Host_Unknown = 0,
    xplm_Host_XPlane = 1
};
typedef int XPLMHostApplicationID;

/* X-Plane's version (11.55: 11550; 12.1.4: 121400) and the XPLM's (411 for SDK 4.1.1). */
XPLM_API void XPLMGetVersions(int *outXPlaneVersion, int *outXPLMVersion, XPLMHostApplicationID *outHostID);

/* The address of an SDK function by name, or NULL when this simulator has none. */
XPLM_API void *XPLMFindSymbol(const char *inString);

#ifdef __cplusplus
}
#endif

#endif
