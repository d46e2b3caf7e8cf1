/*
 * OpenGL state at X-Plane's least kind: what a previous drawer may leave on
 * entry to a plug-in's drawing callback, X-Plane's texture-binding and
 * graphics-state caches, and the strict check of what a callback gives back.
 */
#ifndef SIMHOST_GL_STATE_H
#define SIMHOST_GL_STATE_H

#include <functional>
#include <string>

#include "render_target.h"
#include "simhost/host.h"

namespace simhost {

// X-Plane's own record of the 2-D texture bound on each unit and of the
// fixed-function state vector of XPLMSetGraphicsState.
struct XplaneGlCache {
    static constexpr int units = 4;
    int texture[units] = {0, 0, 0, 0};
    // fog, texture units, lighting, alpha test, blending, depth test, depth writes
    int state[7] = {0, 0, 0, 0, 0, 0, 1};
};

// The state X-Plane does not manage for plug-ins: a callback gives it back as
// it found it. The active texture unit is not in it: XPLMBindTexture2d and
// XPLMSetGraphicsState, which plug-ins are told to use, set it themselves.
struct GlGivenBack {
    int draw_framebuffer = 0, read_framebuffer = 0;
    int draw_buffer = 0;              // of the bound draw framebuffer
    int read_buffer = 0;              // of the bound read framebuffer
    int draw_fb_read_buffer = 0;      // of the bound draw framebuffer
    int viewport[4] = {0, 0, 0, 0};
    int scissor_test = 0;
    int scissor_box[4] = {0, 0, 0, 0};
    int pack_buffer = 0, unpack_buffer = 0;
    int program = 0;
    int vertex_array = 0;
};

// The scissor box a previous drawer leaves on entry to a drawing or avionics
// callback: x, y, width, height in pixels, near a corner.
extern const int small_box[4];

GlGivenBack read_given_back();
// The first difference, as "scissor test on (found off)"; empty when none.
std::string given_back_difference(const GlGivenBack &found, const GlGivenBack &left);

class GlHarsh {
public:
    // The one of the Host alive, or nullptr (the XPLM functions then act without caches).
    static GlHarsh *active();

    GlHarsh(const GlHarshness &harshness, HostGlNames &names, std::function<void(const std::string &)> log);
    ~GlHarsh();
    GlHarsh(const GlHarsh &) = delete;
    GlHarsh &operator=(const GlHarsh &) = delete;

    const GlHarshness &harshness() const { return harshness_; }
    void set(const GlHarshness &harshness) { harshness_ = harshness; }
    XplaneGlCache &cache() { return cache_; }
    bool caching() const { return harshness_.caches; }

    // Leaves the state as a previous drawer might; the scissor box in pixels of the bound framebuffer.
    void unsettle(int box_x, int box_y, int box_w, int box_h);
    // Ends the run when a callback gave back less than it found.
    void check(CallbackKind kind, const GlGivenBack &found);
    void release();

private:
    void make_objects();

    GlHarshness harshness_;
    HostGlNames &names_;
    std::function<void(const std::string &)> log_;
    XplaneGlCache cache_;
    unsigned foreign_textures_[XplaneGlCache::units] = {0, 0, 0, 0};
    unsigned foreign_framebuffer_ = 0;
    unsigned pack_buffer_ = 0, unpack_buffer_ = 0;
};

// Around one call of a plug-in's drawing, window or avionics callback: the
// state unsettled before it, and checked after it.
class GlCallbackScope {
public:
    GlCallbackScope(CallbackKind kind, int box_x, int box_y, int box_w, int box_h);
    ~GlCallbackScope();
    GlCallbackScope(const GlCallbackScope &) = delete;
    GlCallbackScope &operator=(const GlCallbackScope &) = delete;

private:
    CallbackKind kind_;
    GlGivenBack found_;
};

}  // namespace simhost

#endif
