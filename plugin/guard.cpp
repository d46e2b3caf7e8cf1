/*
 * The guard's record of which callbacks have failed, kept in a fixed table so
 * that reporting allocates nothing, and its one log line per failing callback.
 */
#include "guard.h"

#include <cstring>

#include <acfutils/log.h>

namespace {

// More than the plug-in has callbacks; a name beyond it is reported every time.
constexpr int max_failed = 32;
const char *failed[max_failed];
int failed_count = 0;

bool seen_before(const char *name)
{
    for (int i = 0; i < failed_count; i++) {
        if (strcmp(failed[i], name) == 0)
            return true;
    }
    if (failed_count < max_failed)
        failed[failed_count++] = name;
    return false;
}

}  // namespace

void guard_report(const char *name, const char *why) noexcept
{
    if (seen_before(name))
        return;
    // The log goes to the simulator, whose call may be what failed: the line
    // is given up rather than let a second exception out.
    try {
        logMsg("%s failed: %s", name, why != nullptr ? why : "unknown error");
    } catch (...) {
    }
}

void guard_forget_failures() noexcept
{
    failed_count = 0;
}
