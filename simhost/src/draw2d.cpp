/*
 * Immediate-mode drawing helpers and the block font (see draw2d.h).
 */
#include "draw2d.h"

#include <cmath>

#include "gl_api.h"

namespace simhost {
namespace {

struct Glyph {
    char c;
    uint8_t rows[7];   // top row first; bit 4 is the leftmost column
};

const Glyph glyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}}, {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}}, {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
};

const Glyph *find_glyph(char c)
{
    for (const Glyph &g : glyphs) {
        if (g.c == c)
            return &g;
    }
    return nullptr;
}

}  // namespace

void set_colour(uint32_t rgb, double alpha)
{
    glColor4f(((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f,
              static_cast<float>(alpha));
}

void clear_pixels(int x, int y, int w, int h, uint32_t rgb)
{
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w, h);
    glClearColor(((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

void fill_rect(double x0, double y0, double x1, double y1)
{
    glBegin(GL_QUADS);
    glVertex2d(x0, y0);
    glVertex2d(x1, y0);
    glVertex2d(x1, y1);
    glVertex2d(x0, y1);
    glEnd();
}

void fill_rect(double x0, double y0, double x1, double y1, uint32_t rgb, double alpha)
{
    set_colour(rgb, alpha);
    fill_rect(x0, y0, x1, y1);
}

void line(double x0, double y0, double x1, double y1, double width)
{
    // A quad, so that the width does not depend on the driver's line limits.
    double dx = x1 - x0, dy = y1 - y0;
    double length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0)
        return;
    double nx = -dy / length * width / 2, ny = dx / length * width / 2;
    glBegin(GL_QUADS);
    glVertex2d(x0 + nx, y0 + ny);
    glVertex2d(x1 + nx, y1 + ny);
    glVertex2d(x1 - nx, y1 - ny);
    glVertex2d(x0 - nx, y0 - ny);
    glEnd();
}

void circle(double cx, double cy, double radius, double width, int segments)
{
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= segments; i++) {
        double a = 2 * M_PI * i / segments;
        double c = std::cos(a), s = std::sin(a);
        glVertex2d(cx + c * (radius - width / 2), cy + s * (radius - width / 2));
        glVertex2d(cx + c * (radius + width / 2), cy + s * (radius + width / 2));
    }
    glEnd();
}

void fill_triangle(double x0, double y0, double x1, double y1, double x2, double y2)
{
    glBegin(GL_TRIANGLES);
    glVertex2d(x0, y0);
    glVertex2d(x1, y1);
    glVertex2d(x2, y2);
    glEnd();
}

void text(double x, double y, double pixel, const std::string &s)
{
    glBegin(GL_QUADS);
    for (size_t i = 0; i < s.size(); i++) {
        const Glyph *g = find_glyph(s[i]);
        if (g == nullptr)
            continue;
        double left = x + static_cast<double>(i) * 6 * pixel;
        for (int row = 0; row < 7; row++) {
            double bottom = y + (6 - row) * pixel;
            for (int col = 0; col < 5; col++) {
                if ((g->rows[row] >> (4 - col)) & 1) {
                    double l = left + col * pixel;
                    glVertex2d(l, bottom);
                    glVertex2d(l + pixel, bottom);
                    glVertex2d(l + pixel, bottom + pixel);
                    glVertex2d(l, bottom + pixel);
                }
            }
        }
    }
    glEnd();
}

double text_width(double pixel, const std::string &s)
{
    return s.empty() ? 0 : (static_cast<double>(s.size()) * 6 - 1) * pixel;
}

}  // namespace simhost
