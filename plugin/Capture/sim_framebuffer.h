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

// A stock device's screen as its avionics callback finds it: the framebuffer
// and its viewport (left, bottom, width, height).
struct sim_screen {
    sim_framebuffer fb;
    int viewport[4];
};

// Looks the datarefs up and whether this context copies by name (at enable,
// with the context current); a missing dataref is read from the driver
// instead, once per copy.
void sim_framebuffer_init();

// True when this context copies by name (OpenGL 4.5's direct state access),
// touching none of the simulator's bindings; false: by binding, with queries.
bool sim_framebuffer_by_name();

// The framebuffer the simulator has bound for this pass, with what is known
// of it; `now_s` is the simulator's clock. By binding, only its name.
sim_framebuffer sim_framebuffer_bound(float now_s);

// The viewport of this pass: left, bottom, width, height.
void sim_framebuffer_viewport(int out[4]);

// The screen of the device whose avionics callback runs. X-Plane documents
// the datarefs for drawing callbacks only, so for each device they are
// checked against the driver when they change and once a second; a device
// where they disagree (one log line) is given the driver's answer.
sim_screen sim_framebuffer_device_screen(int device, float now_s);

// Tests: copy by binding even where direct state access is there; read the
// framebuffer and viewport from the driver, as where the datarefs are missing.
void sim_framebuffer_force_binding(bool on);
void sim_framebuffer_ignore_datarefs(bool on);

#endif
