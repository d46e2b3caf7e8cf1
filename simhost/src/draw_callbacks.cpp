/*
 * Drawing callbacks (see draw_callbacks.h).
 */
#include "draw_callbacks.h"

#include <algorithm>

#include "callback_probe.h"
#include "gl_state.h"
#include "plugin_call.h"

namespace simhost {

bool DrawCallbacks::known_phase(XPLMDrawingPhase phase)
{
    // The legacy 3-D phases (0 to 30, every 5) still register; the local-map
    // phases went away with SDK 3.
    static const int phases[] = {0, 5, 10, 15, 20, 25, 30, 31, 35, 40, 45, 50, 55};
    return std::find(std::begin(phases), std::end(phases), phase) != std::end(phases);
}

void DrawCallbacks::add(XPLMDrawCallback_f callback, XPLMDrawingPhase phase, bool before, void *refcon)
{
    auto entry = std::make_unique<DrawCallback>();
    entry->callback = callback;
    entry->phase = phase;
    entry->before = before;
    entry->refcon = refcon;
    callbacks_.add(std::move(entry));
}

bool DrawCallbacks::remove(XPLMDrawCallback_f callback, XPLMDrawingPhase phase, bool before, void *refcon)
{
    DrawCallback *entry = callbacks_.find([&](const DrawCallback &e) {
        return e.callback == callback && e.phase == phase && e.before == before && e.refcon == refcon;
    });
    if (entry == nullptr)
        return false;
    callbacks_.remove(entry);
    return true;
}

bool DrawCallbacks::run(XPLMDrawingPhase phase, bool before, const std::function<void()> &after_each)
{
    bool host_draws = true;
    callbacks_.walk([&](DrawCallback &entry) {
        if (entry.phase != phase || entry.before != before || entry.callback == nullptr)
            return;
        int result;
        {
            GlCallbackScope gl(CallbackKind::draw, small_box[0], small_box[1], small_box[2], small_box[3]);
            ProbeScope probe(CallbackKind::draw);
            PluginCall call(CallbackKind::draw);
            result = entry.callback(phase, before ? 1 : 0, entry.refcon);
        }
        if (before && result == 0)
            host_draws = false;
        after_each();
    });
    return host_draws;
}

}  // namespace simhost
