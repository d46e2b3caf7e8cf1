/*
 * The simulator's framebuffer as the copy sees it. Reading state back stalls
 * a driver that works beside Vulkan, so the name and viewport come from the
 * simulator's datarefs, and the little a copy must know of the framebuffer
 * itself is asked once per framebuffer and then again once a second.
 */
#include "sim_framebuffer.h"

#include <cstdio>

#include <XPLMDataAccess.h>
#include <acfutils/glew.h>
#include <acfutils/log.h>

namespace {

XPLMDataRef current_fbo_ref = nullptr;
XPLMDataRef viewport_ref = nullptr;
bool dsa_offered = false;
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

// A framebuffer and viewport, as the datarefs tell them or the driver has them.
struct screen_place {
    int name, left, bottom, width, height;
    bool operator==(const screen_place &o) const
    {
        return name == o.name && left == o.left && bottom == o.bottom && width == o.width && height == o.height;
    }
};

// What was found of one device's screen when the datarefs were last checked.
struct device_check {
    screen_place told;    // the datarefs
    screen_place found;   // the driver
    float checked_s;
    bool checked;
    bool trusted;         // they agreed
    bool said;            // their disagreement is logged
};

// Indexed by device number (the SDK's go up to 19).
device_check device_checks[32];

// Direct state access is OpenGL 4.5's, or its extension's. The address a
// loader gives says nothing (Khronos: a non-NULL address does not mean the
// context supports the function, and GLEW's experimental mode, which the
// loading sets, judges its flags by addresses), so the context's own version
// and extension list decide; a NULL address is never called all the same.
bool context_offers_dsa()
{
    const char *version = reinterpret_cast<const char *>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (version == nullptr || sscanf(version, "%d.%d", &major, &minor) != 2)
        major = minor = 0;
    const bool offered = major > 4 || (major == 4 && minor >= 5) || glewGetExtension("GL_ARB_direct_state_access");
    const bool loaded = glBlitNamedFramebuffer != nullptr && glNamedFramebufferReadBuffer != nullptr &&
                        glGetNamedFramebufferParameteriv != nullptr && glCreateFramebuffers != nullptr &&
                        glNamedFramebufferTexture != nullptr &&
                        glCheckNamedFramebufferStatus != nullptr && glTextureStorage2D != nullptr &&
                        glTextureParameteri != nullptr && glCreateTextures != nullptr;
    if (!offered || !loaded)
        logMsg("VXR: OpenGL %s offers no direct state access (OpenGL 4.5): the copy binds framebuffers and reads back "
               "what it changes", version != nullptr ? version : "(no version)");
    return offered && loaded;
}

// Its read buffer is framebuffer state only a bound read framebuffer
// answers for: the read binding found is put back. By name only.
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

// What is known of the framebuffer of that name. The copy by binding asks
// the driver itself, at each copy, and is given the name alone.
sim_framebuffer known_as(GLint name, float now_s)
{
    if (!sim_framebuffer_by_name())
        return {static_cast<unsigned>(name), GL_NONE, 0};
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

// The viewport the simulator's dataref tells, as left, bottom, width and
// height (it gives left, bottom, right and top); false when it tells nothing.
bool told_viewport(int out[4])
{
    int v[4] = {0, 0, 0, 0};
    if (viewport_ref == nullptr || datarefs_ignored || XPLMGetDatavi(viewport_ref, v, 0, 4) != 4)
        return false;
    out[0] = v[0];
    out[1] = v[1];
    out[2] = v[2] - v[0];
    out[3] = v[3] - v[1];
    return true;
}

// The datarefs' framebuffer and viewport; false when they tell nothing.
bool told_place(screen_place *out)
{
    int v[4] = {0, 0, 0, 0};
    if (current_fbo_ref == nullptr || !told_viewport(v))
        return false;
    *out = {XPLMGetDatai(current_fbo_ref), v[0], v[1], v[2], v[3]};
    return true;
}

screen_place driver_place()
{
    screen_place p = {0, 0, 0, 0, 0};
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &p.name);
    glGetIntegerv(GL_VIEWPORT, v);
    p.left = v[0];
    p.bottom = v[1];
    p.width = v[2];
    p.height = v[3];
    return p;
}

// The datarefs where they agreed with the driver at the last check, else
// the driver's answer of then.
screen_place checked_place(int device, const screen_place &told, float now_s)
{
    device_check &c = device_checks[device];
    if (c.checked && c.told == told && now_s - c.checked_s < recheck_s && now_s >= c.checked_s)
        return c.trusted ? c.told : c.found;
    c.told = told;
    c.found = driver_place();
    c.checked_s = now_s;
    c.checked = true;
    c.trusted = c.told == c.found;
    if (!c.trusted && !c.said) {
        logMsg("VXR: In device %d's drawing X-Plane's datarefs give framebuffer %d at %d %d (%d x %d), OpenGL has %d "
               "at %d %d (%d x %d): its screen is taken from OpenGL", device, told.name, told.left, told.bottom,
               told.width, told.height, c.found.name, c.found.left, c.found.bottom, c.found.width, c.found.height);
        c.said = true;
    }
    return c.trusted ? c.told : c.found;
}

}  // namespace

void sim_framebuffer_init()
{
    current_fbo_ref = XPLMFindDataRef("sim/graphics/view/current_gl_fbo");
    viewport_ref = XPLMFindDataRef("sim/graphics/view/viewport");
    for (known_framebuffer &k : known)
        k.used = false;
    for (device_check &c : device_checks)
        c = device_check{};
    dsa_offered = context_offers_dsa();
}

bool sim_framebuffer_by_name()
{
    return dsa_offered && !binding_forced;
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
    return known_as(name, now_s);
}

void sim_framebuffer_viewport(int out[4])
{
    if (!told_viewport(out))
        glGetIntegerv(GL_VIEWPORT, out);
}

sim_screen sim_framebuffer_device_screen(int device, float now_s)
{
    const bool checkable = device >= 0 && device < static_cast<int>(sizeof(device_checks) / sizeof(device_checks[0]));
    screen_place place;
    place = checkable && told_place(&place) ? checked_place(device, place, now_s) : driver_place();
    return {known_as(place.name, now_s), {place.left, place.bottom, place.width, place.height}};
}
