/*
 * The desktop as the window pass draws it, in OS pixels: one framebuffer over
 * the bounding box of all monitors, each covered monitor showing the
 * simulator's world behind the windows and each uncovered one the plain OS
 * desktop, and one framebuffer per operating-system window (a popped-out
 * window, or one full screen on an uncovered monitor), laid over the desktop
 * at its OS rectangle once drawn.
 */
#ifndef SIMHOST_DESKTOP_RENDER_H
#define SIMHOST_DESKTOP_RENDER_H

#include <map>
#include <vector>

#include "desktop.h"
#include "render_target.h"
#include "simhost/host.h"

namespace simhost {

struct Window;

// What a monitor X-Plane does not cover shows where no OS window is.
constexpr uint32_t os_desktop_colour = 0x245A7A;

class DesktopRenderer {
public:
    // Sizes the desktop to the monitors and paints the world on each covered
    // one. The layout must outlive the frame.
    void begin_frame(const Desktop &layout, HostGlNames &names);
    // Host state for a window inside the simulator: the desktop bound, the
    // projection mapping global boxels onto the desktop's OS pixels.
    void prepare_desktop() const;
    // Host state for an operating-system window: its own framebuffer, of the
    // size of os_rect, the projection mapping its boxel rectangle onto it.
    void prepare_os_window(const Window *window, const Rect &os_rect, const Rect &boxels, HostGlNames &names);
    // Paints the uncovered monitors as the OS desktop, then lays this frame's
    // operating-system windows over the desktop in the order they were drawn,
    // and lets go of those not drawn this frame.
    void finish_frame(HostGlNames &names);
    void release(HostGlNames &names);

    const Rect &bounds() const { return bounds_; }   // OS pixels
    const RenderTarget &desktop() const { return desktop_; }
    // The framebuffer of an operating-system window drawn in the last frame, or nullptr.
    const RenderTarget *os_window(const Window *window) const;

private:
    struct OsWindow {
        RenderTarget target;
        Rect os;
        bool drawn = false;
    };
    const Desktop *layout_ = nullptr;
    RenderTarget desktop_;
    Rect bounds_;
    std::map<const Window *, OsWindow> os_windows_;
    std::vector<const Window *> drawn_order_;
};

}  // namespace simhost

#endif
