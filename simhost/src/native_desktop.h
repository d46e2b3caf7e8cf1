/*
 * The real desktop under the stand-in, when there is one (an X server named
 * by DISPLAY): a native window covering the main monitor, whose handle the
 * simulator publishes, one on every other monitor it covers, one per
 * operating-system window (popped out, or full screen on an uncovered
 * monitor), the real pointer warped to where the mouse is, and the cursor
 * the desktop shows, read back.
 */
#ifndef SIMHOST_NATIVE_DESKTOP_H
#define SIMHOST_NATIVE_DESKTOP_H

#include <cstdint>
#include <memory>

#include <XPLMDisplay.h>

#include "desktop.h"
#include "simhost/host.h"
#include "window_model.h"

namespace simhost {

class NativeDesktop {
public:
    // Opens the desktop; without one every call below does nothing.
    NativeDesktop();
    ~NativeDesktop();
    NativeDesktop(const NativeDesktop &) = delete;
    NativeDesktop &operator=(const NativeDesktop &) = delete;

    bool present() const;
    // The main window's native handle (X11 window id, HWND), 0 without a desktop.
    uint64_t main_handle() const;
    // Native windows follow the monitors and the operating-system windows.
    void follow(const Desktop &layout, const WindowList &windows);
    // The real pointer to a point in OS pixels (y up).
    void warp_pointer(const Desktop &layout, int os_x, int os_y);
    // What the simulator shows where a plug-in sets no cursor of its own.
    void show_simulator_cursor(XPLMCursorStatus status);
    // The cursor the desktop shows now; false without a desktop, or with the
    // pointer on none of its windows (off every monitor).
    bool read_cursor(DesktopCursor *out) const;
    // Cursors the other clients of the desktop (the plug-in) hold; 0 without one.
    int foreign_cursors() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace simhost

#endif
