/*
 * A C++ host, on the system's shared C++ runtime, throws from an XPLM function
 * into vxr_pop.xpl, which carries a C++ runtime of its own: the plug-in's
 * handlers must still catch both a std::exception (and read its message) and
 * anything else, and the plug-in must then enable normally.
 * Usage: xpl_throw_check PLUGIN.xpl
 */
#include "xplm_stubs.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

enum class Throw { nothing, runtime_error, integer };
Throw throw_next = Throw::nothing;

// The plug-in asks for itself by signature first thing in its enable.
void hook(const char *function)
{
    if (std::strcmp(function, "XPLMFindPluginBySignature") != 0)
        return;
    Throw what = throw_next;
    throw_next = Throw::nothing;
    if (what == Throw::runtime_error)
        throw std::runtime_error("thrown by the host");
    if (what == Throw::integer)
        throw 42;
}

int failures = 0;

void expect(bool ok, const char *what)
{
    std::printf("throw-check: %s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok)
        failures++;
}

bool logged(const char *text) { return std::strstr(xplm_stub_log(), text) != nullptr; }

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PLUGIN.xpl\n", argv[0]);
        return 2;
    }
    xplm_stub_set_plugin_path(argv[1]);
    xplm_stub_hook = hook;
    void *lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (lib == nullptr) {
        std::printf("throw-check: FAILED: %s\n", dlerror());
        return 1;
    }
    auto start = reinterpret_cast<int (*)(char *, char *, char *)>(dlsym(lib, "XPluginStart"));
    auto enable = reinterpret_cast<int (*)()>(dlsym(lib, "XPluginEnable"));
    auto disable = reinterpret_cast<void (*)()>(dlsym(lib, "XPluginDisable"));
    auto stop = reinterpret_cast<void (*)()>(dlsym(lib, "XPluginStop"));
    if (!start || !enable || !disable || !stop) {
        std::printf("throw-check: FAILED: an entry point is missing\n");
        return 1;
    }

    char name[256], sig[256], desc[256];
    expect(start(name, sig, desc) == 1, "XPluginStart returns 1");

    xplm_stub_clear_log();
    throw_next = Throw::runtime_error;
    expect(enable() == 0, "XPluginEnable returns 0 when the host throws a std::runtime_error");
    expect(logged("XPluginEnable failed: thrown by the host"), "the plug-in logged the exception's message");

    xplm_stub_clear_log();
    throw_next = Throw::integer;
    expect(enable() == 0, "XPluginEnable returns 0 when the host throws an int");
    expect(logged("XPluginEnable failed: unknown error"), "the plug-in logged an unknown error");

    xplm_stub_clear_log();
    expect(enable() == 1, "XPluginEnable then returns 1");
    expect(logged("XPLMEnable Complete"), "the plug-in logged a complete enable");
    disable();
    stop();
    if (failures != 0)
        std::printf("throw-check: the plug-in's log:\n%s", xplm_stub_log());
    std::printf("throw-check: %d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
