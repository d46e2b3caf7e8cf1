/*
 * A plug-in built as a real .xpl that reads OpenGL state in its gauges
 * drawing callback: three queries and one glGetError a call, so that the
 * Host's count of a loaded plug-in's GL queries is tested as the simulator
 * loads it.
 */
#include <cstring>

#include <GL/gl.h>

#include <XPLMDisplay.h>
#include <XPLMPlugin.h>

namespace {

int read_state(XPLMDrawingPhase, int, void *)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLboolean depth_writes;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    static_cast<void>(glIsEnabled(GL_BLEND));
    static_cast<void>(glGetError());
    return 1;
}

}  // namespace

PLUGIN_API int XPluginStart(char *name, char *sig, char *desc)
{
    strcpy(name, "GL query test plug-in");
    strcpy(sig, "simhost.tests.cost_xpl");
    strcpy(desc, "reads GL state while drawing");
    XPLMRegisterDrawCallback(read_state, xplm_Phase_Gauges, 0, nullptr);
    return 1;
}

PLUGIN_API int XPluginEnable(void) { return 1; }

PLUGIN_API void XPluginDisable(void) {}

PLUGIN_API void XPluginStop(void) { XPLMUnregisterDrawCallback(read_state, xplm_Phase_Gauges, 0, nullptr); }

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int, void *) {}
