/*
 * XPLMDisplay: drawing callbacks, modern windows, monitors and the mouse.
 * Modern windows and the mouse are in global boxels, monitors and popped-out
 * windows also in OS pixels (see desktop.h).
 */
#include <XPLMDisplay.h>

#include "sim.h"

using simhost::Rect;
using simhost::Sim;
using simhost::Window;

namespace {

// The SDK 3 record, and the SDK 2 one without decoration, layer and right click.
constexpr int record_size_modern = 88;
constexpr int record_size_old = 72;

Window *find_window(Sim **sim_out, XPLMWindowID id)
{
    Sim *sim = Sim::current();
    *sim_out = sim;
    return sim ? sim->windows.find(id) : nullptr;
}

void out_rect(const Rect &r, int *left, int *top, int *right, int *bottom)
{
    if (left)
        *left = r.left;
    if (top)
        *top = r.top;
    if (right)
        *right = r.right;
    if (bottom)
        *bottom = r.bottom;
}

}  // namespace

XPLM_API int XPLMRegisterDrawCallback(XPLMDrawCallback_f inCallback, XPLMDrawingPhase inPhase, int inWantsBefore, void *inRefcon)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inCallback == nullptr || !simhost::DrawCallbacks::known_phase(inPhase))
        return 0;
    sim->draw_callbacks.add(inCallback, inPhase, inWantsBefore != 0, inRefcon);
    return 1;
}

XPLM_API int XPLMUnregisterDrawCallback(XPLMDrawCallback_f inCallback, XPLMDrawingPhase inPhase, int inWantsBefore, void *inRefcon)
{
    Sim *sim = Sim::current();
    return sim && sim->draw_callbacks.remove(inCallback, inPhase, inWantsBefore != 0, inRefcon) ? 1 : 0;
}

XPLM_API XPLMWindowID XPLMCreateWindowEx(XPLMCreateWindow_t *inParams)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inParams == nullptr)
        return nullptr;
    if (inParams->structSize != record_size_modern && inParams->structSize != record_size_old) {
        sim->host_log("XPLMCreateWindowEx: structSize " + std::to_string(inParams->structSize) +
                      " is not a known window record size (88 or 72); no window");
        return nullptr;
    }
    if (sim->failing_window_creations > 0) {
        sim->failing_window_creations--;
        sim->host_log("XPLMCreateWindowEx: window creation failed (injected fault)");
        return nullptr;
    }
    return sim->windows.create(*inParams, inParams->structSize);
}

XPLM_API void XPLMDestroyWindow(XPLMWindowID inWindowID)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindowID))
        sim->windows.destroy(window);
}

// The header speaks of the main window's pixels; X-Plane scales this legacy
// size with the user interface like everything else, and plug-ins centre
// modern windows with it, so here it is the main monitor's size in boxels.
XPLM_API void XPLMGetScreenSize(int *outWidth, int *outHeight)
{
    Sim *sim = Sim::current();
    Rect main = sim ? sim->layout.global(0) : Rect{};
    if (outWidth)
        *outWidth = main.width();
    if (outHeight)
        *outHeight = main.height();
}

XPLM_API void XPLMGetScreenBoundsGlobal(int *outLeft, int *outTop, int *outRight, int *outBottom)
{
    Sim *sim = Sim::current();
    out_rect(sim ? sim->layout.global_bounds() : Rect{}, outLeft, outTop, outRight, outBottom);
}

// The callbacks may call back in (though not change the monitors): they are
// called from a copy.
XPLM_API void XPLMGetAllMonitorBoundsGlobal(XPLMReceiveMonitorBoundsGlobal_f inMonitorBoundsCallback, void *inRefcon)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inMonitorBoundsCallback == nullptr)
        return;
    const simhost::Desktop layout = sim->layout;
    for (int i = 0; i < layout.count(); i++) {
        if (!layout.covered(i))
            continue;
        const Rect m = layout.global(i);
        simhost::PluginCall call(simhost::CallbackKind::monitor);
        inMonitorBoundsCallback(i, m.left, m.top, m.right, m.bottom, inRefcon);
    }
}

XPLM_API void XPLMGetAllMonitorBoundsOS(XPLMReceiveMonitorBoundsOS_f inMonitorBoundsCallback, void *inRefcon)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inMonitorBoundsCallback == nullptr)
        return;
    const std::vector<Rect> monitors = sim->layout.os_rects();
    for (size_t i = 0; i < monitors.size(); i++) {
        const Rect &m = monitors[i];
        simhost::PluginCall call(simhost::CallbackKind::monitor);
        inMonitorBoundsCallback(static_cast<int>(i), m.left, m.top, m.right, m.bottom, inRefcon);
    }
}

XPLM_API void XPLMGetMouseLocationGlobal(int *outX, int *outY)
{
    Sim *sim = Sim::current();
    if (outX)
        *outX = sim ? sim->pointer_x : 0;
    if (outY)
        *outY = sim ? sim->pointer_y : 0;
}

// Global boxels for every window. A popped-out window's rectangle is its
// operating-system window converted to boxels, so that the pointer, which is
// in boxels, finds it, and its draw callback, given a projection of this
// rectangle, fills its own pixels.
XPLM_API void XPLMGetWindowGeometry(XPLMWindowID inWindowID, int *outLeft, int *outTop, int *outRight, int *outBottom)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    out_rect(window ? window->rect : Rect{}, outLeft, outTop, outRight, outBottom);
}

XPLM_API void XPLMSetWindowGeometry(XPLMWindowID inWindowID, int inLeft, int inTop, int inRight, int inBottom)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    if (window == nullptr)
        return;
    // The SDK says nothing of what this does to a window full screen on a
    // monitor: the stand-in ignores it, and says so.
    if (window->placement == simhost::Placement::fullscreen)
        sim->host_log("XPLMSetWindowGeometry on \"" + window->title + "\", full screen on monitor " +
                      std::to_string(window->monitor) + ": its effect is undefined; ignored");
    // Geometry given after a change of mode is the window's from now on.
    if (window->placement == simhost::Placement::free || window->placement == simhost::Placement::centre)
        window->rect_pending = false;
    sim->windows.set_geometry(window, Rect{inLeft, inTop, inRight, inBottom});
}

// The SDK defines this for popped-out windows only; for others it reports
// where the window shows on the OS desktop (see WindowState::os_rect).
XPLM_API void XPLMGetWindowGeometryOS(XPLMWindowID inWindowID, int *outLeft, int *outTop, int *outRight, int *outBottom)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    out_rect(window ? simhost::window_os_rect(*window, sim->layout) : Rect{}, outLeft, outTop, outRight, outBottom);
}

XPLM_API void XPLMSetWindowGeometryOS(XPLMWindowID inWindowID, int inLeft, int inTop, int inRight, int inBottom)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindowID)) {
        if (window->popped_out())
            window->rect_pending = false;
        sim->windows.set_geometry_os(window, Rect{inLeft, inTop, inRight, inBottom}, sim->layout);
    }
}

XPLM_API void XPLMGetWindowGeometryVR(XPLMWindowID inWindowID, int *outWidthBoxels, int *outHeightBoxels)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    if (outWidthBoxels)
        *outWidthBoxels = window ? window->rect.width() : 0;
    if (outHeightBoxels)
        *outHeightBoxels = window ? window->rect.height() : 0;
}

XPLM_API void XPLMSetWindowGeometryVR(XPLMWindowID inWindowID, int widthBoxels, int heightBoxels)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    if (window != nullptr && window->placement == simhost::Placement::vr) {
        window->rect.right = window->rect.left + widthBoxels;
        window->rect.bottom = window->rect.top - heightBoxels;
    }
}

XPLM_API int XPLMGetWindowIsVisible(XPLMWindowID inWindowID)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    return window && window->visible ? 1 : 0;
}

XPLM_API void XPLMSetWindowIsVisible(XPLMWindowID inWindowID, int inIsVisible)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindowID))
        window->visible = inIsVisible != 0;
}

XPLM_API int XPLMWindowIsPoppedOut(XPLMWindowID inWindowID)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    return window && window->popped_out() ? 1 : 0;
}

XPLM_API int XPLMWindowIsInVR(XPLMWindowID inWindowID)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    return window && window->placement == simhost::Placement::vr ? 1 : 0;
}

XPLM_API void XPLMSetWindowGravity(XPLMWindowID inWindowID, float inLeftGravity, float inTopGravity, float inRightGravity, float inBottomGravity)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindowID)) {
        window->gravity[0] = inLeftGravity;
        window->gravity[1] = inTopGravity;
        window->gravity[2] = inRightGravity;
        window->gravity[3] = inBottomGravity;
    }
}

XPLM_API void XPLMSetWindowResizingLimits(XPLMWindowID inWindowID, int inMinWidthBoxels, int inMinHeightBoxels, int inMaxWidthBoxels, int inMaxHeightBoxels)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindowID)) {
        window->min_w = inMinWidthBoxels;
        window->min_h = inMinHeightBoxels;
        window->max_w = inMaxWidthBoxels;
        window->max_h = inMaxHeightBoxels;
    }
}

XPLM_API void XPLMSetWindowPositioningMode(XPLMWindowID inWindowID, XPLMWindowPositioningMode inPositioningMode, int inMonitorIndex)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindowID)) {
        const Rect before = window->rect;
        sim->windows.set_positioning(window, inPositioningMode, inMonitorIndex, sim->layout);
        sim->defer_geometry(window, before);
    }
}

XPLM_API void XPLMSetWindowTitle(XPLMWindowID inWindowID, const char *inWindowTitle)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindowID))
        window->title = inWindowTitle ? inWindowTitle : "";
}

XPLM_API void *XPLMGetWindowRefCon(XPLMWindowID inWindowID)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindowID);
    return window ? window->refcon : nullptr;
}

XPLM_API void XPLMSetWindowRefCon(XPLMWindowID inWindowID, void *inRefcon)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindowID))
        window->refcon = inRefcon;
}

XPLM_API void XPLMTakeKeyboardFocus(XPLMWindowID inWindow)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindow);
    // A window that does not exist (0 included) gives the focus back to the simulator.
    if (sim != nullptr)
        sim->windows.set_focus(window);
}

XPLM_API int XPLMHasKeyboardFocus(XPLMWindowID inWindow)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindow);
    if (sim == nullptr)
        return 0;
    return (inWindow == nullptr && sim->windows.focus() == nullptr) || (window && sim->windows.focus() == window) ? 1 : 0;
}

XPLM_API void XPLMBringWindowToFront(XPLMWindowID inWindow)
{
    Sim *sim;
    if (Window *window = find_window(&sim, inWindow))
        sim->windows.raise(window);
}

XPLM_API int XPLMIsWindowInFront(XPLMWindowID inWindow)
{
    Sim *sim;
    Window *window = find_window(&sim, inWindow);
    return window && sim->windows.in_front(window) ? 1 : 0;
}
