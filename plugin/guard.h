/*
 * The guard every function the simulator calls goes through: an exception
 * that unwound into the simulator's C code would end the simulator, so each
 * callback catches everything, logs its first failure and gives its neutral
 * answer (the one that means "nothing done").
 */
#ifndef VXR_GUARD_H
#define VXR_GUARD_H

#include <exception>
#include <type_traits>

// Logs "NAME failed: WHY" the first time the callback NAME fails since the
// last guard_forget_failures(); later failures of it are silent, so that a
// callback failing every frame fills no log. Never throws.
void guard_report(const char *name, const char *why) noexcept;

// Each enable period reports its callbacks' first failures afresh.
void guard_forget_failures() noexcept;

// Runs body() and returns its answer; returns neutral when it throws. NAME is
// the callback's own name, a text that lives as long as the plug-in.
template <typename Body, typename R = std::invoke_result_t<Body &>>
R guarded(const char *name, std::invoke_result_t<Body &> neutral, Body &&body) noexcept
{
    try {
        return body();
    } catch (const std::exception &e) {
        guard_report(name, e.what());
    } catch (...) {
        guard_report(name, "unknown error");
    }
    return neutral;
}

// The same for a callback without an answer; false when it threw.
template <typename Body>
bool guarded(const char *name, Body &&body) noexcept
{
    return guarded(name, false, [&] {
        body();
        return true;
    });
}

#endif
