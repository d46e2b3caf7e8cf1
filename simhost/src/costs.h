/*
 * What hosting the plug-in costs the simulator, as the stand-in counts it:
 * drawing callbacks dispatched, window draws, the GL queries and glGetError
 * calls the plug-in makes inside its callbacks, and the wall time of each
 * non-drawing callback. Fixed-size records: counting allocates nothing.
 */
#ifndef SIMHOST_COSTS_H
#define SIMHOST_COSTS_H

#include <chrono>

#include "simhost/host.h"

namespace simhost {

// Around one call into the plug-in (see PluginCall): counts a drawing
// callback's dispatch, marks the plug-in's code as running so that its GL
// queries count, and times a non-drawing callback.
class CostScope {
public:
    explicit CostScope(CallbackKind kind);
    ~CostScope();
    CostScope(const CostScope &) = delete;
    CostScope &operator=(const CostScope &) = delete;

private:
    CallbackKind kind_;
    std::chrono::steady_clock::time_point start_;
};

// From the exported GL queries: counted only while the plug-in's callback
// runs on this thread.
void count_gl_query();
void count_gl_error_call();

// Whether the plug-in's GL queries reach the stand-in's counting functions.
bool gl_queries_counted();

void end_frame_costs();
void reset_costs();
HostCosts read_costs();

}  // namespace simhost

#endif
