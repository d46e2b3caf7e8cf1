/*
 * The synthetic PFD and MFD (see panel_displays.h). Each display is drawn in
 * its own pixel coordinates (origin at its bottom-left corner), clipped to
 * its screen; the markers and the frame-number bits go on last, unblended,
 * with a dark border that keeps the pictures 4 pixels away from them.
 */
#include "panel_displays.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "draw2d.h"
#include "gl_api.h"

namespace simhost {
namespace {

constexpr int display_w = 1024;
constexpr int display_h = 768;
constexpr uint32_t dark_glass = 0x202020;
constexpr uint32_t panel_surface = 0x34373B;
constexpr uint32_t near_white = 0xF0F0F0;

// Marker squares: 24 x 24, centred 64 pixels in from each corner.
constexpr int marker_near = 52;
constexpr int marker_size = 24;
constexpr int keep_clear = 4;
// Frame-number bits: 16 cells of 8 x 8, least significant first, centred.
constexpr int bits_y = 16;
constexpr int bit_cell = 8;
constexpr int bit_count = 16;

struct MarkerColours {
    uint32_t bottom_left, bottom_right, top_left, top_right;
};
constexpr MarkerColours pfd_markers{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
constexpr MarkerColours mfd_markers{0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFF8000};
// Every stock device but the G1000's.
constexpr MarkerColours other_markers{0x00FF80, 0x8000FF, 0xFF0080, 0x80FF00};
constexpr uint32_t other_background = 0x102818;

std::string number(long value, const char *format = "%ld")
{
    char buf[32];
    snprintf(buf, sizeof buf, format, value);
    return buf;
}

// The label stands near the top-left corner of a screen that high.
void label_box(const std::string &label, int screen_h = display_h)
{
    const int top = screen_h - 28;
    fill_rect(100, top - 48, 100 + text_width(4, label) + 20, top, 0x000000, 0.7);
    set_colour(near_white);
    text(110, top - 38, 4, label);
}

void frame_counter(uint64_t frame, int screen_w = display_w)
{
    std::string s = "FRAME " + std::to_string(frame);
    double w = text_width(4, s);
    double x = (screen_w - w) / 2;
    fill_rect(x - 10, 34, x + w + 10, 76, 0x000000, 0.6);
    set_colour(near_white);
    text(x, 40, 4, s);
}

void draw_attitude(double t)
{
    const double cx = 512, cy = 420, px_per_degree = 9;
    double roll = 12 * std::sin(0.25 * t);
    double pitch = 5 * std::sin(0.37 * t);
    glPushMatrix();
    glTranslated(cx, cy, 0);
    glRotated(-roll, 0, 0, 1);
    glTranslated(0, -pitch * px_per_degree, 0);
    fill_rect(-1500, -1500, 1500, 0, 0x8A5A2E);
    set_colour(near_white);
    line(-1500, 0, 1500, 0, 3);
    for (int deg = -20; deg <= 20; deg += 5) {
        if (deg == 0)
            continue;
        double y = deg * px_per_degree;
        double half = deg % 10 == 0 ? 70 : 35;
        line(-half, y, half, y, 2);
        if (deg % 10 == 0)
            text(half + 8, y - 7, 2, number(std::abs(deg)));
    }
    glPopMatrix();

    set_colour(0xF2C200);
    fill_rect(cx - 170, cy - 4, cx - 70, cy + 4);
    fill_rect(cx + 70, cy - 4, cx + 170, cy + 4);
    fill_triangle(cx, cy, cx - 55, cy - 28, cx + 55, cy - 28);
    set_colour(near_white);
    fill_triangle(cx, cy + 262, cx - 10, cy + 280, cx + 10, cy + 280);
}

// A vertical tape: values scroll past a fixed pointer at the attitude centre.
void draw_tape(double x0, double x1, double value, double px_per_unit, int tick, int label_every, const char *unit,
               bool ticks_on_left)
{
    const double cy = 420, bottom = 180, top = 640;
    fill_rect(x0, bottom, x1, top, 0x000000, 0.45);
    set_colour(near_white);
    long first = static_cast<long>(std::floor((value - (cy - bottom) / px_per_unit) / tick)) * tick;
    for (long v = first; v <= value + (top - cy) / px_per_unit; v += tick) {
        double y = cy + (v - value) * px_per_unit;
        if (y < bottom + 6 || y > top - 6)
            continue;
        double tx0 = ticks_on_left ? x0 : x1 - 24;
        line(tx0, y, tx0 + 24, y, 2);
        if (v % label_every == 0)
            text(ticks_on_left ? x0 + 32 : x0 + 12, y - 7, 2, number(v));
    }
    std::string current = number(std::lround(value));
    fill_rect(x0, cy - 24, x1, cy + 24, 0x000000);
    set_colour(near_white);
    text(x0 + 10, cy - 14, 4, current);
    text((x0 + x1) / 2 - text_width(3, unit) / 2, 140, 3, unit);
}

void draw_heading(double t)
{
    const double left = 300, right = 724, bottom = 630 + 50, top = 740, px_per_degree = 4;
    double heading = std::fmod(90 + 2.5 * t, 360.0);
    fill_rect(left, bottom, right, top, 0x000000, 0.55);
    set_colour(near_white);
    long first = static_cast<long>(std::floor((heading - 52) / 5)) * 5;
    for (long h = first; h <= heading + 52; h += 5) {
        double x = 512 + (h - heading) * px_per_degree;
        if (x < left + 4 || x > right - 4)
            continue;
        line(x, bottom, x, bottom + (h % 10 == 0 ? 18 : 10), 2);
        if (h % 30 == 0) {
            std::string label = number(((h % 360) + 360) % 360, "%03ld");
            text(x - text_width(2, label) / 2, bottom + 28, 2, label);
        }
    }
    fill_triangle(512, bottom + 2, 502, bottom - 12, 522, bottom - 12);
}

void draw_pfd(double t, uint64_t frame)
{
    draw_attitude(t);
    glEnable(GL_BLEND);
    draw_tape(110, 230, 118 + 12 * std::sin(0.21 * t), 6, 5, 10, "KT", false);
    draw_tape(790, 920, 5500 + 240 * std::sin(0.13 * t), 0.6, 100, 200, "FT", true);
    draw_heading(t);
    label_box("PFD");
    frame_counter(frame);
    glDisable(GL_BLEND);
}

void draw_mfd(double t, uint64_t frame)
{
    set_colour(0x1B2A38);
    for (int x = 64; x < display_w; x += 64)
        line(x, 0, x, display_h, 1);
    for (int y = 64; y < display_h; y += 64)
        line(0, y, display_w, y, 1);

    const double cx = 512, cy = 384;
    set_colour(0x7F8FA0);
    for (int ring = 1; ring <= 3; ring++) {
        circle(cx, cy, 110 * ring, 2);
        text(cx + 8, cy + 110 * ring + 6, 2, number(5 * ring) + " NM");
    }

    static const double route[][2] = {{170, 140}, {330, 300}, {520, 330}, {700, 520}, {870, 610}};
    const int points = sizeof route / sizeof route[0];
    set_colour(0xD040D0);
    double total = 0;
    for (int i = 1; i < points; i++) {
        line(route[i - 1][0], route[i - 1][1], route[i][0], route[i][1], 4);
        total += std::hypot(route[i][0] - route[i - 1][0], route[i][1] - route[i - 1][1]);
    }
    set_colour(0xE0E0E0);
    for (const auto &p : route)
        fill_rect(p[0] - 5, p[1] - 5, p[0] + 5, p[1] + 5);

    // The aircraft flies the route at 40 pixels a second, then starts over.
    double along = std::fmod(40 * t, total);
    for (int i = 1; i < points; i++) {
        double dx = route[i][0] - route[i - 1][0], dy = route[i][1] - route[i - 1][1];
        double length = std::hypot(dx, dy);
        if (along > length && i + 1 < points) {
            along -= length;
            continue;
        }
        double ux = dx / length, uy = dy / length;
        double x = route[i - 1][0] + ux * along, y = route[i - 1][1] + uy * along;
        set_colour(near_white);
        fill_triangle(x + ux * 22, y + uy * 22, x - ux * 12 - uy * 12, y - uy * 12 + ux * 12,
                      x - ux * 12 + uy * 12, y - uy * 12 - ux * 12);
        break;
    }

    glEnable(GL_BLEND);
    label_box("MFD");
    frame_counter(frame);
    glDisable(GL_BLEND);
}

void draw_markers(const MarkerColours &colours, uint64_t frame, int screen_w = display_w, int screen_h = display_h)
{
    const int far = screen_w - marker_near - marker_size;
    const int high = screen_h - marker_near - marker_size;
    const int bits_x = (screen_w - bit_count * bit_cell) / 2;
    const struct {
        int x, y;
        uint32_t rgb;
    } squares[] = {
        {marker_near, marker_near, colours.bottom_left},
        {far, marker_near, colours.bottom_right},
        {marker_near, high, colours.top_left},
        {far, high, colours.top_right},
    };
    for (const auto &s : squares) {
        fill_rect(s.x - keep_clear, s.y - keep_clear, s.x + marker_size + keep_clear, s.y + marker_size + keep_clear,
                  0x000000);
        fill_rect(s.x, s.y, s.x + marker_size, s.y + marker_size, s.rgb);
    }
    fill_rect(bits_x - keep_clear, bits_y - keep_clear, bits_x + bit_count * bit_cell + keep_clear,
              bits_y + bit_cell + keep_clear, 0x000000);
    for (int i = 0; i < bit_count; i++) {
        bool one = (frame >> i) & 1;
        int x = bits_x + i * bit_cell;
        fill_rect(x, bits_y, x + bit_cell, bits_y + bit_cell, one ? 0xFFFFFF : 0x000000);
    }
}

void draw_display(int origin_x, bool pfd, const PanelLook &look)
{
    // The sky of the PFD's attitude indicator, the background of the MFD's map.
    clear_pixels(origin_x, 0, display_w, display_h, pfd ? 0x3C7FD0 : 0x0B1622);
    glEnable(GL_SCISSOR_TEST);
    glScissor(origin_x, 0, display_w, display_h);
    glPushMatrix();
    glTranslated(origin_x, 0, 0);
    if (pfd)
        draw_pfd(look.time, look.frame);
    else
        draw_mfd(look.time, look.frame);
    draw_markers(pfd ? pfd_markers : mfd_markers, look.frame);
    glPopMatrix();
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

void draw_panel(const PanelLook &look)
{
    glDisable(GL_BLEND);
    // Whole-buffer clears and clears on 64-pixel tile boundaries take the
    // software renderer's fast path.
    if (!look.lit) {
        clear_pixels(0, 0, panel_width, panel_height, dark_glass);
        clear_pixels(0, display_h, panel_width, panel_height - display_h, panel_surface);
        return;
    }
    clear_pixels(0, 0, panel_width, panel_height, 0x000000);
    if (look.grey_screens) {
        clear_pixels(0, 0, 2 * display_w, display_h, stock_panel_grey);
        return;
    }
    draw_display(0, true, look);
    draw_display(display_w, false, look);
}

void draw_device_screen(bool pfd, const PanelLook &look)
{
    glDisable(GL_BLEND);
    draw_display(0, pfd, look);
}

void draw_other_screen(int device, int width, int height, const PanelLook &look)
{
    glDisable(GL_BLEND);
    clear_pixels(0, 0, width, height, other_background);
    glEnable(GL_BLEND);
    label_box(std::to_string(device), height);
    frame_counter(look.frame, width);
    glDisable(GL_BLEND);
    draw_markers(other_markers, look.frame, width, height);
}

}  // namespace simhost
