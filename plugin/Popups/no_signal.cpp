/*
 * The "NO SIGNAL" state of a popup: kept from the times its regions last took
 * a picture, logged once per change, and drawn as a dimming quad with a
 * caption texture over the frozen picture. Nothing here allocates or paints
 * per frame: the caption is painted once, and uploaded once.
 */
#include "no_signal.h"

#include <cairo.h>
#include <XPLMGraphics.h>
#include <XPLMProcessing.h>
#include <acfutils/glew.h>
#include <acfutils/log.h>

#include "popupSystem.h"
#include "texture_unit.h"

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

// Block letters on a grid 6 wide and 8 high (y down), each up to three
// strokes given as digit pairs "xy": no font is needed.
struct glyph {
    char letter;
    const char *strokes[3];
};

const glyph glyphs[] = {
    {'N', {"08006860", nullptr, nullptr}},
    {'O', {"0060680800", nullptr, nullptr}},
    {'S', {"600004646808", nullptr, nullptr}},
    {'I', {"3038", "1050", "1858"}},
    {'G', {"600008686434", nullptr, nullptr}},
    {'A', {"08006068", "0464", nullptr}},
    {'L', {"000868", nullptr, nullptr}},
};

const glyph *find_glyph(char letter)
{
    for (const glyph &g : glyphs) {
        if (g.letter == letter)
            return &g;
    }
    return nullptr;
}

void paint_caption(cairo_t *cr, const char *text)
{
    // Nine letters of 6 units with 3 between, 8 units high, centred.
    const double unit = 6, advance = 9 * unit;
    double x = (caption_w - (9 * advance - 3 * unit)) / 2, y = (caption_h - 8 * unit) / 2;
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_set_line_width(cr, 1.6 * unit);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
    for (const char *c = text; *c != '\0'; c++, x += advance) {
        const glyph *g = find_glyph(*c);
        for (int s = 0; g != nullptr && s < 3 && g->strokes[s] != nullptr; s++) {
            const char *p = g->strokes[s];
            cairo_move_to(cr, x + (p[0] - '0') * unit, y + (p[1] - '0') * unit);
            for (p += 2; p[0] != '\0' && p[1] != '\0'; p += 2)
                cairo_line_to(cr, x + (p[0] - '0') * unit, y + (p[1] - '0') * unit);
            cairo_stroke(cr);
        }
    }
}

const char *display_name(const popup *pup)
{
    return pup == &MFD_popup ? "MFD" : "PFD";
}

// The texture of the caption, uploaded once; 0 when there is none.
GLuint caption_texture()
{
    if (caption_tex != 0 || caption == nullptr)
        return caption_tex;
    cairo_surface_flush(caption);
    GLint unpack_buffer = 0, row_length = 0, alignment = 4;
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack_buffer);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &row_length);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, cairo_image_surface_get_stride(caption) / 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glGenTextures(1, &caption_tex);
    XPLMBindTexture2d(static_cast<int>(caption_tex), 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, caption_w, caption_h, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 cairo_image_surface_get_data(caption));
    glPixelStorei(GL_UNPACK_ROW_LENGTH, row_length);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(unpack_buffer));
    return caption_tex;
}

void draw_lost(const popup_area &a)
{
    // The frozen picture stays visible, darkened to a third.
    XPLMSetGraphicsState(0, 0, 0, 0, 1, 0, 0);
    glColor4f(0, 0, 0, 0.65f);
    mt_cairo_render_quad(a.left, a.bottom, a.left + a.width, a.bottom + a.height);
    glColor4f(1, 1, 1, 1);

    GLuint tex = caption_texture();
    if (tex == 0)
        return;
    // Half the area's width, centred; the caption keeps its aspect.
    double w = a.width * 0.5, h = w * caption_h / caption_w;
    double l = a.left + (a.width - w) / 2, b = a.bottom + (a.height - h) / 2;
    XPLMSetGraphicsState(0, 1, 0, 0, 1, 0, 0);
    XPLMBindTexture2d(static_cast<int>(tex), 0);
    // The caption is premultiplied, as cairo paints.
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    mt_cairo_render_quad(l, b, l + w, b + h);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
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
    if (caption_tex != 0) {
        // X-Plane's binding cache must not go on believing the name is bound.
        {
            texture_unit_0_scope unit0;
            XPLMBindTexture2d(0, 0);
        }
        glDeleteTextures(1, &caption_tex);
        caption_tex = 0;
    }
    if (caption != nullptr) {
        cairo_surface_destroy(caption);
        caption = nullptr;
    }
}

void popup_note_pictures(popup *pup)
{
    pup->last_picture_s = XPLMGetElapsedTime();
}

void popup_expect_pictures(popup *pup)
{
    pup->last_picture_s = XPLMGetElapsedTime();
}

void popup_draw_signal_state(popup *pup, const popup_area &area)
{
    const bool lost = XPLMGetElapsedTime() - pup->last_picture_s > lost_after_s;
    if (lost != pup->no_signal) {
        pup->no_signal = lost;
        if (lost)
            logMsg("VXR: %s has had no new picture for over a second (its source is not drawn: an outside view, a menu, "
                   "or the device is off): showing NO SIGNAL", display_name(pup));
        else
            logMsg("VXR: %s has a live picture again", display_name(pup));
    }
    if (lost)
        draw_lost(area);
}
