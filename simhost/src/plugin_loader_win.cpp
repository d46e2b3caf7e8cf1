/*
 * Plug-in libraries on Windows: LoadLibraryEx with the plug-in's own folder
 * searched first for the DLLs it imports, as a simulator loading plug-ins from
 * their folders would, and the five entry points found by name.
 */
#include "platform.h"

#include <windows.h>

#include "simhost/utf8_path.h"

namespace simhost {
namespace {

std::string last_error_text()
{
    DWORD code = GetLastError();
    char *text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char *>(&text), 0, nullptr);
    std::string message = text ? text : "";
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return "error " + std::to_string(code) + (message.empty() ? "" : " (" + message + ")");
}

template <typename F>
bool find_entry(HMODULE library, const char *name, F *out, std::string *error)
{
    FARPROC symbol = GetProcAddress(library, name);
    if (symbol == nullptr) {
        *error = std::string("the plug-in does not export ") + name;
        return false;
    }
    // Through void (*)(): FARPROC's own type says nothing of the real one.
    *out = reinterpret_cast<F>(reinterpret_cast<void (*)()>(symbol));
    return true;
}

}  // namespace

void *open_plugin_library(const std::string &path, PluginEntryPoints *entry, std::string *error)
{
    std::string native = native_absolute_path(path);
    HMODULE library = LoadLibraryExW(fs_path(native).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (library == nullptr) {
        *error = "cannot open " + path + ": " + last_error_text();
        return nullptr;
    }
    PluginEntryPoints found;
    if (!find_entry(library, "XPluginStart", &found.start, error) ||
        !find_entry(library, "XPluginEnable", &found.enable, error) ||
        !find_entry(library, "XPluginDisable", &found.disable, error) ||
        !find_entry(library, "XPluginStop", &found.stop, error) ||
        !find_entry(library, "XPluginReceiveMessage", &found.receive, error)) {
        FreeLibrary(library);
        return nullptr;
    }
    *entry = found;
    return library;
}

void close_plugin_library(void *library)
{
    if (library != nullptr)
        FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace simhost
