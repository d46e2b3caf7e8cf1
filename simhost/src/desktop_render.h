/*
 * The desktop as the window pass draws it: one framebuffer over the bounding
 * box of all monitors, each monitor showing the simulator's world behind the
 * windows, and one framebuffer per popped-out window (its operating-system
 * window), laid over the desktop at its rectangle once drawn.
 */
#ifndef SIMHOST_DESKTOP_RENDER_H
#define SIMHOST_DESKTOP_RENDER_H

#include <map>
#include <vector>

#include "render_target.h"
#include "simhost/host.h"

namespace simhost {

struct Window;

class DesktopRenderer {
public:
    // Sizes the desktop to the monitors and paints the world on each of them.
    void begin_frame(const std::vector<Rect> &monitors, HostGlNames &names);
    // Host state for a window inside the simulator: the desktop bound, the
    // projection in global desktop coordinates.
    void prepare_desktop() const;
    // Host state for a popped-out window: its own framebuffer, of its size,
    // the projection mapping its global rectangle.
    void prepare_popout(const Window *window, HostGlNames &names);
    // Lays this frame's popped-out windows over the desktop, in the order
    // they were drawn, and lets go of those not drawn this frame.
    void finish_frame(HostGlNames &names);
    void release(HostGlNames &names);

    const Rect &bounds() const { return bounds_; }
    const RenderTarget &desktop() const { return desktop_; }
    // The framebuffer of a popped-out window drawn in the last frame, or nullptr.
    const RenderTarget *popout(const Window *window) const;

private:
    struct Popout {
        RenderTarget target;
        Rect rect;
        bool drawn = false;
    };
    RenderTarget desktop_;
    Rect bounds_;
    std::map<const Window *, Popout> popouts_;
    std::vector<const Window *> drawn_order_;
};

}  // namespace simhost

#endif
