/*
 * Process facts on Windows: absolute paths with backslashes, through the
 * wide calls (every path in the stand-in is UTF-8), the forms the simulator
 * hands them to plug-ins in, and the thread count from a Toolhelp snapshot.
 */
#include "platform.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "simhost/utf8_path.h"

namespace simhost {

std::string native_absolute_path(const std::string &path)
{
    std::wstring wide = fs_path(path).native();
    DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::vector<wchar_t> buf(size);
    DWORD written = GetFullPathNameW(wide.c_str(), size, buf.data(), nullptr);
    if (written == 0 || written >= size)
        return path;
    return utf8_path(std::filesystem::path(std::wstring(buf.data(), written)));
}

std::string xplane_native_path(const std::string &path)
{
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    return slashed;
}

std::string xplane_legacy_path(const std::string &path)
{
    std::wstring wide = fs_path(path).native();
    if (wide.empty())
        return std::string();
    int len = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string legacy(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), len, &legacy[0], n, nullptr, nullptr);
    return legacy;
}

int process_thread_count()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    DWORD self = GetCurrentProcessId();
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == self)
            count++;
    }
    CloseHandle(snapshot);
    return count;
}

}  // namespace simhost
