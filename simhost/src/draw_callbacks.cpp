/*
 * Drawing callbacks (see draw_callbacks.h).
 */
#include "draw_callbacks.h"

#include <algorithm>

#include "callback_probe.h"
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
    callbacks_.push_back(std::move(entry));
}

bool DrawCallbacks::remove(XPLMDrawCallback_f callback, XPLMDrawingPhase phase, bool before, void *refcon)
{
    for (auto &entry : callbacks_) {
        if (!entry->removed && entry->callback == callback && entry->phase == phase && entry->before == before &&
            entry->refcon == refcon) {
            entry->removed = true;
            purge();
            return true;
        }
    }
    return false;
}

bool DrawCallbacks::run(XPLMDrawingPhase phase, bool before, const std::function<void()> &after_each)
{
    bool host_draws = true;
    running_++;
    size_t count = callbacks_.size();
    for (size_t i = 0; i < count; i++) {
        DrawCallback *entry = callbacks_[i].get();
        if (entry->removed || entry->phase != phase || entry->before != before || entry->callback == nullptr)
            continue;
        int result;
        {
            ProbeScope probe(CallbackKind::draw);
            PluginCall call(CallbackKind::draw);
            result = entry->callback(phase, before ? 1 : 0, entry->refcon);
        }
        if (before && result == 0)
            host_draws = false;
        after_each();
    }
    running_--;
    purge();
    return host_draws;
}

int DrawCallbacks::count() const
{
    return static_cast<int>(std::count_if(callbacks_.begin(), callbacks_.end(), [](const auto &c) { return !c->removed; }));
}

void DrawCallbacks::clear()
{
    for (auto &entry : callbacks_)
        entry->removed = true;
    purge();
}

void DrawCallbacks::purge()
{
    if (running_ > 0)
        return;
    callbacks_.erase(std::remove_if(callbacks_.begin(), callbacks_.end(), [](const auto &c) { return c->removed; }),
                     callbacks_.end());
}

}  // namespace simhost
