/*
 * XPLMUtilities: the log, commands, the versions, and the look-up of SDK
 * functions by name (the 4.x ones only on X-Plane 12).
 */
#include <XPLMDisplay.h>
#include <XPLMUtilities.h>

#include <string>

#include "sim.h"

using simhost::Command;
using simhost::Sim;

namespace {

Command *find_command(Sim *sim, XPLMCommandRef ref) { return sim ? sim->commands.find(ref) : nullptr; }

}  // namespace

XPLM_API void XPLMDebugString(const char *inString)
{
    if (Sim *sim = Sim::current())
        sim->log.write(inString);
}

XPLM_API XPLMCommandRef XPLMFindCommand(const char *inName)
{
    Sim *sim = Sim::current();
    return sim && inName ? sim->commands.find(std::string(inName)) : nullptr;
}

XPLM_API XPLMCommandRef XPLMCreateCommand(const char *inName, const char *inDescription)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inName == nullptr || inName[0] == '\0')
        return nullptr;
    return sim->commands.create(inName, inDescription ? inDescription : "");
}

XPLM_API void XPLMCommandBegin(XPLMCommandRef inCommand)
{
    Sim *sim = Sim::current();
    if (Command *command = find_command(sim, inCommand))
        sim->commands.begin(command);
}

XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand)
{
    Sim *sim = Sim::current();
    if (Command *command = find_command(sim, inCommand))
        sim->commands.end(command);
}

XPLM_API void XPLMCommandOnce(XPLMCommandRef inCommand)
{
    Sim *sim = Sim::current();
    if (Command *command = find_command(sim, inCommand)) {
        sim->commands.begin(command);
        sim->commands.end(command);
    }
}

XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore, void *inRefcon)
{
    Sim *sim = Sim::current();
    Command *command = find_command(sim, inComand);
    if (command != nullptr && inHandler != nullptr)
        sim->commands.add_handler(command, inHandler, inBefore != 0, inRefcon);
}

XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore, void *inRefcon)
{
    Sim *sim = Sim::current();
    if (Command *command = find_command(sim, inComand))
        sim->commands.remove_handler(command, inHandler, inBefore != 0, inRefcon);
}

XPLM_API void XPLMGetVersions(int *outXPlaneVersion, int *outXPLMVersion, XPLMHostApplicationID *outHostID)
{
    Sim *sim = Sim::current();
    const bool twelve = sim == nullptr || sim->xplane_version >= 12;
    // X-Plane 12.1.4 with SDK 4.1.1; X-Plane 11.55 with SDK 3.0.3.
    if (outXPlaneVersion != nullptr)
        *outXPlaneVersion = twelve ? 121400 : 11550;
    if (outXPLMVersion != nullptr)
        *outXPLMVersion = twelve ? 411 : 303;
    if (outHostID != nullptr)
        *outHostID = xplm_Host_XPlane;
}

XPLM_API void *XPLMFindSymbol(const char *inString)
{
    Sim *sim = Sim::current();
    if (sim == nullptr || inString == nullptr)
        return nullptr;
    const std::string name = inString;
    const struct {
        const char *name;
        void *address;
        bool sdk4;
    } symbols[] = {
        {"XPLMGetVersions", reinterpret_cast<void *>(&XPLMGetVersions), false},
        {"XPLMFindSymbol", reinterpret_cast<void *>(&XPLMFindSymbol), false},
        {"XPLMRegisterAvionicsCallbacksEx", reinterpret_cast<void *>(&XPLMRegisterAvionicsCallbacksEx), true},
        {"XPLMUnregisterAvionicsCallbacks", reinterpret_cast<void *>(&XPLMUnregisterAvionicsCallbacks), true},
        {"XPLMIsAvionicsBound", reinterpret_cast<void *>(&XPLMIsAvionicsBound), true},
        {"XPLMGetAvionicsHandle", reinterpret_cast<void *>(&XPLMGetAvionicsHandle), true},
        {"XPLMGetAvionicsBrightnessRheo", reinterpret_cast<void *>(&XPLMGetAvionicsBrightnessRheo), true},
        {"XPLMSetAvionicsBrightnessRheo", reinterpret_cast<void *>(&XPLMSetAvionicsBrightnessRheo), true},
        {"XPLMGetAvionicsBusVoltsRatio", reinterpret_cast<void *>(&XPLMGetAvionicsBusVoltsRatio), true},
    };
    for (const auto &symbol : symbols) {
        if (name == symbol.name)
            return symbol.sdk4 && sim->xplane_version < 12 ? nullptr : symbol.address;
    }
    return nullptr;
}
