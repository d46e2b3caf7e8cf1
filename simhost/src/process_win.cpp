/*
 * Process facts on Windows: absolute paths with backslashes, as the
 * simulator reports them, and the thread count from a Toolhelp snapshot.
 */
#include "platform.h"

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

namespace simhost {

std::string native_absolute_path(const std::string &path)
{
    DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::vector<char> buf(size);
    DWORD written = GetFullPathNameA(path.c_str(), size, buf.data(), nullptr);
    if (written == 0 || written >= size)
        return path;
    return std::string(buf.data(), written);
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
