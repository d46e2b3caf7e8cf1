/*
 * The "NO SIGNAL" state of a popup: kept from the times its regions last took
 * a picture, logged once per change by the capture's watch, and drawn as a
 * dimming quad with a caption texture over the frozen picture. Nothing here
 * allocates or paints per frame: the caption is painted once, and uploaded once.
 */
#include "no_signal.h"

#include <cairo.h>
#include <XPLMGraphics.h>
#include <XPLMProcessing.h>
#include <acfutils/glew.h>
#include <acfutils/log.h>
#include <acfutils/mt_cairo_render.h>

#include "popup.h"
#include "stroke_text.h"
#include "surface_texture.h"

namespace {

// A source drawn gives a picture every frame. More than a second without one
// is a source that stopped; half a second more lets the once-a-second look at
// the devices switch a source that X-Plane unbound before the caption shows.
// Timed by the simulator's clock, which runs on while it is paused.
constexpr float lost_after_s = 1.5f;

constexpr int caption_w = 512;
constexpr int caption_h = 128;

cairo_surface_t *caption = nullptr;
GLuint caption_tex = 0;

void paint_caption(cairo_t *cr, const char *text)
{
    const double unit = 6;
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    stroke_text_paint(cr, text, (caption_w - stroke_text_width(text, unit)) / 2, (caption_h - 8 * unit) / 2, unit);
}

// The texture of the caption, uploaded once; 0 when there is none.
GLuint caption_texture()
{
    if (caption_tex == 0 && caption != nullptr)
        caption_tex = surface_texture_upload(caption);
    return caption_tex;
}

// The caption is as bright as the display's screen is lit.
void draw_lost(const popup_area &a, float brightness)
{
    // The frozen picture stays visible, darkened to a third.
    XPLMSetGraphicsState(0, 0, 0, 0, 1, 0, 0);
    glColor4f(0, 0, 0, 0.65f);
    mt_cairo_render_quad(a.left, a.bottom, a.left + a.width, a.bottom + a.height);
    glColor4f(brightness, brightness, brightness, 1);

    GLuint tex = caption_texture();
    if (tex == 0)
        return;
    // Half the area's width, centred; the caption keeps its aspect.
    double w = a.width * 0.5, h = w * caption_h / caption_w;
    double l = a.left + (a.width - w) / 2, b = a.bottom + (a.height - h) / 2;
    surface_texture_draw(tex, l, b, l + w, b + h);
}

}  // namespace

void no_signal_init()
{
    if (caption != nullptr)
        return;
    caption = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, caption_w, caption_h);
    if (cairo_surface_status(caption) != CAIRO_STATUS_SUCCESS) {
        logMsg("No \"NO SIGNAL\" caption: cairo could not make its image; a display without pictures is only dimmed");
        cairo_surface_destroy(caption);
        caption = nullptr;
        return;
    }
    cairo_t *cr = cairo_create(caption);
    paint_caption(cr, "NO SIGNAL");
    cairo_destroy(cr);
}

void no_signal_fini()
{
    surface_texture_free(&caption_tex);
    if (caption != nullptr) {
        cairo_surface_destroy(caption);
        caption = nullptr;
    }
}

void popup_note_pictures(popup *pup)
{
    pup->last_picture_s = XPLMGetElapsedTime();
}

static bool picture_lost(const popup *pup)
{
    return XPLMGetElapsedTime() - pup->last_picture_s > lost_after_s;
}

static bool holds_picture(popup *pup)
{
    for (const capture_region *r = pup->capture.regions(); !capture_region_is_end(r); r++) {
        if (r->tex != 0)
            return true;
    }
    return false;
}

// Only a new picture lifts NO SIGNAL: a window opening, or changing its
// source, during an outage stays dark under the caption until one comes.
// Nor is a stale picture shown as live: a window that opens on a copy older
// than the time a source is given shows it under the caption at once.
void popup_expect_pictures(popup *pup)
{
    if (!pup->no_signal && !(holds_picture(pup) && picture_lost(pup)))
        pup->last_picture_s = XPLMGetElapsedTime();
}

void popup_forget_signal(popup *pup)
{
    pup->no_signal = false;
    pup->last_picture_s = 0;
}

void popup_watch_signal(popup *pup)
{
    const bool lost = picture_lost(pup);
    if (lost != pup->no_signal) {
        pup->no_signal = lost;
        if (lost)
            logMsg("VXR: %s has had no new picture for over a second (its source is not drawn: an outside view, a menu, "
                   "or the device is off): showing NO SIGNAL", capture_display_name(pup->capture.display));
        else
            logMsg("VXR: %s has a live picture again", capture_display_name(pup->capture.display));
    }
}

void popup_draw_signal_state(const popup *pup, const popup_area &area)
{
    if (picture_lost(pup))
        draw_lost(area, pup->capture.light.brightness);
}
