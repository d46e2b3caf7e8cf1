/*
 * The stock G1000's screens as capture sources. X-Plane 12.1 and later draws
 * its built-in G1000 into a framebuffer per device and calls plug-ins before
 * and after; the after-draw callback copies the screen like a panel region.
 * The functions are looked up by name, so that the plug-in still loads on
 * X-Plane 11, which lacks them.
 */
#include "stock_avionics.h"

#include "../guard.h"

#include <XPLMProcessing.h>
#include <XPLMUtilities.h>
#include <acfutils/log.h>

#include "capture_clock.h"
#include "no_signal.h"
#include "popupSystem.h"

typedef decltype(&XPLMRegisterAvionicsCallbacksEx) register_avionics_fn;
typedef decltype(&XPLMUnregisterAvionicsCallbacks) unregister_avionics_fn;
typedef decltype(&XPLMIsAvionicsBound) avionics_bound_fn;

static register_avionics_fn register_avionics = nullptr;
static unregister_avionics_fn unregister_avionics = nullptr;
static avionics_bound_fn avionics_bound = nullptr;

// XPLMIsAvionicsBound came with the SDK 4.1 (X-Plane 12.1).
static const int first_xplm_with_bound = 410;

// X-Plane promises nothing of when a device is bound or unbound, relative
// to the plane-loaded message: its answer is asked again this often.
static const float bound_check_seconds = 1.0f;
static bool watching = false;

static float watch_bound_devices(float, float, int, void *);

static const char *display_name(const popup *pup)
{
    return pup->device == xplm_device_G1000_MFD ? "MFD" : "PFD";
}

bool stock_avionics_available()
{
    return register_avionics != nullptr && unregister_avionics != nullptr && avionics_bound != nullptr;
}

static void look_up_functions(int xplm_version)
{
    register_avionics = nullptr;
    unregister_avionics = nullptr;
    avionics_bound = nullptr;
    if (xplm_version < first_xplm_with_bound)
        return;
    register_avionics = reinterpret_cast<register_avionics_fn>(XPLMFindSymbol("XPLMRegisterAvionicsCallbacksEx"));
    unregister_avionics = reinterpret_cast<unregister_avionics_fn>(XPLMFindSymbol("XPLMUnregisterAvionicsCallbacks"));
    avionics_bound = reinterpret_cast<avionics_bound_fn>(XPLMFindSymbol("XPLMIsAvionicsBound"));
    if (!stock_avionics_available()) {
        register_avionics = nullptr;
        unregister_avionics = nullptr;
        avionics_bound = nullptr;
    }
}

void stock_avionics_init()
{
    int xplane_version = 0, xplm_version = 0;
    XPLMHostApplicationID host = 0;
    XPLMGetVersions(&xplane_version, &xplm_version, &host);
    look_up_functions(xplm_version);
    if (!stock_avionics_available()) {
        logMsg("VXR: X-Plane %d (XPLM %d) offers no stock avionics devices (X-Plane 12.1 or later does): "
               "the PFD and MFD show their panel regions", xplane_version, xplm_version);
    } else {
        for (popup *pup : popup_list) {
            XPLMCustomizeAvionics_t params = {};
            params.structSize = sizeof(params);
            params.deviceId = pup->device;
            params.drawCallbackAfter = device_after_draw_cb;
            params.refcon = pup;
            pup->avionics = register_avionics(&params);
            if (pup->avionics == nullptr)
                logMsg("VXR: X-Plane refused a callback on its G1000 %s (device %d): the %s shows its panel region",
                       display_name(pup), pup->device, display_name(pup));
        }
        XPLMRegisterFlightLoopCallback(watch_bound_devices, bound_check_seconds, nullptr);
        watching = true;
    }
    popups_choose_sources();
}

static void popup_use_source(popup *pup, bool device)
{
    capture_region *table = device ? pup->device_regions : pup->panel_regions;
    if (pup->regions == table)
        return;
    // The old source's textures go now; the new one is copied at its first pass.
    for (capture_region *r = pup->regions; r != nullptr && !capture_region_is_end(r); r++) {
        capture_region_release(r);
        r->last_cap_us = 0;
    }
    pup->regions = table;
    pup->shows_device = device;
    popup_expect_pictures(pup);
}

void stock_avionics_fini()
{
    if (watching) {
        XPLMUnregisterFlightLoopCallback(watch_bound_devices, nullptr);
        watching = false;
    }
    for (popup *pup : popup_list) {
        if (pup->avionics != nullptr && unregister_avionics != nullptr)
            unregister_avionics(pup->avionics);
        pup->avionics = nullptr;
        popup_use_source(pup, false);
    }
}

// One popup's choice; logs it with its reason.
static void popup_choose_source(popup *pup)
{
    const char *name = display_name(pup);
    pref_int *pref = pup->prefs != nullptr ? pup->prefs->source : nullptr;
    int32_t wanted = pref != nullptr ? pref->get() : SOURCE_AUTOMATIC;
    if (wanted != SOURCE_AUTOMATIC && wanted != SOURCE_PANEL && wanted != SOURCE_DEVICE) {
        logMsg("VXR: %s = %d is not 0, 1 or 2: the %s's source is chosen automatically", pref->name,
               static_cast<int>(wanted), name);
        wanted = SOURCE_AUTOMATIC;
    }
    if (!stock_avionics_available()) {
        // Said once for both displays when the functions were looked up.
        popup_use_source(pup, false);
        return;
    }
    const double panel_x = pup->panel_regions[0].src_x, panel_y = pup->panel_regions[0].src_y;
    if (pup->avionics == nullptr) {
        popup_use_source(pup, false);
        logMsg("VXR: %s shows the panel region at %.0f, %.0f: X-Plane has no callback of ours on device %d", name,
               panel_x, panel_y, pup->device);
        return;
    }
    const bool bound = avionics_bound(pup->avionics) != 0;
    pup->device_bound = bound;
    if (wanted == SOURCE_PANEL) {
        popup_use_source(pup, false);
        logMsg("VXR: %s shows the panel region at %.0f, %.0f: %s = 1", name, panel_x, panel_y, pref->name);
    } else if (wanted == SOURCE_DEVICE) {
        popup_use_source(pup, true);
        logMsg("VXR: %s shows the stock G1000's screen (device %d): %s = 2%s", name, pup->device, pref->name,
               bound ? "" : "; the aircraft does not use that device, so the window stays dark");
    } else if (bound) {
        popup_use_source(pup, true);
        logMsg("VXR: %s shows the stock G1000's screen (device %d): the aircraft uses it", name, pup->device);
    } else {
        popup_use_source(pup, false);
        logMsg("VXR: %s shows the panel region at %.0f, %.0f: the aircraft does not use the stock G1000", name,
               panel_x, panel_y);
    }
}

void popups_choose_sources()
{
    for (popup *pup : popup_list)
        popup_choose_source(pup);
}

// A device bound or unbound since the last look: that popup chooses again,
// and its one line says what it shows now.
static void check_bound_devices()
{
    for (popup *pup : popup_list) {
        if (pup->avionics != nullptr && (avionics_bound(pup->avionics) != 0) != pup->device_bound)
            popup_choose_source(pup);
    }
}

static float watch_bound_devices(float, float, int, void *)
{
    guarded("watch_bound_devices", [] {
        if (stock_avionics_available())
            check_bound_devices();
    });
    return bound_check_seconds;
}

static void copy_device_screen(void *ref)
{
    popup *pup = static_cast<popup *>(ref);
    if (pup == nullptr || !pup->shows_device)
        return;
    // A hidden window's copy goes here too: the panel pass that also gives
    // it back may not run in a view without the 3-D cockpit.
    if (pup->win == nullptr || XPLMGetWindowIsVisible(pup->win) == 0) {
        for (capture_region *r = pup->regions; !capture_region_is_end(r); r++)
            capture_region_release(r);
        return;
    }
    if (!capture_functions_loaded())
        return;
    // X-Plane has bound the device's framebuffer, its viewport the whole screen.
    uint64_t now = capture_clock_us();
    for (capture_region *r = pup->regions; !capture_region_is_end(r); r++)
        capture_region_grab_viewport(r, now);
    popup_note_pictures(pup);
}

int device_after_draw_cb(XPLMDeviceID, int, void *ref)
{
    // X-Plane ignores an after-draw callback's answer; 1 is "draw as usual".
    guarded("device_after_draw_cb", [&] { copy_device_screen(ref); });
    return 1;
}
