/*
 * Capture regions: a rectangle of the panel framebuffer, or a stock device's
 * whole screen, is copied on the graphics card into one texture (a framebuffer
 * blit, at most `fps` times a second) and drawn into a popup window as a quad.
 */
#include "capture_region.h"

#include <acfutils/glew.h>
#include <acfutils/log.h>
#include <XPLMGraphics.h>

// The framebuffer functions come from GLEW, loaded for this thread's context
// at start; without them there is nothing to capture with.
bool capture_functions_loaded()
{
    static bool reported = false;
    lacf_glew_ctx_t *ctx = lacf_glew_ctx_get();
    if (ctx != nullptr && ctx->initialized)
        return true;
    if (!reported) {
        logMsg("Screen capture off: the OpenGL framebuffer functions were not loaded on this thread");
        reported = true;
    }
    return false;
}

bool capture_region_is_end(const capture_region *region)
{
    return region->src_x != region->src_x;
}

void capture_regions_clear_failed(capture_region *table)
{
    for (capture_region *r = table; r != nullptr && !capture_region_is_end(r); r++)
        r->failed = false;
}

// Creates the region's texture, named by the simulator, and its
// framebuffer object, each when missing. False when the driver reports the
// framebuffer object incomplete: the region's objects are then released and
// the region is marked failed.
static bool capture_region_make_objects(capture_region *region)
{
    const GLsizei w = static_cast<GLsizei>(region->src_w), h = static_cast<GLsizei>(region->src_h);
    const bool by_name = sim_framebuffer_by_name();
    if (region->tex == 0) {
        if (by_name) {
            // Made and set up by name: neither the active texture unit nor
            // the simulator's binding cache has a say.
            GLuint tex = 0;
            glCreateTextures(GL_TEXTURE_2D, 1, &tex);
            region->tex = tex;
            glTextureStorage2D(region->tex, 1, GL_RGB8, w, h);
            glTextureParameteri(region->tex, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTextureParameteri(region->tex, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        } else {
            int tex = 0;
            XPLMGenerateTextureNumbers(&tex, 1);
            region->tex = static_cast<uint32_t>(tex);
            // The first bind makes the name a texture, so it must really
            // happen: the simulator's cache skips a bind of a name it believes
            // bound already (another drawer's deleted texture of that name).
            XPLMBindTexture2d(0, 0);
            XPLMBindTexture2d(tex, 0);
            // With a pixel-unpack buffer bound, the null pixels would be an offset into it.
            GLint unpack = 0;
            glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack);
            glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(unpack));
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        }
    }
    if (region->fbo == 0) {
        GLuint fbo = 0;
        GLenum status = GL_FRAMEBUFFER_COMPLETE;
        if (by_name) {
            glCreateFramebuffers(1, &fbo);
            glNamedFramebufferTexture(fbo, GL_COLOR_ATTACHMENT0, region->tex, 0);
            status = glCheckNamedFramebufferStatus(fbo, GL_DRAW_FRAMEBUFFER);
        } else {
            // The caller gives the draw binding back.
            glGenFramebuffers(1, &fbo);
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
            glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, region->tex, 0);
            status = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER);
        }
        region->fbo = fbo;
        if (status != GL_FRAMEBUFFER_COMPLETE) {
            logMsg("Capture of region at %.0f %.0f (%.0f x %.0f) stopped: framebuffer incomplete, status 0x%x",
                   region->src_x, region->src_y, region->src_w, region->src_h, static_cast<unsigned>(status));
            capture_region_release(region);
            region->failed = true;
            return false;
        }
    }
    return true;
}

bool capture_region_due(const capture_region *region, uint64_t now_us)
{
    if (region->last_cap_us == 0)
        return true;
    const double elapsed = static_cast<double>(now_us - region->last_cap_us);
    return 1000000.0 / region->fps <= elapsed;
}

// A blit out of a multisampled framebuffer must keep the rectangle in place
// and the colour format, which a region's texture does not: such a panel is
// refused, with one line, until it is plain again, with one line.
static bool capture_region_refuse_multisampled(capture_region *region, GLint samples)
{
    if (samples > 0) {
        if (!region->multisampled)
            logMsg("Capture of region at %.0f %.0f (%.0f x %.0f) stopped: the simulator's framebuffer is "
                   "multisampled (%d samples), which the copy does not read",
                   region->src_x, region->src_y, region->src_w, region->src_h, static_cast<int>(samples));
        region->multisampled = true;
        return true;
    }
    if (region->multisampled)
        logMsg("Capture of region at %.0f %.0f (%.0f x %.0f) resumed: the simulator's framebuffer is no longer "
               "multisampled", region->src_x, region->src_y, region->src_w, region->src_h);
    region->multisampled = false;
    return false;
}

static void blit(const capture_region *region, GLuint from, GLuint to, bool by_name)
{
    const GLint x = static_cast<GLint>(region->src_x), y = static_cast<GLint>(region->src_y);
    const GLint w = static_cast<GLint>(region->src_w), h = static_cast<GLint>(region->src_h);
    if (by_name)
        glBlitNamedFramebuffer(from, to, x, y, x + w, y + h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    else
        glBlitFramebuffer(x, y, x + w, y + h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

// By name: no binding of the simulator's changes. Its framebuffer reads from
// its colour buffer for the copy and then from what it read before; a
// scissor box left by an earlier drawer would clip the copy, so the scissor
// state is pushed and popped, which reads nothing back.
static void grab_by_name(capture_region *region, const sim_framebuffer &fb)
{
    const GLenum colour = fb.name != 0 ? GL_COLOR_ATTACHMENT0 : GL_BACK;
    const bool reads_elsewhere = fb.read_buffer != static_cast<GLint>(colour);
    glPushAttrib(GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    if (reads_elsewhere)
        glNamedFramebufferReadBuffer(fb.name, colour);
    blit(region, fb.name, region->fbo, true);
    if (reads_elsewhere)
        glNamedFramebufferReadBuffer(fb.name, static_cast<GLenum>(fb.read_buffer));
    glPopAttrib();
}

// By binding, where the driver has no direct state access: every binding
// and state the copy changes is read first and given back.
static void grab_by_binding(capture_region *region)
{
    GLint prev = 0, prev_read = 0, samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    if (capture_region_refuse_multisampled(region, samples))
        return;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &prev);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &prev_read);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (capture_region_make_objects(region)) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(prev));
        GLint prev_read_buffer = GL_NONE;
        glGetIntegerv(GL_READ_BUFFER, &prev_read_buffer);
        glReadBuffer(prev != 0 ? GL_COLOR_ATTACHMENT0 : GL_BACK);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, region->fbo);
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        if (scissor)
            glDisable(GL_SCISSOR_TEST);
        blit(region, 0, 0, false);
        if (scissor)
            glEnable(GL_SCISSOR_TEST);
        glReadBuffer(static_cast<GLenum>(prev_read_buffer));
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(prev));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(prev_read));
}

bool capture_region_grab(capture_region *region, const sim_framebuffer &fb, uint64_t now_us)
{
    if (region->failed)
        return false;
    if (!sim_framebuffer_by_name()) {
        // The driver is asked whether the framebuffer is multisampled at each due copy only.
        if (!capture_region_due(region, now_us))
            return !region->multisampled;
        grab_by_binding(region);
        if (region->failed || region->multisampled)
            return false;
        region->last_cap_us = now_us;
        return true;
    }
    if (capture_region_refuse_multisampled(region, fb.samples))
        return false;
    if (!capture_region_due(region, now_us))
        return true;
    if (!capture_region_make_objects(region))
        return false;
    grab_by_name(region, fb);
    region->last_cap_us = now_us;
    return true;
}

bool capture_region_grab_viewport(capture_region *region, const sim_screen &screen, uint64_t now_us)
{
    if (region->failed)
        return false;
    if (!capture_region_due(region, now_us))
        return !region->multisampled;
    const int *viewport = screen.viewport;
    if (viewport[2] <= 0 || viewport[3] <= 0)
        return false;
    // A screen of another size than the texture's needs a texture of its size.
    if (viewport[2] != static_cast<int>(region->src_w) || viewport[3] != static_cast<int>(region->src_h)) {
        capture_region_release(region);
        region->src_w = viewport[2];
        region->src_h = viewport[3];
    }
    region->src_x = viewport[0];
    region->src_y = viewport[1];
    return capture_region_grab(region, screen.fb, now_us);
}

void capture_region_release(capture_region *region)
{
    if (region->fbo != 0) {
        GLuint fbo = region->fbo;
        glDeleteFramebuffers(1, &fbo);
        region->fbo = 0;
    }
    if (region->tex != 0) {
        // X-Plane's binding cache must not go on believing the name is bound:
        // a texture made later under the same name would never be bound.
        XPLMBindTexture2d(0, 0);
        GLuint tex = region->tex;
        glDeleteTextures(1, &tex);
        region->tex = 0;
    }
}

void capture_region_draw(capture_region *region, vect2_t pos, vect2_t size, float brightness)
{
    const float left = static_cast<float>(pos.x), bottom = static_cast<float>(pos.y);
    const float right = static_cast<float>(pos.x + size.x), top = static_cast<float>(pos.y + size.y);
    // No picture yet: black, as a screen without a signal is, never the
    // simulator showing through.
    if (region->tex == 0) {
        XPLMSetGraphicsState(0, 0, 0, 0, 0, 0, 0);
        glColor4f(0, 0, 0, 1);
        glRectf(left, bottom, right, top);
        return;
    }
    // The picture is opaque: no blending, and no depth test against what the
    // simulator drew. The colour, which the texture modulates, dims it; it is
    // always set, since the current colour is the last drawer's.
    XPLMSetGraphicsState(0, 1, 0, 0, 0, 0, 0);
    glColor4f(brightness, brightness, brightness, 1);
    XPLMBindTexture2d(static_cast<int>(region->tex), 0);
    // The texture's bottom row is the source's bottom row: no flip. Wound
    // counter-clockwise, as every fill of the window is, so that culling
    // left on by an earlier drawer (of back faces, GL's default) spares it.
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(left, bottom);
    glTexCoord2f(1, 0);
    glVertex2f(right, bottom);
    glTexCoord2f(1, 1);
    glVertex2f(right, top);
    glTexCoord2f(0, 1);
    glVertex2f(left, top);
    glEnd();
}
