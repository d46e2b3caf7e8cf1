/*
 * The real desktop on Windows (Wine in the tests): pop-up HWNDs for the
 * covered monitors (the one on monitor 0 is the main window) and the
 * operating-system windows, the pointer moved with SetCursorPos,
 * and the cursor read back with GetCursorInfo and the cursor's bitmaps.
 */
#include "native_desktop.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>
#include <windows.h>

namespace simhost {
namespace {

const wchar_t window_class[] = L"simhost_native_window";

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    // The cursor is set by whoever answers for the pointer, never by the class.
    if (message == WM_SETCURSOR)
        return TRUE;
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

struct NativeWindow {
    HWND hwnd = nullptr;
    Rect os;
};

// Windows keeps a cursor's colours unpremultiplied; the desktop's cursor is
// compared premultiplied, as the images are.
uint32_t premultiplied(uint32_t argb)
{
    uint32_t a = argb >> 24;
    auto channel = [a](uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | channel(argb >> 16 & 0xFF) << 16 | channel(argb >> 8 & 0xFF) << 8 | channel(argb & 0xFF);
}

}  // namespace

struct NativeDesktop::Impl {
    bool registered = false;
    Rect origin;
    NativeWindow main;                          // full screen on monitor 0
    std::vector<NativeWindow> screens;          // [i]: full screen on covered monitor i > 0
    std::map<const Window *, NativeWindow> os_windows;

    HWND create()
    {
        return CreateWindowExW(WS_EX_TOOLWINDOW, window_class, L"simhost", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }

    void place(NativeWindow *window, const Rect &os, HWND after)
    {
        window->os = os;
        SetWindowPos(window->hwnd, after, os.left - origin.left, origin.top - os.top, std::max(1, os.width()),
                     std::max(1, os.height()), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }

    void pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
};

NativeDesktop::NativeDesktop() : impl_(std::make_unique<Impl>())
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = window_class;
    impl_->registered = RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    if (impl_->registered)
        impl_->main.hwnd = impl_->create();
    impl_->pump();
}

NativeDesktop::~NativeDesktop()
{
    for (auto &entry : impl_->os_windows)
        DestroyWindow(entry.second.hwnd);
    for (NativeWindow &screen : impl_->screens) {
        if (screen.hwnd != nullptr)
            DestroyWindow(screen.hwnd);
    }
    if (impl_->main.hwnd != nullptr)
        DestroyWindow(impl_->main.hwnd);
    impl_->pump();
}

bool NativeDesktop::present() const { return impl_->main.hwnd != nullptr; }

uint64_t NativeDesktop::main_handle() const { return reinterpret_cast<uintptr_t>(impl_->main.hwnd); }

void NativeDesktop::follow(const Desktop &layout, const WindowList &windows)
{
    Impl &w = *impl_;
    if (w.main.hwnd == nullptr)
        return;
    w.origin = layout.os_bounds();
    // The simulator's full-screen windows, at the bottom: the main one, and
    // one on every other monitor it covers.
    w.place(&w.main, layout.os(0), HWND_BOTTOM);
    for (size_t i = static_cast<size_t>(layout.count()); i < w.screens.size(); i++) {
        if (w.screens[i].hwnd != nullptr)
            DestroyWindow(w.screens[i].hwnd);
    }
    w.screens.resize(static_cast<size_t>(layout.count()));
    for (int i = 1; i < layout.count(); i++) {
        NativeWindow &screen = w.screens[static_cast<size_t>(i)];
        if (!layout.covered(i)) {
            if (screen.hwnd != nullptr)
                DestroyWindow(screen.hwnd);
            screen = NativeWindow();
            continue;
        }
        if (screen.hwnd == nullptr)
            screen.hwnd = w.create();
        w.place(&screen, layout.os(i), HWND_BOTTOM);
    }

    // Operating-system windows above them, back to front.
    const std::vector<std::pair<const Window *, Rect>> wanted = windows.os_windows_back_to_front(layout);
    std::map<const Window *, NativeWindow> shown;
    for (const auto &[window, os] : wanted) {
        auto found = w.os_windows.find(window);
        NativeWindow native;
        if (found == w.os_windows.end()) {
            native.hwnd = w.create();
        } else {
            native = found->second;
            w.os_windows.erase(found);
        }
        w.place(&native, os, HWND_TOP);
        shown[window] = native;
    }
    for (auto &gone : w.os_windows)
        DestroyWindow(gone.second.hwnd);
    w.os_windows = shown;
    w.pump();
}

void NativeDesktop::warp_pointer(const Desktop &layout, int os_x, int os_y)
{
    if (impl_->main.hwnd == nullptr)
        return;
    Rect bounds = layout.os_bounds();
    SetCursorPos(os_x - bounds.left, bounds.top - os_y);
    impl_->pump();
}

void NativeDesktop::show_simulator_cursor(XPLMCursorStatus status)
{
    if (impl_->main.hwnd == nullptr)
        return;
    SetCursor(status == xplm_CursorHidden ? nullptr : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

bool NativeDesktop::read_cursor(DesktopCursor *out) const
{
    if (impl_->main.hwnd == nullptr)
        return false;
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetCursorInfo(&info) || WindowFromPoint(info.ptScreenPos) == nullptr ||
        GetDesktopWindow() == WindowFromPoint(info.ptScreenPos))
        return false;
    *out = DesktopCursor();
    ICONINFO icon = {};
    if (info.hCursor == nullptr || !GetIconInfo(info.hCursor, &icon))
        return true;   // no cursor shown: an empty image
    BITMAP bitmap = {};
    if (icon.hbmColor != nullptr && GetObjectW(icon.hbmColor, sizeof(bitmap), &bitmap) != 0) {
        BITMAPINFO request = {};
        request.bmiHeader.biSize = sizeof(request.bmiHeader);
        request.bmiHeader.biWidth = bitmap.bmWidth;
        request.bmiHeader.biHeight = -bitmap.bmHeight;
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 32;
        request.bmiHeader.biCompression = BI_RGB;
        out->width = bitmap.bmWidth;
        out->height = bitmap.bmHeight;
        out->hot_x = static_cast<int>(icon.xHotspot);
        out->hot_y = static_cast<int>(icon.yHotspot);
        out->argb.resize(static_cast<size_t>(out->width) * static_cast<size_t>(out->height));
        HDC screen = GetDC(nullptr);
        if (GetDIBits(screen, icon.hbmColor, 0, static_cast<UINT>(out->height), out->argb.data(), &request,
                      DIB_RGB_COLORS) == 0)
            *out = DesktopCursor();
        ReleaseDC(nullptr, screen);
        for (uint32_t &pixel : out->argb)
            pixel = premultiplied(pixel);
    }
    if (icon.hbmColor != nullptr)
        DeleteObject(icon.hbmColor);
    if (icon.hbmMask != nullptr)
        DeleteObject(icon.hbmMask);
    return true;
}

int NativeDesktop::foreign_cursors() const { return 0; }

}  // namespace simhost
