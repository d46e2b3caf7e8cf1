#ifndef _XPLMMenus_h_
#define _XPLMMenus_h_
/*
 * Menus: the plug-ins menu, sub-menus and items, plain or bound to a command.
 */

#include "XPLMDefs.h"
#include "XPLMUtilities.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    xplm_Menu_NoCheck = 0,
    xplm_Menu_Unchecked = 1,
    xplm_Menu_Checked = 2
};
typedef int XPLMMenuCheck;

typedef void *XPLMMenuID;

typedef void (*XPLMMenuHandler_f)(void *inMenuRef, void *inItemRef);

XPLM_API XPLMMenuID XPLMFindPluginsMenu(void);
XPLM_API XPLMMenuID XPLMFindAircraftMenu(void);
XPLM_API XPLMMenuID XPLMCreateMenu(const char *inName, XPLMMenuID inParentMenu, int inParentItem, XPLMMenuHandler_f inHandler, void *inMenuRef);
XPLM_API void XPLMDestroyMenu(XPLMMenuID inMenuID);
XPLM_API void XPLMClearAllMenuItems(XPLMMenuID inMenuID);
XPLM_API int XPLMAppendMenuItem(XPLMMenuID inMenu, const char *inItemName, void *inItemRef, int inDeprecatedAndIgnored);
XPLM_API int XPLMAppendMenuItemWithCommand(XPLMMenuID inMenu, const char *inItemName, XPLMCommandRef inCommandToExecute);
XPLM_API void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex);
XPLM_API void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck);
XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled);

#ifdef __cplusplus
}
#endif

#endif
