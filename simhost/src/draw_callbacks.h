/*
 * Drawing callbacks by phase and before/after flag. The same callback and
 * refcon may be registered more than once; each registration is called and
 * each unregistration removes one.
 */
#ifndef SIMHOST_DRAW_CALLBACKS_H
#define SIMHOST_DRAW_CALLBACKS_H

#include <functional>

#include <XPLMDisplay.h>

#include "registrations.h"

namespace simhost {

struct DrawCallback {
    XPLMDrawCallback_f callback = nullptr;
    XPLMDrawingPhase phase = 0;
    bool before = false;
    void *refcon = nullptr;
    bool removed = false;
};

class DrawCallbacks {
public:
    static bool known_phase(XPLMDrawingPhase phase);
    void add(XPLMDrawCallback_f callback, XPLMDrawingPhase phase, bool before, void *refcon);
    bool remove(XPLMDrawCallback_f callback, XPLMDrawingPhase phase, bool before, void *refcon);

    // Calls every registration of the phase and flag in order, running
    // after_each after each call (the host puts its GL state back there).
    // False when a before-callback asked to suppress the host's drawing.
    bool run(XPLMDrawingPhase phase, bool before, const std::function<void()> &after_each);
    int count() const { return callbacks_.count(); }
    void clear() { callbacks_.clear(); }

private:
    Registrations<DrawCallback> callbacks_;
};

}  // namespace simhost

#endif
