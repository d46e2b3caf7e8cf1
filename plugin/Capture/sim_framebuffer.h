/*
 * The simulator's framebuffer as the copy sees it, without asking the driver
 * each frame: its name and viewport from the simulator's datarefs, and what
 * a copy needs to know of it (its read buffer, whether it is multisampled)
 * asked once per framebuffer and again once a second.
 */
#ifndef VXR_SIM_FRAMEBUFFER_H
#define VXR_SIM_FRAMEBUFFER_H

// In GL's types (GLuint, GLint), without its headers.
struct sim_framebuffer {
    unsigned name;
    int read_buffer;   // what the simulator left it reading from
    int samples;       // more than 0: multisampled, which a copy does not read
};

// Looks the datarefs up and whether the driver copies by name (at enable); a
// missing dataref is read from the driver instead, once per copy.
void sim_framebuffer_init();

// True when this context copies by name (OpenGL 4.5's direct state access),
// touching none of the simulator's bindings; false: by binding, with queries.
bool sim_framebuffer_by_name();

// The framebuffer the simulator has bound for this pass, with what is known
// of it; `now_s` is the simulator's clock.
sim_framebuffer sim_framebuffer_bound(float now_s);

// The viewport of this pass: left, bottom, width, height.
void sim_framebuffer_viewport(int out[4]);

// Tests: copy by binding even where direct state access is there; read the
// framebuffer and viewport from the driver, as where the datarefs are missing.
void sim_framebuffer_force_binding(bool on);
void sim_framebuffer_ignore_datarefs(bool on);

#endif
