/*
 * The scope of a call into a plug-in, the injected throw and the check that
 * no exception leaves a callback (see plugin_call.h).
 */
#include "plugin_call.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

namespace simhost {

namespace {

const PluginCall *innermost = nullptr;
CallbackKind innermost_kind = CallbackKind::flight_loop;
bool armed = false;
CallbackKind armed_kind = CallbackKind::flight_loop;

// A plug-in that carries its own C++ runtime catches the injected exception
// in that runtime: the host's runtime never sees the catch and goes on
// counting the exception as uncaught. These are the ones it miscounts.
int caught_elsewhere = 0;

int uncaught_here() { return std::uncaught_exceptions() - caught_elsewhere; }

class InjectedThrow : public std::runtime_error {
public:
    InjectedThrow(const std::string &what, int uncaught_before)
        : std::runtime_error(what), uncaught_before_(uncaught_before)
    {
    }
    InjectedThrow(const InjectedThrow &other) : std::runtime_error(other), uncaught_before_(-1) {}

    // The thrown object is destroyed when its handler ends. Had the host's
    // runtime run that handler, it would count one uncaught exception less.
    ~InjectedThrow() override
    {
        if (uncaught_before_ >= 0 && std::uncaught_exceptions() > uncaught_before_)
            caught_elsewhere++;
    }

private:
    int uncaught_before_;   // -1 for copies: only the thrown object counts
};

}  // namespace

PluginCall::PluginCall(CallbackKind kind)
    : kind_(kind), outer_(innermost), uncaught_(uncaught_here()), cost_(kind)
{
    innermost = this;
    innermost_kind = kind;
}

PluginCall::~PluginCall()
{
    // An exception unwinding out of a plug-in into the simulator's C code
    // ends the simulator; the stand-in ends as plainly.
    if (uncaught_here() > uncaught_) {
        fprintf(stderr, "simhost: an exception left the plug-in's %s callback: the simulator ends here\n",
                callback_kind_name(kind_));
        fflush(stderr);
        std::abort();
    }
    innermost = outer_;
    if (outer_ != nullptr)
        innermost_kind = outer_->kind_;
}

const char *callback_kind_name(CallbackKind kind)
{
    switch (kind) {
    case CallbackKind::flight_loop: return "flight-loop";
    case CallbackKind::draw: return "draw";
    case CallbackKind::window_draw: return "window-draw";
    case CallbackKind::cursor: return "cursor";
    case CallbackKind::click: return "click";
    case CallbackKind::right_click: return "right-click";
    case CallbackKind::command: return "command";
    case CallbackKind::menu: return "menu";
    case CallbackKind::start: return "start";
    case CallbackKind::enable: return "enable";
    case CallbackKind::disable: return "disable";
    case CallbackKind::stop: return "stop";
    case CallbackKind::message: return "message";
    case CallbackKind::avionics: return "avionics";
    case CallbackKind::key: return "key";
    case CallbackKind::wheel: return "wheel";
    case CallbackKind::monitor: return "monitor-enumeration";
    }
    return "unknown";
}

void arm_callback_throw(CallbackKind kind)
{
    armed = true;
    armed_kind = kind;
}

void disarm_callback_throw() { armed = false; }

void throw_if_armed()
{
    if (!armed || innermost == nullptr || innermost_kind != armed_kind)
        return;
    armed = false;
    throw InjectedThrow(std::string("thrown by the stand-in in the ") + callback_kind_name(armed_kind) + " callback",
                        std::uncaught_exceptions());
}

}  // namespace simhost
