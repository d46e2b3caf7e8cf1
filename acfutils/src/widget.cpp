/*
 * Window helpers: moving windows into VR.
 */
#include <acfutils/widget.h>

#include <XPLMDataAccess.h>

void window_follow_VR(XPLMWindowID win)
{
    // Looked up once: the simulator's datarefs live as long as it runs.
    static const XPLMDataRef vr_enabled = XPLMFindDataRef("sim/graphics/VR/enabled");
    if (vr_enabled != nullptr && XPLMGetDatai(vr_enabled) != 0 && !XPLMWindowIsInVR(win))
        XPLMSetWindowPositioningMode(win, xplm_WindowVR, -1);
}
