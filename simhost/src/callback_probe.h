/*
 * The callback probe (see set_callback_probe in host.h): a scope placed
 * around each call into a plug-in's per-frame callbacks. Unset, it costs a
 * test of one pointer on the way in and on the way out.
 */
#ifndef SIMHOST_CALLBACK_PROBE_H
#define SIMHOST_CALLBACK_PROBE_H

#include "simhost/host.h"

namespace simhost {

extern CallbackProbe callback_probe;

class ProbeScope {
public:
    explicit ProbeScope(CallbackKind kind) : kind_(kind)
    {
        if (callback_probe != nullptr)
            callback_probe(kind_, true);
    }
    ~ProbeScope()
    {
        if (callback_probe != nullptr)
            callback_probe(kind_, false);
    }
    ProbeScope(const ProbeScope &) = delete;
    ProbeScope &operator=(const ProbeScope &) = delete;

private:
    CallbackKind kind_;
};

}  // namespace simhost

#endif
