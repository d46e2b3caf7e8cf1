/*
 * The desktop framebuffer, the simulator's world behind the windows, the
 * plain OS desktop, and the operating-system windows' framebuffers (see
 * desktop_render.h).
 */
#include "desktop_render.h"

#include "draw2d.h"
#include "gl_api.h"
#include "window_model.h"

namespace simhost {
namespace {

// Sky over ground with a runway running to the horizon: plainly the
// simulator's view, and nothing like the displays' colours. Sky and ground
// are clears (cheap on a software renderer); the monitor is given in OS
// pixels, the projection's units, and x0 and y0 are its corner in
// framebuffer pixels.
void paint_world(const Rect &m, int x0, int y0)
{
    int w = m.width(), h = m.height();
    int horizon = static_cast<int>(0.45 * h);
    clear_pixels(x0, y0 + horizon, w, h - horizon, 0x8DA8CE);
    clear_pixels(x0, y0, w, horizon, 0x4F5E33);
    double cx = m.left + w / 2.0, top = m.bottom + horizon;
    set_colour(0x55585C);
    glBegin(GL_QUADS);
    glVertex2d(cx - 0.25 * w, m.bottom);
    glVertex2d(cx + 0.25 * w, m.bottom);
    glVertex2d(cx + 0.02 * w, top);
    glVertex2d(cx - 0.02 * w, top);
    glEnd();
    set_colour(0xD8D8D0);
    for (int i = 0; i < 6; i++) {
        double f0 = i / 6.0, f1 = f0 + 1 / 12.0;
        double dash0 = m.bottom + f0 * horizon, dash1 = m.bottom + f1 * horizon;
        double half0 = 0.006 * w * (1 - f0) + 1, half1 = 0.006 * w * (1 - f1) + 1;
        glBegin(GL_QUADS);
        glVertex2d(cx - half0, dash0);
        glVertex2d(cx + half0, dash0);
        glVertex2d(cx + half1, dash1);
        glVertex2d(cx - half1, dash1);
        glEnd();
    }
}

}  // namespace

void DesktopRenderer::begin_frame(const Desktop &layout, HostGlNames &names)
{
    layout_ = &layout;
    bounds_ = layout.os_bounds();
    desktop_.ensure(bounds_.width(), bounds_.height(), names);
    reset_gl_state(desktop_, bounds_.left, bounds_.right, bounds_.bottom, bounds_.top);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    for (int i = 0; i < layout.count(); i++) {
        const Rect &m = layout.os(i);
        if (layout.covered(i))
            paint_world(m, m.left - bounds_.left, m.bottom - bounds_.bottom);
    }
    for (auto &entry : os_windows_)
        entry.second.drawn = false;
    drawn_order_.clear();
}

void DesktopRenderer::prepare_desktop() const
{
    // One boxel is scale / 100 pixels everywhere on the desktop.
    double per_pixel = layout_ != nullptr ? 100.0 / layout_->scale() : 1.0;
    reset_gl_state(desktop_, bounds_.left * per_pixel, (bounds_.left + desktop_.width()) * per_pixel,
                   bounds_.bottom * per_pixel, (bounds_.bottom + desktop_.height()) * per_pixel);
}

void DesktopRenderer::prepare_os_window(const Window *window, const Rect &os_rect, const Rect &boxels,
                                        HostGlNames &names)
{
    OsWindow &os_window = os_windows_[window];
    os_window.os = os_rect;
    os_window.target.ensure(os_rect.width(), os_rect.height(), names);
    if (!os_window.drawn)
        drawn_order_.push_back(window);
    os_window.drawn = true;
    reset_gl_state(os_window.target, boxels.left, boxels.right, boxels.bottom, boxels.top);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void DesktopRenderer::finish_frame(HostGlNames &names)
{
    for (auto it = os_windows_.begin(); it != os_windows_.end();) {
        if (it->second.drawn) {
            ++it;
        } else {
            it->second.target.release(names);
            it = os_windows_.erase(it);
        }
    }
    // Whatever state the last callback left (scissor, colour mask) must not
    // clip the OS desktop or the copies.
    prepare_desktop();
    // X-Plane draws nothing on a monitor it does not cover, wherever its
    // floating windows lie.
    if (layout_ != nullptr) {
        for (int i = 0; i < layout_->count(); i++) {
            const Rect &m = layout_->os(i);
            if (!layout_->covered(i))
                clear_pixels(m.left - bounds_.left, m.bottom - bounds_.bottom, m.width(), m.height(), os_desktop_colour);
        }
    }
    // Zink (Mesa 22.3) loses these scissored clears when a framebuffer blit
    // into the same framebuffer follows before any draw: the uncovered
    // monitors stayed black under a popped-out window. A flush applies them first.
    glFlush();
    for (const Window *window : drawn_order_) {
        const OsWindow &os_window = os_windows_[window];
        int x = os_window.os.left - bounds_.left, y = os_window.os.bottom - bounds_.bottom;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, os_window.target.framebuffer());
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glBlitFramebuffer(0, 0, os_window.target.width(), os_window.target.height(), x, y,
                          x + os_window.target.width(), y + os_window.target.height(), GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
    }
    prepare_desktop();
}

void DesktopRenderer::release(HostGlNames &names)
{
    for (auto &entry : os_windows_)
        entry.second.target.release(names);
    os_windows_.clear();
    drawn_order_.clear();
    desktop_.release(names);
    layout_ = nullptr;
}

const RenderTarget *DesktopRenderer::os_window(const Window *window) const
{
    auto it = os_windows_.find(window);
    return it == os_windows_.end() ? nullptr : &it->second.target;
}

}  // namespace simhost
