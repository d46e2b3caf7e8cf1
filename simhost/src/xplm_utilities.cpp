/*
 * XPLMUtilities: the log and commands.
 */
#include <XPLMUtilities.h>

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
