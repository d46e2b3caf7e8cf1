/*
 * Drawing a popup window: the live picture of its capture regions fills the
 * drawn area, black the rest of the window, and the overlay image, uploaded
 * once at the first draw, lies over the picture; all of it as bright as the
 * cockpit shows the screen, and only black without power. Nothing is read
 * back.
 */
#include "popup.h"
#include "popup_callbacks.h"
#include "faces_drawn.h"
#include "popup_area.h"
#include "no_signal.h"
#include "surface_texture.h"

#include <XPLMGraphics.h>
#include <acfutils/cursor.h>
#include <acfutils/glew.h>

#include "../guard.h"

// Destination fractions measure from the top of the drawn area down.
static void place(const popup_area &a, double dst_x, double dst_y, double dst_w, double dst_h,
                  vect2_t *pos, vect2_t *size)
{
    *pos = VECT2(a.left + a.width * dst_x, a.bottom + a.height * (1 - dst_y - dst_h));
    *size = VECT2(a.width * dst_w, a.height * dst_h);
}

static void black_quad(int left, int bottom, int right, int top)
{
    if (right <= left || top <= bottom)
        return;
    glVertex2i(left, bottom);
    glVertex2i(right, bottom);
    glVertex2i(right, top);
    glVertex2i(left, top);
}

// What the picture leaves of the window (fill_window 0) is black, as the
// unlit part of a screen is: the bands beside the picture, or above it.
static void draw_black_around(XPLMWindowID win, const popup_area &a)
{
    int left = 0, top = 0, right = 0, bottom = 0;
    XPLMGetWindowGeometry(win, &left, &top, &right, &bottom);
    int a_right = a.left + a.width, a_top = a.bottom + a.height;
    if (a.left <= left && a_right >= right && a_top >= top)
        return;
    XPLMSetGraphicsState(0, 0, 0, 0, 0, 0, 0);
    glColor4f(0, 0, 0, 1);
    glBegin(GL_QUADS);
    black_quad(left, bottom, a.left, top);
    black_quad(a_right, bottom, right, top);
    black_quad(a.left, a_top, a_right, top);
    glEnd();
}

static void draw(XPLMWindowID win, popup *pup)
{
    // A cursor of ours not asked for since the last frame: the pointer has
    // left our windows, and the simulator's window gets its own cursor back.
    cursor_give_back_unasked();
    const faces_drawn faces;
    popup_area area = popup_drawn_area(pup, win);
    vect2_t pos, size;
    draw_black_around(win, area);

    // A screen without power is black, and says nothing: nothing is wrong.
    // One with nothing to show (no panel region, no device) is black too,
    // under NO SIGNAL.
    if (!pup->capture.light.powered || capture_region_is_end(pup->capture.regions())) {
        XPLMSetGraphicsState(0, 0, 0, 0, 0, 0, 0);
        glColor4f(0, 0, 0, 1);
        glRecti(area.left, area.bottom, area.left + area.width, area.bottom + area.height);
    }
    if (pup->capture.light.powered) {
        for (capture_region *r = pup->capture.regions(); !capture_region_is_end(r); r++) {
            place(area, r->dst_x, r->dst_y, r->dst_w, r->dst_h, &pos, &size);
            capture_region_draw(r, pos, size, pup->capture.light.brightness);
        }
        popup_draw_signal_state(pup, area);
    }

    // A popup whose image did not load opens without an overlay. The frame
    // is lit as the screen is: not at all without power.
    if (pup->image == nullptr || !pup->capture.light.powered)
        return;
    if (pup->overlay_tex == 0)
        pup->overlay_tex = surface_texture_upload(pup->image);
    const float brightness = pup->capture.light.brightness;
    glColor4f(brightness, brightness, brightness, 1);
    surface_texture_draw(pup->overlay_tex, area.left, area.bottom, area.left + area.width, area.bottom + area.height);
}

void popup_draw(XPLMWindowID win, void *ref)
{
    guarded("popup_draw", [win, ref] { draw(win, static_cast<popup *>(ref)); });
}
