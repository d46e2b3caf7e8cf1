/*
 * The desktop framebuffer, the simulator's world behind the windows, and the
 * popped-out windows' framebuffers (see desktop_render.h).
 */
#include "desktop_render.h"

#include "draw2d.h"
#include "gl_api.h"
#include "windows.h"

namespace simhost {
namespace {

// Sky over ground with a runway running to the horizon: plainly the
// simulator's view, and nothing like the displays' colours. Sky and ground
// are clears (cheap on a software renderer); x0 and y0 are the monitor's
// corner in framebuffer pixels.
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

void DesktopRenderer::begin_frame(const std::vector<Rect> &monitors, HostGlNames &names)
{
    bounds_ = bounding_box(monitors);
    desktop_.ensure(bounds_.width(), bounds_.height(), names);
    prepare_desktop();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    for (const Rect &m : monitors)
        paint_world(m, m.left - bounds_.left, m.bottom - bounds_.bottom);
    for (auto &entry : popouts_)
        entry.second.drawn = false;
    drawn_order_.clear();
}

void DesktopRenderer::prepare_desktop() const
{
    reset_gl_state(desktop_, bounds_.left, bounds_.left + desktop_.width(), bounds_.bottom,
                   bounds_.bottom + desktop_.height());
}

void DesktopRenderer::prepare_popout(const Window *window, HostGlNames &names)
{
    Popout &popout = popouts_[window];
    popout.rect = window->rect;
    popout.target.ensure(popout.rect.width(), popout.rect.height(), names);
    if (!popout.drawn)
        drawn_order_.push_back(window);
    popout.drawn = true;
    reset_gl_state(popout.target, popout.rect.left, popout.rect.left + popout.target.width(), popout.rect.bottom,
                   popout.rect.bottom + popout.target.height());
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void DesktopRenderer::finish_frame(HostGlNames &names)
{
    for (auto it = popouts_.begin(); it != popouts_.end();) {
        if (it->second.drawn) {
            ++it;
        } else {
            it->second.target.release(names);
            it = popouts_.erase(it);
        }
    }
    // Whatever state the last callback left (scissor, colour mask) must not clip the copies.
    prepare_desktop();
    for (const Window *window : drawn_order_) {
        const Popout &popout = popouts_[window];
        int x = popout.rect.left - bounds_.left, y = popout.rect.bottom - bounds_.bottom;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, popout.target.framebuffer());
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glBlitFramebuffer(0, 0, popout.target.width(), popout.target.height(), x, y, x + popout.target.width(),
                          y + popout.target.height(), GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
    prepare_desktop();
}

void DesktopRenderer::release(HostGlNames &names)
{
    for (auto &entry : popouts_)
        entry.second.target.release(names);
    popouts_.clear();
    drawn_order_.clear();
    desktop_.release(names);
}

const RenderTarget *DesktopRenderer::popout(const Window *window) const
{
    auto it = popouts_.find(window);
    return it == popouts_.end() ? nullptr : &it->second.target;
}

}  // namespace simhost
