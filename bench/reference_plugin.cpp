/*
 * The reference plug-in (see reference_plugin.h). It keeps to what the job
 * cannot do without: one state change and one quad per picture, one blit per
 * due copy, GL objects made once.
 */
#include "reference_plugin.h"

#include <cstring>
#include <vector>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <cairo.h>
#include <XPLMDataAccess.h>
#include <XPLMDisplay.h>
#include <XPLMGraphics.h>
#include <XPLMProcessing.h>

namespace bench {
namespace {

constexpr int display_w = 1024;
constexpr int display_h = 768;
constexpr uint64_t capture_period_us = 50000;   // 20 copies a second
// The panel's picture leaves a strip of 0.5 % of the height along the top, as
// the popups do; a device's screen fills the window.
constexpr double panel_picture_height = 0.995;

struct Display {
    const char *title;
    int src_x;
    XPLMDeviceID device;
    int w = display_w;   // the device's screen
    int h = display_h;
    bool overlay = true;   // the GNS 530's window has none, as the popups'
    XPLMWindowID win = nullptr;
    GLuint tex = 0;
    GLuint fbo = 0;
    bool captured = false;
    uint64_t last_us = 0;
    int captures = 0;
};

// The last two only in the four-screen scene.
Display displays[4] = {{"VXR G1000 PFD Bezelless", 0, xplm_device_G1000_PFD_1},
                       {"VXR G1000 MFD Bezelless", display_w, xplm_device_G1000_MFD},
                       {"VXR G1000 Copilot PFD Bezelless", 0, xplm_device_G1000_PFD_2},
                       {"VXR GNS 530 (pilot) Bezelless", 0, xplm_device_GNS530_1, 640, 480, false}};
XPLMAvionicsID device_handles[4] = {nullptr, nullptr, nullptr, nullptr};
ReferenceSetup setup;
XPLMDataRef panel_render_type = nullptr;
cairo_surface_t *overlay_image = nullptr;
GLuint overlay_tex = 0;
std::vector<unsigned char> readback_pixels;

// The simulator hands callbacks OpenGL state nobody promised; what the
// reference changes of it, it gives back, as the plug-in must. Made once:
// the texture unit and unpack buffer for uploads.
struct UploadState {
    GLint unit = GL_TEXTURE0, unpack = 0;
    UploadState()
    {
        glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
        glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack);
        glActiveTexture(GL_TEXTURE0);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    }
    ~UploadState()
    {
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(unpack));
        glActiveTexture(static_cast<GLenum>(unit));
    }
};

// Around a copy: the framebuffer bindings, the read buffer and the scissor test.
struct CopyState {
    GLint draw = 0, read = 0, read_buffer = GL_NONE;
    GLboolean scissor = GL_FALSE;
    CopyState()
    {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
        scissor = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(draw));
        glGetIntegerv(GL_READ_BUFFER, &read_buffer);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
    }
    ~CopyState()
    {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(draw));
        glReadBuffer(static_cast<GLenum>(read_buffer));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
        if (scissor)
            glEnable(GL_SCISSOR_TEST);
    }
};

void make_objects(Display &d)
{
    UploadState upload;
    glGenTextures(1, &d.tex);
    XPLMBindTexture2d(static_cast<int>(d.tex), 0);
    // No alpha: the picture is opaque (and llvmpipe copies into this format fastest).
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, d.w, d.h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (setup.way == CaptureWay::blit) {
        glGenFramebuffers(1, &d.fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, d.fbo);
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, d.tex, 0);
    }
}

int capture(XPLMDrawingPhase, int, void *)
{
    if (XPLMGetDatai(panel_render_type) != 2)
        return 1;
    // The first lit pass of a frame is the panel's; a later one holds something else.
    static int last_cycle = -1;
    if (XPLMGetCycleNumber() == last_cycle)
        return 1;
    last_cycle = XPLMGetCycleNumber();
    uint64_t now = setup.clock_us();
    for (Display &d : displays) {
        if (d.win == nullptr || (d.captured && now - d.last_us < capture_period_us))
            continue;
        CopyState copy;
        if (d.tex == 0)
            make_objects(d);
        if (setup.way == CaptureWay::blit) {
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, d.fbo);
            glBlitFramebuffer(d.src_x, 0, d.src_x + display_w, display_h, 0, 0, display_w, display_h,
                              GL_COLOR_BUFFER_BIT, GL_NEAREST);
        } else {
            GLint pack = 0;
            glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &pack);
            glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
            glReadPixels(d.src_x, 0, display_w, display_h, GL_BGRA, GL_UNSIGNED_BYTE, readback_pixels.data());
            glBindBuffer(GL_PIXEL_PACK_BUFFER, static_cast<GLuint>(pack));
            UploadState upload;
            XPLMBindTexture2d(static_cast<int>(d.tex), 0);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, display_w, display_h, GL_BGRA, GL_UNSIGNED_BYTE,
                            readback_pixels.data());
        }
        d.captured = true;
        d.last_us = now;
        d.captures++;
    }
    return 1;
}

// The stock device's whole screen, in the callback X-Plane calls right after
// drawing it, with its framebuffer bound: one blit per due copy.
int device_capture(XPLMDeviceID, int, void *ref)
{
    Display &d = *static_cast<Display *>(ref);
    uint64_t now = setup.clock_us();
    if (d.win == nullptr || (d.captured && now - d.last_us < capture_period_us))
        return 1;
    CopyState copy;
    if (d.tex == 0)
        make_objects(d);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, d.fbo);
    glBlitFramebuffer(0, 0, d.w, d.h, 0, 0, d.w, d.h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    d.captured = true;
    d.last_us = now;
    d.captures++;
    return 1;
}

void upload_overlay()
{
    // cairo's ARGB32: premultiplied, B G R A in memory, rows packed, top row first.
    UploadState upload;
    glGenTextures(1, &overlay_tex);
    XPLMBindTexture2d(static_cast<int>(overlay_tex), 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, cairo_image_surface_get_width(overlay_image),
                 cairo_image_surface_get_height(overlay_image), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 cairo_image_surface_get_data(overlay_image));
}

void quad(float l, float b, float r, float t, float v_bottom, float v_top)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, v_bottom);
    glVertex2f(l, b);
    glTexCoord2f(1, v_bottom);
    glVertex2f(r, b);
    glTexCoord2f(1, v_top);
    glVertex2f(r, t);
    glTexCoord2f(0, v_top);
    glVertex2f(l, t);
    glEnd();
}

void draw(XPLMWindowID win, void *ref)
{
    const Display &d = *static_cast<const Display *>(ref);
    int left = 0, top = 0, right = 0, bottom = 0;
    XPLMGetWindowGeometry(win, &left, &top, &right, &bottom);
    float l = static_cast<float>(left), r = static_cast<float>(right), b = static_cast<float>(bottom);
    float t = static_cast<float>(top);
    GLint unit = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glActiveTexture(GL_TEXTURE0);
    // Culling an earlier drawer left on would hide the quads.
    glPushAttrib(GL_POLYGON_BIT);
    glDisable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
    if (d.tex != 0) {
        XPLMSetGraphicsState(0, 1, 0, 0, 0, 0, 0);
        XPLMBindTexture2d(static_cast<int>(d.tex), 0);
        double height = setup.scene.device != 0 ? 1.0 : panel_picture_height;
        quad(l, b, r, b + static_cast<float>(height * (top - bottom)), 0, 1);
    }
    if (!d.overlay) {
        glPopAttrib();
        glActiveTexture(static_cast<GLenum>(unit));
        return;
    }
    if (overlay_tex == 0)
        upload_overlay();
    XPLMSetGraphicsState(0, 1, 0, 0, 1, 0, 0);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    XPLMBindTexture2d(static_cast<int>(overlay_tex), 0);
    quad(l, b, r, t, 1, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPopAttrib();
    glActiveTexture(static_cast<GLenum>(unit));
}

int no_click(XPLMWindowID, int, int, XPLMMouseStatus, void *) { return 1; }
void no_key(XPLMWindowID, char, XPLMKeyFlags, char, void *, int) {}
XPLMCursorStatus no_cursor(XPLMWindowID, int, int, void *) { return xplm_CursorDefault; }
int no_wheel(XPLMWindowID, int, int, int, int, void *) { return 0; }

XPLMWindowID make_window(Display &d)
{
    XPLMCreateWindow_t params = {};
    params.structSize = sizeof(params);
    params.left = 100;
    params.top = 100 + display_h;
    params.right = 100 + display_w;
    params.bottom = 100;
    params.visible = 1;
    params.drawWindowFunc = draw;
    params.handleMouseClickFunc = no_click;
    params.handleKeyFunc = no_key;
    params.handleCursorFunc = no_cursor;
    params.handleMouseWheelFunc = no_wheel;
    params.refcon = &d;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFloatingWindows;
    params.handleRightClickFunc = no_click;
    XPLMWindowID win = XPLMCreateWindowEx(&params);
    if (win != nullptr)
        XPLMSetWindowTitle(win, d.title);
    return win;
}

int start(char *name, char *sig, char *desc)
{
    strcpy(name, "Popups reference");
    strcpy(sig, "bench.popups.reference");
    strcpy(desc, "The least the popups' job needs, for the benchmarks");
    return 1;
}

int enable()
{
    overlay_image = cairo_image_surface_create_from_png(setup.overlay_png.c_str());
    if (cairo_surface_status(overlay_image) != CAIRO_STATUS_SUCCESS)
        return 0;
    panel_render_type = XPLMFindDataRef("sim/graphics/view/panel_render_type");
    if (setup.way == CaptureWay::readback)
        readback_pixels.assign(static_cast<size_t>(display_w) * display_h * 4, 0);

    displays[0].win = make_window(displays[0]);
    if (displays[0].win == nullptr)
        return 0;
    XPLMSetWindowPositioningMode(displays[0].win, xplm_WindowFullScreenOnMonitor, 1);
    const int shown = setup.scene.screens == 4 ? 4 : 2;
    if (shown == 4) {
        // PFD, copilot's PFD, GNS 530, MFD on units 1 to 4.
        const int units[4] = {1, 4, 2, 3};
        for (int i = 1; i < 4; i++) {
            displays[i].win = make_window(displays[i]);
            if (displays[i].win == nullptr)
                return 0;
            XPLMSetWindowPositioningMode(displays[i].win, xplm_WindowFullScreenOnMonitor, units[i]);
        }
    } else if (setup.scene.mfd != 0) {
        displays[1].win = make_window(displays[1]);
        if (displays[1].win == nullptr)
            return 0;
        XPLMSetWindowPositioningMode(displays[1].win, xplm_WindowPopOut, 0);
        XPLMSetWindowGeometryOS(displays[1].win, 200, 150 + display_h, 200 + display_w, 150);
    }
    if (setup.scene.device != 0) {
        for (int i = 0; i < shown; i++) {
            XPLMCustomizeAvionics_t params = {};
            params.structSize = sizeof(params);
            params.deviceId = displays[i].device;
            params.drawCallbackAfter = device_capture;
            params.refcon = &displays[i];
            device_handles[i] = XPLMRegisterAvionicsCallbacksEx(&params);
        }
    } else {
        XPLMRegisterDrawCallback(capture, xplm_Phase_Gauges, 0, nullptr);
    }
    return 1;
}

void disable()
{
    if (setup.scene.device != 0) {
        for (XPLMAvionicsID &handle : device_handles) {
            if (handle != nullptr)
                XPLMUnregisterAvionicsCallbacks(handle);
            handle = nullptr;
        }
    } else {
        XPLMUnregisterDrawCallback(capture, xplm_Phase_Gauges, 0, nullptr);
    }
    // X-Plane's binding cache must not hold a name deleted here.
    glActiveTexture(GL_TEXTURE0);
    XPLMBindTexture2d(0, 0);
    for (Display &d : displays) {
        if (d.win != nullptr)
            XPLMDestroyWindow(d.win);
        if (d.fbo != 0)
            glDeleteFramebuffers(1, &d.fbo);
        if (d.tex != 0)
            glDeleteTextures(1, &d.tex);
        d.win = nullptr;
        d.fbo = d.tex = 0;
        d.captured = false;
        d.captures = 0;
    }
    if (overlay_tex != 0)
        glDeleteTextures(1, &overlay_tex);
    overlay_tex = 0;
    if (overlay_image != nullptr)
        cairo_surface_destroy(overlay_image);
    overlay_image = nullptr;
    readback_pixels.clear();
}

void stop() {}
void receive(XPLMPluginID, int, void *) {}

}  // namespace

void reference_configure(const ReferenceSetup &s) { setup = s; }

simhost::PluginEntryPoints reference_plugin()
{
    simhost::PluginEntryPoints entry;
    entry.start = start;
    entry.enable = enable;
    entry.disable = disable;
    entry.stop = stop;
    entry.receive = receive;
    return entry;
}

int reference_captures(int display) { return displays[display].captures; }

bool reference_ready() { return overlay_tex != 0; }

}  // namespace bench
