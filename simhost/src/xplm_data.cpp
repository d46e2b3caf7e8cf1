/*
 * XPLMDataAccess: the simulator's integer datarefs the plug-in reads, all
 * read-only here.
 */
#include <XPLMDataAccess.h>

#include <cstring>

#include "sim.h"

using simhost::Sim;

namespace {

enum class DataRefId { panel_render_type, vr_enabled };

struct DataRefEntry {
    const char *name;
    DataRefId id;
};

const DataRefEntry datarefs[] = {
    {"sim/graphics/view/panel_render_type", DataRefId::panel_render_type},
    {"sim/graphics/VR/enabled", DataRefId::vr_enabled},
};

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
    case DataRefId::vr_enabled:
        return 0;
    }
    return 0;
}

}  // namespace

XPLM_API XPLMDataRef XPLMFindDataRef(const char *inDataRefName)
{
    if (Sim::current() == nullptr || inDataRefName == nullptr)
        return nullptr;
    for (const DataRefEntry &e : datarefs) {
        if (strcmp(e.name, inDataRefName) == 0)
            return const_cast<DataRefEntry *>(&e);
    }
    return nullptr;
}

XPLM_API int XPLMCanWriteDataRef(XPLMDataRef) { return 0; }

XPLM_API XPLMDataTypeID XPLMGetDataRefTypes(XPLMDataRef inDataRef)
{
    return entry(inDataRef) ? xplmType_Int : xplmType_Unknown;
}

XPLM_API int XPLMGetDatai(XPLMDataRef inDataRef) { return read(inDataRef); }

XPLM_API void XPLMSetDatai(XPLMDataRef, int) {}

XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef) { return static_cast<float>(read(inDataRef)); }

XPLM_API double XPLMGetDatad(XPLMDataRef inDataRef) { return read(inDataRef); }
