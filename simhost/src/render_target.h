/*
 * A framebuffer object with one RGBA texture as its colour buffer: the panel,
 * the desktop and each popped-out window draw into one. The host records the
 * GL names it makes so that it can tell a plug-in's leftovers from its own.
 */
#ifndef SIMHOST_RENDER_TARGET_H
#define SIMHOST_RENDER_TARGET_H

#include <cstdint>
#include <set>
#include <vector>

namespace simhost {

struct HostGlNames {
    std::set<unsigned> textures;
    std::set<unsigned> framebuffers;
};

class RenderTarget {
public:
    // Made at the first call, remade when the size or the samples change.
    // With samples above 0 the colour buffer is multisampled (and read() reads nothing).
    void ensure(int width, int height, HostGlNames &names, int samples = 0);
    void release(HostGlNames &names);
    bool valid() const { return framebuffer_ != 0; }
    unsigned framebuffer() const { return framebuffer_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // 0xRRGGBB at (x, y), origin bottom-left; 0 outside.
    uint32_t pixel(int x, int y) const;
    // 0xFFRRGGBB pixels of a rectangle given from its bottom-left corner, rows
    // from the top down (as image files hold them).
    std::vector<uint32_t> read(int x, int y, int w, int h) const;

private:
    unsigned framebuffer_ = 0;
    unsigned texture_ = 0;
    int width_ = 0;
    int height_ = 0;
    int samples_ = 0;
};

// The state the host draws with, and every plug-in callback starts from:
// the target bound with its full viewport, an orthographic projection of
// the given coordinates, fixed-function features off, no texture, no program.
void reset_gl_state(const RenderTarget &target, double left, double right, double bottom, double top);

// The framebuffer the simulator has bound for the pass being drawn and its
// viewport (left, bottom, right, top), as reset_gl_state last set them: what
// sim/graphics/view/current_gl_fbo and sim/graphics/view/viewport read.
struct PassView {
    int framebuffer = 0;
    int viewport[4] = {0, 0, 0, 0};
};
const PassView &pass_view();

// While one is held (and asked to hold), reset_gl_state leaves the pass view
// as it was: what the datarefs read stays the pass before's.
class PassViewHold {
public:
    explicit PassViewHold(bool hold);
    ~PassViewHold();
    PassViewHold(const PassViewHold &) = delete;
    PassViewHold &operator=(const PassViewHold &) = delete;

private:
    bool hold_;
};

}  // namespace simhost

#endif
