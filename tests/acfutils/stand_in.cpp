/*
 * The stand-in host for the utility library's window and cursor tests.
 */
#include "stand_in.h"

#include <cairo.h>
#include <stdexcept>
#include <GL/glew.h>
#include <XPLMGraphics.h>

namespace {
void fill_window(XPLMWindowID win, void *)
{
    int l, t, r, b;
    XPLMGetWindowGeometry(win, &l, &t, &r, &b);
    XPLMSetGraphicsState(0, 0, 0, 0, 0, 0, 0);
    glColor3ub(window_color >> 16, window_color >> 8 & 0xFF, window_color & 0xFF);
    glBegin(GL_QUADS);
    glVertex2i(l, b);
    glVertex2i(r, b);
    glVertex2i(r, t);
    glVertex2i(l, t);
    glEnd();
}
int take_click(XPLMWindowID, int, int, XPLMMouseStatus, void *) { return 1; }
}  // namespace

StandIn::StandIn()
{
    simhost::HostOptions options;
    options.root = root.path();
    options.echo_log = false;
    // The library's own checks read the cursor right after a move; the
    // once-a-frame question has a test of its own.
    options.timing.cursor_every_move = true;
    // Its window only paints a colour for the cursor tests to find, under
    // clean OpenGL state; the library's drawing is tried at the least kind
    // through the plug-in's tests.
    options.gl = simhost::GlHarshness::kind();
    host = std::make_unique<simhost::Host>(options);
}

XPLMWindowID StandIn::window(int left, int top, int right, int bottom, XPLMHandleCursor_f cursor, void *refcon)
{
    XPLMCreateWindow_t params = {};
    params.structSize = sizeof(params);
    params.left = left;
    params.top = top;
    params.right = right;
    params.bottom = bottom;
    params.visible = 1;
    params.drawWindowFunc = fill_window;
    params.handleMouseClickFunc = take_click;
    params.handleCursorFunc = cursor;
    params.refcon = refcon;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFloatingWindows;
    return XPLMCreateWindowEx(&params);
}

simhost::WindowState StandIn::state(XPLMWindowID win) const
{
    for (const simhost::WindowState &w : host->windows()) {
        if (w.id == win)
            return w;
    }
    throw std::runtime_error("no such window");
}

uint32_t png_pixel(const std::string &path, int x, int y)
{
    cairo_surface_t *png = cairo_image_surface_create_from_png(path.c_str());
    uint32_t px = 0;
    if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(png);
        const unsigned char *row = cairo_image_surface_get_data(png) + y * cairo_image_surface_get_stride(png);
        px = reinterpret_cast<const uint32_t *>(row)[x];
        if (cairo_image_surface_get_format(png) == CAIRO_FORMAT_RGB24)
            px |= 0xFF000000u;
    }
    cairo_surface_destroy(png);
    return px;
}
