/*
 * XPLMDisplay's avionics functions (SDK 4.x, X-Plane 12): callbacks on the
 * stock G1000's devices, whether the user's aircraft uses one, and its
 * brightness rheostat and bus voltage. As in
 * X-Plane 11, a version-11 simulator has none of them: a plug-in that calls
 * them anyway gets nothing, and the call is logged.
 */
#include <XPLMDisplay.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "sim.h"

using simhost::Sim;

namespace {

// The SDK 4.0 record: the four first members, then refcon.
constexpr int record_size_40 = 32;

Sim *with_sdk4(const char *function)
{
    Sim *sim = Sim::current();
    if (sim == nullptr)
        return nullptr;
    if (sim->xplane_version < 12) {
        sim->host_log(std::string(function) + " called on X-Plane 11, which has no such function");
        return nullptr;
    }
    return sim;
}

}  // namespace

XPLM_API XPLMAvionicsID XPLMRegisterAvionicsCallbacksEx(XPLMCustomizeAvionics_t *inParams)
{
    Sim *sim = with_sdk4("XPLMRegisterAvionicsCallbacksEx");
    if (sim == nullptr || inParams == nullptr)
        return nullptr;
    void *refcon = nullptr;
    if (inParams->structSize == static_cast<int>(sizeof(XPLMCustomizeAvionics_t))) {
        refcon = inParams->refcon;
    } else if (inParams->structSize == record_size_40) {
        refcon = *reinterpret_cast<void **>(reinterpret_cast<char *>(inParams) + offsetof(XPLMCustomizeAvionics_t, bezelClickCallback));
    } else {
        sim->host_log("XPLMRegisterAvionicsCallbacksEx: structSize " + std::to_string(inParams->structSize) +
                      " is not that of any SDK's record");
        return nullptr;
    }
    if (!simhost::Avionics::modelled(inParams->deviceId)) {
        sim->host_log("XPLMRegisterAvionicsCallbacksEx: device " + std::to_string(inParams->deviceId) +
                      " is not a stock device (0 to 19)");
        return nullptr;
    }
    return sim->avionics.add(inParams->deviceId, inParams->drawCallbackBefore, inParams->drawCallbackAfter, refcon);
}

XPLM_API void XPLMUnregisterAvionicsCallbacks(XPLMAvionicsID inAvionicsId)
{
    Sim *sim = with_sdk4("XPLMUnregisterAvionicsCallbacks");
    if (sim != nullptr && !sim->avionics.remove(inAvionicsId, sim->options.avionics.unregister_invalidates))
        sim->host_log("XPLMUnregisterAvionicsCallbacks: not a registered handle");
}

XPLM_API XPLMAvionicsID XPLMGetAvionicsHandle(XPLMDeviceID inDeviceID)
{
    Sim *sim = with_sdk4("XPLMGetAvionicsHandle");
    if (sim == nullptr)
        return nullptr;
    simhost::AvionicsRegistration *handle = sim->avionics.handle(inDeviceID);
    if (handle == nullptr)
        sim->host_log("XPLMGetAvionicsHandle: device " + std::to_string(inDeviceID) +
                      " is not a stock device (0 to 19)");
    return handle;
}

namespace {

// A handle that unregistering invalidated: what X-Plane would do with it is
// undefined, so the run ends.
[[noreturn]] void end_on_invalid_handle(Sim *sim, const simhost::AvionicsRegistration &entry, const char *function)
{
    const std::string line = std::string("the plug-in called ") + function + " with a handle on device " +
                             std::to_string(entry.device) +
                             " that XPLMUnregisterAvionicsCallbacks on that device invalidated";
    sim->host_log(line);
    fprintf(stderr, "simhost: %s: the run ends here\n", line.c_str());
    fflush(stderr);
    std::abort();
}

const simhost::AvionicsRegistration *device_of(Sim *sim, XPLMAvionicsID handle, const char *function)
{
    const simhost::AvionicsRegistration *entry = sim != nullptr ? sim->avionics.find(handle) : nullptr;
    if (sim != nullptr && entry == nullptr)
        sim->host_log(std::string(function) + ": not a device's handle");
    if (entry != nullptr && entry->invalidated)
        end_on_invalid_handle(sim, *entry, function);
    return entry;
}

}  // namespace

XPLM_API int XPLMIsAvionicsBound(XPLMAvionicsID inHandle)
{
    Sim *sim = with_sdk4("XPLMIsAvionicsBound");
    if (sim == nullptr)
        return 0;
    const simhost::AvionicsRegistration *entry = sim->avionics.find(inHandle);
    if (entry != nullptr && entry->invalidated)
        end_on_invalid_handle(sim, *entry, "XPLMIsAvionicsBound");
    return entry != nullptr && sim->avionics.bound(entry->device) ? 1 : 0;
}

XPLM_API void XPLMSetAvionicsBrightnessRheo(XPLMAvionicsID inHandle, float brightness)
{
    Sim *sim = with_sdk4("XPLMSetAvionicsBrightnessRheo");
    if (const simhost::AvionicsRegistration *entry = device_of(sim, inHandle, "XPLMSetAvionicsBrightnessRheo"))
        sim->avionics.set_rheostat(entry->device, brightness);
}

XPLM_API float XPLMGetAvionicsBrightnessRheo(XPLMAvionicsID inHandle)
{
    Sim *sim = with_sdk4("XPLMGetAvionicsBrightnessRheo");
    const simhost::AvionicsRegistration *entry = device_of(sim, inHandle, "XPLMGetAvionicsBrightnessRheo");
    return entry != nullptr ? sim->avionics.rheostat(entry->device) : 0.0f;
}

XPLM_API float XPLMGetAvionicsBusVoltsRatio(XPLMAvionicsID inHandle)
{
    Sim *sim = with_sdk4("XPLMGetAvionicsBusVoltsRatio");
    const simhost::AvionicsRegistration *entry = device_of(sim, inHandle, "XPLMGetAvionicsBusVoltsRatio");
    return entry != nullptr ? sim->avionics.bus_volts_ratio(entry->device) : -1.0f;
}
