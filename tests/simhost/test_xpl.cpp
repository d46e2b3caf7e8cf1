/*
 * A plug-in built as a real .xpl (a shared library with undefined XPLM
 * symbols), so that the Host's loading is tested the way the simulator loads.
 */
#include <cstring>

#include <XPLMPlugin.h>
#include <XPLMUtilities.h>

PLUGIN_API int XPluginStart(char *name, char *sig, char *desc)
{
    strcpy(name, "dlopen test plug-in");
    strcpy(sig, "simhost.tests.xpl");
    strcpy(desc, "loaded from a file");
    XPLMDebugString("test xpl: start\n");
    return 1;
}

PLUGIN_API int XPluginEnable(void)
{
    XPLMDebugString("test xpl: enable\n");
    return 1;
}

PLUGIN_API void XPluginDisable(void) { XPLMDebugString("test xpl: disable\n"); }

PLUGIN_API void XPluginStop(void) { XPLMDebugString("test xpl: stop\n"); }

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int, void *) {}
