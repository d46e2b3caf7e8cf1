/*
 * Plug-in libraries on POSIX systems: dlopen with every symbol bound at once
 * (a missing XPLM function fails the load, not a later call) and kept local,
 * as the simulator opens each plug-in.
 */
#include "platform.h"

#include <dlfcn.h>

namespace simhost {
namespace {

template <typename F>
bool find_entry(void *library, const char *name, F *out, std::string *error)
{
    void *symbol = dlsym(library, name);
    if (symbol == nullptr) {
        *error = std::string("the plug-in does not export ") + name;
        return false;
    }
    *out = reinterpret_cast<F>(symbol);
    return true;
}

}  // namespace

void *open_plugin_library(const std::string &path, PluginEntryPoints *entry, std::string *error)
{
    void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char *why = dlerror();
        *error = "cannot open " + path + ": " + (why ? why : "unknown error");
        return nullptr;
    }
    PluginEntryPoints found;
    if (!find_entry(library, "XPluginStart", &found.start, error) ||
        !find_entry(library, "XPluginEnable", &found.enable, error) ||
        !find_entry(library, "XPluginDisable", &found.disable, error) ||
        !find_entry(library, "XPluginStop", &found.stop, error) ||
        !find_entry(library, "XPluginReceiveMessage", &found.receive, error)) {
        dlclose(library);
        return nullptr;
    }
    *entry = found;
    return library;
}

void close_plugin_library(void *library)
{
    if (library != nullptr)
        dlclose(library);
}

}  // namespace simhost
