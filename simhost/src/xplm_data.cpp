/*
 * XPLMDataAccess: the simulator's datarefs the plug-in reads: integers, the
 * native window handle as an array of two ints, the pass's viewport as an
 * array of four, all read-only, and the instrument-brightness rheostats, a
 * writable array of floats. A simulator may lack some (MissingDatarefs).
 */
#include <XPLMDataAccess.h>

#include <cstring>

#include "sim.h"

using simhost::Sim;

namespace {

enum class DataRefId { panel_render_type, vr_enabled, system_window_64, current_gl_fbo, viewport, instrument_brightness };

struct DataRefEntry {
    const char *name;
    DataRefId id;
};

const DataRefEntry datarefs[] = {
    {"sim/graphics/view/panel_render_type", DataRefId::panel_render_type},
    {"sim/graphics/VR/enabled", DataRefId::vr_enabled},
    {"sim/operation/windows/system_window_64", DataRefId::system_window_64},
    {"sim/graphics/view/current_gl_fbo", DataRefId::current_gl_fbo},
    {"sim/graphics/view/viewport", DataRefId::viewport},
    {"sim/cockpit2/switches/instrument_brightness_ratio", DataRefId::instrument_brightness},
};

bool missing(const Sim &sim, DataRefId id)
{
    return (id == DataRefId::current_gl_fbo && sim.options.missing.current_gl_fbo) ||
           (id == DataRefId::viewport && sim.options.missing.viewport);
}

bool is_array(DataRefId id) { return id == DataRefId::system_window_64 || id == DataRefId::viewport; }

template <typename T>
int copy_out(const T *values, int count, T *out, int offset, int max)
{
    if (out == nullptr)
        return count;
    int copied = 0;
    for (int i = offset < 0 ? 0 : offset; i < count && copied < max; i++)
        out[copied++] = values[i];
    return copied;
}

const DataRefEntry *entry(XPLMDataRef ref)
{
    for (const DataRefEntry &e : datarefs) {
        if (&e == ref)
            return &e;
    }
    return nullptr;
}

int read(XPLMDataRef ref)
{
    Sim *sim = Sim::current();
    const DataRefEntry *e = entry(ref);
    if (sim == nullptr || e == nullptr)
        return 0;
    switch (e->id) {
    case DataRefId::panel_render_type:
        return sim->panel_render_type;
    case DataRefId::current_gl_fbo:
        return simhost::pass_view().framebuffer;
    case DataRefId::vr_enabled:
    case DataRefId::system_window_64:
    case DataRefId::viewport:
    case DataRefId::instrument_brightness:
        return 0;
    }
    return 0;
}

}  // namespace

XPLM_API XPLMDataRef XPLMFindDataRef(const char *inDataRefName)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inDataRefName == nullptr)
        return nullptr;
    for (const DataRefEntry &e : datarefs) {
        if (strcmp(e.name, inDataRefName) == 0 && !missing(*sim, e.id))
            return const_cast<DataRefEntry *>(&e);
    }
    return nullptr;
}

XPLM_API int XPLMCanWriteDataRef(XPLMDataRef inDataRef)
{
    const DataRefEntry *e = entry(inDataRef);
    return e != nullptr && e->id == DataRefId::instrument_brightness ? 1 : 0;
}

XPLM_API XPLMDataTypeID XPLMGetDataRefTypes(XPLMDataRef inDataRef)
{
    const DataRefEntry *e = entry(inDataRef);
    if (e == nullptr)
        return xplmType_Unknown;
    if (e->id == DataRefId::instrument_brightness)
        return xplmType_FloatArray;
    return is_array(e->id) ? xplmType_IntArray : xplmType_Int;
}

XPLM_API int XPLMGetDatai(XPLMDataRef inDataRef) { return read(inDataRef); }

XPLM_API void XPLMSetDatai(XPLMDataRef, int) {}

XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef) { return static_cast<float>(read(inDataRef)); }

XPLM_API double XPLMGetDatad(XPLMDataRef inDataRef) { return read(inDataRef); }

// The main window's native handle, low 32 bits first (0 without a desktop);
// the pass's viewport: left, bottom, right, top in its framebuffer's pixels.
XPLM_API int XPLMGetDatavi(XPLMDataRef inDataRef, int *outValues, int inOffset, int inMax)
{
    Sim *sim = Sim::current();
    const DataRefEntry *e = entry(inDataRef);
    if (sim == nullptr || e == nullptr)
        return 0;
    if (e->id == DataRefId::viewport)
        return copy_out(simhost::pass_view().viewport, 4, outValues, inOffset, inMax);
    if (e->id != DataRefId::system_window_64)
        return 0;
    const uint64_t handle = sim->window_handle_withheld ? 0 : sim->native.main_handle();
    const int halves[2] = {static_cast<int>(static_cast<uint32_t>(handle)), static_cast<int>(static_cast<uint32_t>(handle >> 32))};
    return copy_out(halves, 2, outValues, inOffset, inMax);
}

XPLM_API int XPLMGetDatavf(XPLMDataRef inDataRef, float *outValues, int inOffset, int inMax)
{
    Sim *sim = Sim::current();
    const DataRefEntry *e = entry(inDataRef);
    if (sim == nullptr || e == nullptr || e->id != DataRefId::instrument_brightness)
        return 0;
    return copy_out<float>(sim->avionics.rheostat_slots_data(), simhost::Avionics::rheostat_slots, outValues, inOffset,
                           inMax);
}

XPLM_API void XPLMSetDatavf(XPLMDataRef inDataRef, float *inValues, int inOffset, int inCount)
{
    Sim *sim = Sim::current();
    const DataRefEntry *e = entry(inDataRef);
    if (sim == nullptr || e == nullptr || e->id != DataRefId::instrument_brightness || inValues == nullptr)
        return;
    float *slots = sim->avionics.rheostat_slots_data();
    for (int i = 0; i < inCount && inOffset + i < simhost::Avionics::rheostat_slots; i++) {
        if (inOffset + i >= 0)
            slots[inOffset + i] = inValues[i] < 0 ? 0 : (inValues[i] > 1 ? 1 : inValues[i]);
    }
}
