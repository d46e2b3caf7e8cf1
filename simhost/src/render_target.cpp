/*
 * Framebuffer objects the host draws into, and the host's GL state (see
 * render_target.h).
 */
#include "render_target.h"

#include <cstddef>

#include "gl_api.h"
#include "gl_state.h"

namespace simhost {

void RenderTarget::ensure(int width, int height, HostGlNames &names, int samples)
{
    if (valid() && width == width_ && height == height_ && samples == samples_)
        return;
    release(names);
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    samples_ = samples;
    glGenTextures(1, &texture_);
    const GLenum target = samples_ > 0 ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D;
    glBindTexture(target, texture_);
    if (samples_ > 0) {
        glTexImage2DMultisample(target, samples_, GL_RGBA8, width_, height_, GL_TRUE);
    } else {
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        glTexImage2D(target, 0, GL_RGBA8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    glBindTexture(target, 0);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, target, texture_, 0);
    names.textures.insert(texture_);
    names.framebuffers.insert(framebuffer_);
}

void RenderTarget::release(HostGlNames &names)
{
    if (framebuffer_ != 0) {
        glDeleteFramebuffers(1, &framebuffer_);
        names.framebuffers.erase(framebuffer_);
    }
    if (texture_ != 0) {
        glDeleteTextures(1, &texture_);
        names.textures.erase(texture_);
    }
    framebuffer_ = texture_ = 0;
    width_ = height_ = samples_ = 0;
}

std::vector<uint32_t> RenderTarget::read(int x, int y, int w, int h) const
{
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    if (!valid() || samples_ > 0 || w <= 0 || h <= 0)
        return pixels;
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    std::vector<uint32_t> bottom_up(pixels.size());
    // BGRA as 8_8_8_8_REV is 0xAARRGGBB in a native 32-bit word.
    glReadPixels(x, y, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bottom_up.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
    for (int row = 0; row < h; row++) {
        const uint32_t *src = &bottom_up[static_cast<size_t>(h - 1 - row) * static_cast<size_t>(w)];
        uint32_t *dst = &pixels[static_cast<size_t>(row) * static_cast<size_t>(w)];
        for (int col = 0; col < w; col++)
            dst[col] = src[col] | 0xFF000000u;
    }
    return pixels;
}

uint32_t RenderTarget::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return read(x, y, 1, 1)[0] & 0xFFFFFFu;
}

namespace {
PassView current_pass;
int pass_view_holds = 0;
}

const PassView &pass_view() { return current_pass; }

PassViewHold::PassViewHold(bool hold) : hold_(hold)
{
    pass_view_holds += hold_ ? 1 : 0;
}

PassViewHold::~PassViewHold()
{
    pass_view_holds -= hold_ ? 1 : 0;
}

void reset_gl_state(const RenderTarget &target, double left, double right, double bottom, double top)
{
    if (pass_view_holds == 0) {
        current_pass.framebuffer = static_cast<int>(target.framebuffer());
        current_pass.viewport[0] = 0;
        current_pass.viewport[1] = 0;
        current_pass.viewport[2] = target.width();
        current_pass.viewport[3] = target.height();
    }
    glUseProgram(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer());
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, target.width(), target.height());
    glDisable(GL_SCISSOR_TEST);

    for (int unit = 3; unit >= 0; unit--) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_COLOR_LOGIC_OP);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(1);
    glColor4f(1, 1, 1, 1);
    // The simulator draws through its own caches, which know this state.
    if (GlHarsh *harsh = GlHarsh::active())
        harsh->cache() = XplaneGlCache{};
}

}  // namespace simhost
