/*
 * The plug-in callback the host is running: a scope around every call into a
 * plug-in. It counts what the call costs (costs.h), carries the injected
 * throw (the next XPLM call made inside a chosen kind of callback throws) and
 * ends the process, as the simulator would end, when an exception comes back
 * out of a callback.
 */
#ifndef SIMHOST_PLUGIN_CALL_H
#define SIMHOST_PLUGIN_CALL_H

#include "costs.h"
#include "simhost/host.h"

namespace simhost {

class PluginCall {
public:
    explicit PluginCall(CallbackKind kind);
    ~PluginCall();
    PluginCall(const PluginCall &) = delete;
    PluginCall &operator=(const PluginCall &) = delete;

private:
    CallbackKind kind_;
    const PluginCall *outer_;
    int uncaught_;
    CostScope cost_;
};

// Arms the throw for the innermost callback of this kind; once.
void arm_callback_throw(CallbackKind kind);
void disarm_callback_throw();

// On the way into an XPLM function: throws std::runtime_error when armed for
// the callback being run, and disarms.
void throw_if_armed();

}  // namespace simhost

#endif
