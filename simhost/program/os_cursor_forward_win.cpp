/*
 * The utility library on Windows looks for the desktop cursor hooks in the
 * program (the simulator's executable), not in XPLM_64.dll where the stand-in
 * implements them: simhost.exe exports hooks of the same names that pass
 * each call on to the library's.
 */
#include <windows.h>

#include <cstdint>

namespace {

typedef void *(*CreateFn)(const uint32_t *argb, int w, int h, const char *name);
typedef void (*HandleFn)(void *os_cursor);

template <typename F>
F library_hook(const char *name)
{
    static HMODULE xplm = GetModuleHandleA("XPLM_64.dll");
    if (xplm == nullptr)
        return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(xplm, name)));
}

}  // namespace

extern "C" __declspec(dllexport) void *lacf_os_cursor_create(const uint32_t *argb, int w, int h, const char *name)
{
    static CreateFn hook = library_hook<CreateFn>("lacf_os_cursor_create");
    return hook ? hook(argb, w, h, name) : nullptr;
}

extern "C" __declspec(dllexport) void lacf_os_cursor_show(void *os_cursor)
{
    static HandleFn hook = library_hook<HandleFn>("lacf_os_cursor_show");
    if (hook)
        hook(os_cursor);
}

extern "C" __declspec(dllexport) void lacf_os_cursor_destroy(void *os_cursor)
{
    static HandleFn hook = library_hook<HandleFn>("lacf_os_cursor_destroy");
    if (hook)
        hook(os_cursor);
}
