/*
 * The simulator's framebuffer as the copy sees it. Reading state back stalls
 * a driver that works beside Vulkan, so the name and viewport come from the
 * simulator's datarefs, and the little a copy must know of the framebuffer
 * itself is asked once per framebuffer and then again once a second.
 */
#include "sim_framebuffer.h"

#include <XPLMDataAccess.h>
#include <acfutils/glew.h>

namespace {

XPLMDataRef current_fbo_ref = nullptr;
XPLMDataRef viewport_ref = nullptr;
bool dsa_loaded = false;
bool binding_forced = false;
bool datarefs_ignored = false;

// What another drawer might change of the simulator's framebuffer is asked
// again this often: a change within that time is given back as it was.
constexpr float recheck_s = 1.0f;

struct known_framebuffer {
    sim_framebuffer fb;
    float checked_s;
    bool used;
};

// The panel's and each device's framebuffer; the oldest entry makes room.
known_framebuffer known[8];

// Its read buffer is framebuffer state only a bound read framebuffer
// answers for: the read binding found is put back.
sim_framebuffer ask_driver(unsigned name)
{
    sim_framebuffer fb = {name, GL_NONE, 0};
    GLint read = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, name);
    glGetIntegerv(GL_READ_BUFFER, &fb.read_buffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    glGetNamedFramebufferParameteriv(name, GL_SAMPLES, &fb.samples);
    return fb;
}

}  // namespace

void sim_framebuffer_init()
{
    current_fbo_ref = XPLMFindDataRef("sim/graphics/view/current_gl_fbo");
    viewport_ref = XPLMFindDataRef("sim/graphics/view/viewport");
    for (known_framebuffer &k : known)
        k.used = false;
    dsa_loaded = glBlitNamedFramebuffer != nullptr && glNamedFramebufferReadBuffer != nullptr &&
                 glGetNamedFramebufferParameteriv != nullptr && glCreateFramebuffers != nullptr &&
                 glNamedFramebufferTexture != nullptr && glCheckNamedFramebufferStatus != nullptr &&
                 glTextureStorage2D != nullptr && glTextureParameteri != nullptr;
}

bool sim_framebuffer_by_name()
{
    return dsa_loaded && !binding_forced;
}

void sim_framebuffer_force_binding(bool on)
{
    binding_forced = on;
}

void sim_framebuffer_ignore_datarefs(bool on)
{
    datarefs_ignored = on;
}

sim_framebuffer sim_framebuffer_bound(float now_s)
{
    GLint name = 0;
    if (current_fbo_ref != nullptr && !datarefs_ignored)
        name = XPLMGetDatai(current_fbo_ref);
    else
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &name);

    known_framebuffer *slot = &known[0];
    for (known_framebuffer &k : known) {
        if (k.used && k.fb.name == static_cast<unsigned>(name)) {
            slot = &k;
            break;
        }
        if (!k.used || k.checked_s < slot->checked_s)
            slot = &k;
    }
    if (!slot->used || slot->fb.name != static_cast<unsigned>(name) || now_s - slot->checked_s >= recheck_s ||
        now_s < slot->checked_s) {
        slot->fb = ask_driver(static_cast<unsigned>(name));
        slot->checked_s = now_s;
        slot->used = true;
    }
    return slot->fb;
}

void sim_framebuffer_viewport(int out[4])
{
    if (viewport_ref != nullptr && !datarefs_ignored) {
        // The simulator gives left, bottom, right and top.
        int v[4] = {0, 0, 0, 0};
        if (XPLMGetDatavi(viewport_ref, v, 0, 4) == 4) {
            out[0] = v[0];
            out[1] = v[1];
            out[2] = v[2] - v[0];
            out[3] = v[3] - v[1];
            return;
        }
    }
    glGetIntegerv(GL_VIEWPORT, out);
}
