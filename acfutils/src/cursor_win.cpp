/*
 * Cursors on Windows: a 32-bit colour bitmap with alpha made from the PNG's
 * pixels, turned into a cursor with CreateIconIndirect, made current with
 * SetCursor and freed with DestroyCursor.
 */
#if defined(_WIN32)

#include "cursor_os.h"

#include <vector>
#include <windows.h>

#include <acfutils/log.h>

namespace {

// Windows keeps a cursor's colours unpremultiplied.
uint32_t straight(uint32_t argb)
{
    uint32_t a = argb >> 24;
    if (a == 0 || a == 255)
        return a == 0 ? 0 : argb;
    auto channel = [a](uint32_t c) { return (c * 255 + a / 2) / a; };
    return a << 24 | channel(argb >> 16 & 0xFF) << 16 | channel(argb >> 8 & 0xFF) << 8 | channel(argb & 0xFF);
}

}  // namespace

void os_cursor_retain() {}
void os_cursor_release() {}

uintptr_t os_cursor_create(const uint32_t *argb, int w, int h, int hot_x, int hot_y, const char *name)
{
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof(header);
    header.bV5Width = w;
    header.bV5Height = -h;   // rows top to bottom, as the pixels come
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;

    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    // An all-zero mask: the colour bitmap with its alpha decides every pixel.
    std::vector<uint8_t> zeros(static_cast<size_t>((w + 15) / 16 * 2) * static_cast<size_t>(h), 0);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, zeros.data());
    HCURSOR cursor = nullptr;
    if (colour != nullptr && mask != nullptr) {
        uint32_t *out = static_cast<uint32_t *>(bits);
        for (size_t i = 0; i < static_cast<size_t>(w) * static_cast<size_t>(h); i++)
            out[i] = straight(argb[i]);
        ICONINFO info = {};
        info.fIcon = FALSE;
        info.xHotspot = static_cast<DWORD>(hot_x);
        info.yHotspot = static_cast<DWORD>(hot_y);
        info.hbmMask = mask;
        info.hbmColor = colour;
        cursor = reinterpret_cast<HCURSOR>(CreateIconIndirect(&info));
    }
    if (colour != nullptr)
        DeleteObject(colour);
    if (mask != nullptr)
        DeleteObject(mask);
    if (cursor == nullptr)
        logMsg("Cannot make cursor %s: the desktop refused it (error %lu)", name, GetLastError());
    return reinterpret_cast<uintptr_t>(cursor);
}

bool os_cursor_show(uintptr_t handle, const void *, int)
{
    SetCursor(reinterpret_cast<HCURSOR>(handle));
    return true;
}

// Windows gives the window under the pointer its own cursor again as the
// pointer moves (WM_SETCURSOR): nothing is left to give back.
void os_cursor_give_back() {}
void os_cursor_give_back_unasked() {}

void os_cursor_destroy(uintptr_t handle)
{
    DestroyCursor(reinterpret_cast<HCURSOR>(handle));
}

#endif
