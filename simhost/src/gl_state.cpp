/*
 * OpenGL state at X-Plane's least kind (see gl_state.h): the state unsettled
 * on entry to a callback, and the check of what it gives back.
 */
#include "gl_state.h"

#include <cstdio>
#include <cstdlib>

#include "gl_api.h"
#include "plugin_call.h"

namespace simhost {
namespace {

GlHarsh *active_harsh = nullptr;

std::string hex(int value)
{
    char buf[16];
    snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(value));
    return buf;
}

std::string box(const int v[4])
{
    return std::to_string(v[0]) + ", " + std::to_string(v[1]) + ", " + std::to_string(v[2]) + " x " +
           std::to_string(v[3]);
}

}  // namespace

const int small_box[4] = {8, 8, 16, 16};

GlHarshness GlHarshness::kind()
{
    GlHarshness h;
    h.scissor = h.colour = h.textures = h.pixel_buffers = h.graphics_state = h.framebuffers = false;
    h.caches = h.strict_check = h.irregular_passes = h.multisampled_panel = h.culling = false;
    return h;
}

GlGivenBack read_given_back()
{
    GlGivenBack s;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &s.draw_framebuffer);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &s.read_framebuffer);
    glGetIntegerv(GL_DRAW_BUFFER, &s.draw_buffer);
    glGetIntegerv(GL_READ_BUFFER, &s.read_buffer);
    s.draw_fb_read_buffer = s.read_buffer;
    if (s.draw_framebuffer != s.read_framebuffer) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(s.draw_framebuffer));
        glGetIntegerv(GL_READ_BUFFER, &s.draw_fb_read_buffer);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(s.read_framebuffer));
    }
    glGetIntegerv(GL_VIEWPORT, s.viewport);
    s.scissor_test = glIsEnabled(GL_SCISSOR_TEST) ? 1 : 0;
    glGetIntegerv(GL_SCISSOR_BOX, s.scissor_box);
    glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &s.pack_buffer);
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &s.unpack_buffer);
    glGetIntegerv(GL_CURRENT_PROGRAM, &s.program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &s.vertex_array);
    return s;
}

std::string given_back_difference(const GlGivenBack &found, const GlGivenBack &left)
{
    auto name = [](const char *what, const std::string &now, const std::string &was) {
        return std::string(what) + " " + now + " (found " + was + ")";
    };
    auto num = [](int v) { return std::to_string(v); };
    auto same4 = [](const int a[4], const int b[4]) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3]; };
    if (left.draw_framebuffer != found.draw_framebuffer)
        return name("draw framebuffer", num(left.draw_framebuffer), num(found.draw_framebuffer));
    if (left.read_framebuffer != found.read_framebuffer)
        return name("read framebuffer", num(left.read_framebuffer), num(found.read_framebuffer));
    if (left.draw_buffer != found.draw_buffer)
        return name("draw buffer", hex(left.draw_buffer), hex(found.draw_buffer));
    if (left.read_buffer != found.read_buffer)
        return name("read buffer", hex(left.read_buffer), hex(found.read_buffer));
    if (left.draw_fb_read_buffer != found.draw_fb_read_buffer)
        return name("draw framebuffer's read buffer", hex(left.draw_fb_read_buffer), hex(found.draw_fb_read_buffer));
    if (!same4(left.viewport, found.viewport))
        return name("viewport", box(left.viewport), box(found.viewport));
    if (left.scissor_test != found.scissor_test)
        return name("scissor test", left.scissor_test ? "on" : "off", found.scissor_test ? "on" : "off");
    if (!same4(left.scissor_box, found.scissor_box))
        return name("scissor box", box(left.scissor_box), box(found.scissor_box));
    if (left.pack_buffer != found.pack_buffer)
        return name("pixel pack buffer", num(left.pack_buffer), num(found.pack_buffer));
    if (left.unpack_buffer != found.unpack_buffer)
        return name("pixel unpack buffer", num(left.unpack_buffer), num(found.unpack_buffer));
    if (left.program != found.program)
        return name("program", num(left.program), num(found.program));
    if (left.vertex_array != found.vertex_array)
        return name("vertex array", num(left.vertex_array), num(found.vertex_array));
    return std::string();
}

GlHarsh *GlHarsh::active() { return active_harsh; }

GlHarsh::GlHarsh(const GlHarshness &harshness, HostGlNames &names, std::function<void(const std::string &)> log)
    : harshness_(harshness), names_(names), log_(std::move(log))
{
    active_harsh = this;
}

GlHarsh::~GlHarsh()
{
    if (active_harsh == this)
        active_harsh = nullptr;
}

void GlHarsh::make_objects()
{
    if (foreign_framebuffer_ != 0)
        return;
    // Another add-on's textures: one texel each, a colour no display has.
    glGenTextures(XplaneGlCache::units, foreign_textures_);
    const unsigned char texel[4] = {0x40, 0xC0, 0x20, 0xFF};
    for (unsigned tex : foreign_textures_) {
        glBindTexture(GL_TEXTURE_2D, tex);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        names_.textures.insert(tex);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &foreign_framebuffer_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, foreign_framebuffer_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, foreign_textures_[3], 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    names_.framebuffers.insert(foreign_framebuffer_);
    // Small buffers: a transfer that takes a client pointer for an offset into them fails.
    glGenBuffers(1, &pack_buffer_);
    glGenBuffers(1, &unpack_buffer_);
    for (unsigned buffer : {pack_buffer_, unpack_buffer_}) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, 64, nullptr, GL_STREAM_COPY);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void GlHarsh::unsettle(int box_x, int box_y, int box_w, int box_h)
{
    const GlHarshness &h = harshness_;
    if (!(h.scissor || h.colour || h.textures || h.pixel_buffers || h.graphics_state || h.framebuffers || h.culling))
        return;
    make_objects();
    if (h.culling) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT_AND_BACK);
        glFrontFace(GL_CCW);
    }
    if (h.graphics_state) {
        glEnable(GL_FOG);
        for (int unit = XplaneGlCache::units - 1; unit >= 0; unit--) {
            glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
            glEnable(GL_TEXTURE_2D);
        }
        glEnable(GL_LIGHTING);
        glEnable(GL_ALPHA_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
        const int state[7] = {1, XplaneGlCache::units, 1, 1, 1, 1, 0};
        for (int i = 0; i < 7; i++)
            cache_.state[i] = state[i];
    }
    if (h.textures) {
        for (int unit = XplaneGlCache::units - 1; unit >= 0; unit--) {
            glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
            glBindTexture(GL_TEXTURE_2D, foreign_textures_[unit]);
            cache_.texture[unit] = static_cast<int>(foreign_textures_[unit]);
        }
        glActiveTexture(GL_TEXTURE1);
    }
    if (h.pixel_buffers) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, pack_buffer_);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, unpack_buffer_);
    }
    if (h.colour)
        glColor4f(0.25f, 0.5f, 1.0f, 0.5f);
    if (h.scissor) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(box_x, box_y, box_w, box_h);
    }
    if (h.framebuffers) {
        GLint draw = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
        if (draw != 0) {
            glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(draw));
            glReadBuffer(GL_NONE);
        }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, foreign_framebuffer_);
    }
}

void GlHarsh::check(CallbackKind kind, const GlGivenBack &found)
{
    if (!harshness_.strict_check)
        return;
    const std::string difference = given_back_difference(found, read_given_back());
    if (difference.empty())
        return;
    const std::string line = std::string("the plug-in's ") + callback_kind_name(kind) +
                             " callback left OpenGL state it found changed: " + difference;
    log_(line);
    fprintf(stderr, "simhost: %s: the run ends here\n", line.c_str());
    fflush(stderr);
    std::abort();
}

void GlHarsh::release()
{
    if (foreign_framebuffer_ == 0)
        return;
    glDeleteFramebuffers(1, &foreign_framebuffer_);
    names_.framebuffers.erase(foreign_framebuffer_);
    glDeleteTextures(XplaneGlCache::units, foreign_textures_);
    for (unsigned &tex : foreign_textures_) {
        names_.textures.erase(tex);
        tex = 0;
    }
    glDeleteBuffers(1, &pack_buffer_);
    glDeleteBuffers(1, &unpack_buffer_);
    foreign_framebuffer_ = pack_buffer_ = unpack_buffer_ = 0;
}

GlCallbackScope::GlCallbackScope(CallbackKind kind, int box_x, int box_y, int box_w, int box_h) : kind_(kind)
{
    if (GlHarsh *harsh = GlHarsh::active()) {
        harsh->unsettle(box_x, box_y, box_w, box_h);
        if (harsh->harshness().strict_check)
            found_ = read_given_back();
    }
}

GlCallbackScope::~GlCallbackScope()
{
    if (GlHarsh *harsh = GlHarsh::active())
        harsh->check(kind_, found_);
}

}  // namespace simhost
