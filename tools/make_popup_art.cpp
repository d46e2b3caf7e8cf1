// Draws the popup windows' art with cairo: the overlay laid over the live
// display picture (nobezel.png) and the fourteen mouse cursors.
// Usage: make_popup_art OUTDIR. Same bytes on every run: nothing depends on time.
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// ---------------------------------------------------------------- cursors

constexpr int cursor_size = 32;
constexpr double centre = cursor_size / 2.0;  // the host puts this point under the pointer
constexpr double outline_width = 1.5;         // dark rim around every light shape

// Every cursor is painted twice with the same shapes: first dark and widened
// (the rim), then light at its true width, so it reads on any background.
enum class Pass { rim, body };

struct Ink {
    cairo_t *cr;
    Pass pass;
};

void set_ink_colour(const Ink &ink)
{
    if (ink.pass == Pass::rim)
        cairo_set_source_rgb(ink.cr, 0.07, 0.07, 0.07);
    else
        cairo_set_source_rgb(ink.cr, 1.0, 1.0, 1.0);
}

// Strokes the current path as a line of the given width.
void ink_stroke(const Ink &ink, double width)
{
    set_ink_colour(ink);
    cairo_set_line_cap(ink.cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(ink.cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(ink.cr, ink.pass == Pass::rim ? width + 2 * outline_width : width);
    cairo_stroke(ink.cr);
}

// Fills the current path as a solid shape.
void ink_fill(const Ink &ink)
{
    set_ink_colour(ink);
    if (ink.pass == Pass::rim) {
        cairo_set_line_join(ink.cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(ink.cr, 2 * outline_width);
        cairo_fill_preserve(ink.cr);
        cairo_stroke(ink.cr);
    } else {
        cairo_fill(ink.cr);
    }
}

// Dark inner lines (a hand's finger creases), drawn over the light body only.
void ink_crease(const Ink &ink, double width)
{
    if (ink.pass == Pass::rim) {
        cairo_new_path(ink.cr);
        return;
    }
    cairo_set_source_rgb(ink.cr, 0.07, 0.07, 0.07);
    cairo_set_line_cap(ink.cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(ink.cr, width);
    cairo_stroke(ink.cr);
}

struct ArrowStyle {
    double shaft_width;
    double head_length;
    double head_half_width;
};

// A solid triangular head whose tip is at (tx, ty), pointing along (dx, dy) (unit).
void arrow_head(const Ink &ink, double tx, double ty, double dx, double dy, const ArrowStyle &s)
{
    const double bx = tx - dx * s.head_length, by = ty - dy * s.head_length;
    const double nx = -dy, ny = dx;
    cairo_move_to(ink.cr, tx, ty);
    cairo_line_to(ink.cr, bx + nx * s.head_half_width, by + ny * s.head_half_width);
    cairo_line_to(ink.cr, bx - nx * s.head_half_width, by - ny * s.head_half_width);
    cairo_close_path(ink.cr);
    ink_fill(ink);
}

// An arrow from (x0, y0) to its tip at (x1, y1); with both_ends, a head at each end.
void arrow(const Ink &ink, double x0, double y0, double x1, double y1, const ArrowStyle &s,
           bool both_ends = false)
{
    const double len = std::hypot(x1 - x0, y1 - y0);
    const double dx = (x1 - x0) / len, dy = (y1 - y0) / len;
    // The shaft stops inside the heads so that its round caps stay hidden.
    const double inset = s.head_length * 0.5;
    cairo_move_to(ink.cr, both_ends ? x0 + dx * inset : x0, both_ends ? y0 + dy * inset : y0);
    cairo_line_to(ink.cr, x1 - dx * inset, y1 - dy * inset);
    ink_stroke(ink, s.shaft_width);
    arrow_head(ink, x1, y1, dx, dy, s);
    if (both_ends)
        arrow_head(ink, x0, y0, -dx, -dy, s);
}

// Pointing hand, index finger up; the fingertip sits over the hot spot.
void draw_point(const Ink &ink)
{
    cairo_t *cr = ink.cr;
    cairo_new_path(cr);
    cairo_arc(cr, 16.0, 13.5, 2.25, M_PI, 2 * M_PI);      // index fingertip
    cairo_line_to(cr, 18.25, 20.0);
    cairo_arc(cr, 19.75, 20.0, 1.5, M_PI, 2 * M_PI);      // curled middle finger
    cairo_arc(cr, 22.75, 20.5, 1.5, M_PI, 2 * M_PI);      // ring finger
    cairo_arc(cr, 25.6, 21.5, 1.35, M_PI, 2 * M_PI);      // little finger
    cairo_line_to(cr, 26.95, 25.0);
    cairo_curve_to(cr, 26.95, 28.0, 24.5, 29.5, 21.5, 29.5);  // heel of the hand
    cairo_line_to(cr, 16.5, 29.5);
    cairo_curve_to(cr, 14.0, 29.5, 12.5, 28.0, 11.0, 26.0);   // thumb's root
    cairo_line_to(cr, 9.3, 23.6);
    cairo_arc(cr, 10.6, 22.5, 1.7, M_PI * 0.78, M_PI * 1.75); // thumb tip
    cairo_line_to(cr, 13.75, 24.0);
    cairo_close_path(cr);
    ink_fill(ink);

    // Creases between the curled fingers and along the index finger.
    cairo_move_to(cr, 21.25, 20.6);
    cairo_line_to(cr, 21.25, 23.2);
    cairo_move_to(cr, 24.25, 21.2);
    cairo_line_to(cr, 24.25, 23.6);
    cairo_move_to(cr, 18.25, 20.4);
    cairo_line_to(cr, 18.25, 23.0);
    ink_crease(ink, 1.0);
}

// Move cross: four arrows out from the hot spot.
void draw_click(const Ink &ink)
{
    const ArrowStyle s{2.0, 5.5, 4.0};
    arrow(ink, 3.5, centre, 28.5, centre, s, true);
    arrow(ink, centre, 3.5, centre, 28.5, s, true);
}

void draw_up(const Ink &ink)
{
    const ArrowStyle s{4.0, 10.0, 8.5};
    arrow(ink, centre, 27.0, centre, 5.0, s);
}

// A ring open at the top, travelling counter-clockwise on screen (top, left,
// bottom, right), its head at the right end of the gap pointing into it.
void draw_rotate_ccw(const Ink &ink, double radius, double width, const ArrowStyle &head)
{
    const double gap = 80.0 * M_PI / 180.0;
    const double start = -M_PI / 2 - gap / 2;  // left end of the gap (y grows downwards)
    const double end = -M_PI / 2 + gap / 2;    // right end of the gap
    // The arc stops under the head's base; the head carries it on into the gap.
    const double end_x = centre + radius * std::cos(end), end_y = centre + radius * std::sin(end);
    const double dx = std::sin(end), dy = -std::cos(end);  // direction of travel at the end
    cairo_new_path(ink.cr);
    cairo_arc_negative(ink.cr, centre, centre, radius, start, end + 0.15);
    ink_stroke(ink, width);
    arrow_head(ink, end_x + dx * head.head_length * 0.8, end_y + dy * head.head_length * 0.8, dx, dy,
               head);
}

void draw_rotate_small(const Ink &ink) { draw_rotate_ccw(ink, 6.0, 2.0, {2.0, 5.0, 4.0}); }
void draw_rotate_medium(const Ink &ink) { draw_rotate_ccw(ink, 8.5, 2.5, {2.5, 6.0, 4.75}); }
void draw_rotate_large(const Ink &ink) { draw_rotate_ccw(ink, 11.0, 2.75, {2.75, 7.0, 5.25}); }

void draw_close(const Ink &ink)
{
    cairo_t *cr = ink.cr;
    cairo_move_to(cr, 8.5, 8.5);
    cairo_line_to(cr, 23.5, 23.5);
    cairo_move_to(cr, 23.5, 8.5);
    cairo_line_to(cr, 8.5, 23.5);
    ink_stroke(ink, 3.5);
}

// A box open at its top-right corner with an arrow leaving through the opening.
void draw_pop(const Ink &ink)
{
    cairo_t *cr = ink.cr;
    cairo_move_to(cr, 14.0, 10.0);
    cairo_line_to(cr, 6.0, 10.0);
    cairo_line_to(cr, 6.0, 26.0);
    cairo_line_to(cr, 22.0, 26.0);
    cairo_line_to(cr, 22.0, 18.0);
    ink_stroke(ink, 2.5);
    arrow(ink, 12.5, 19.5, 26.5, 5.5, {2.5, 7.5, 5.0});
}

// Diagonal double arrow along the north-east / south-west diagonal.
void draw_resize_ne_sw(const Ink &ink)
{
    arrow(ink, 6.0, 26.0, 26.0, 6.0, {2.5, 7.5, 5.5}, true);
}

enum class Mirror { none, left_right, top_bottom };

struct CursorArt {
    const char *file;
    void (*draw)(const Ink &);
    Mirror mirror;
};

// Clockwise arrows, the north-west / south-east diagonal and the down arrow are
// drawn as mirror images of their partners, so each pair has the same shape.
const CursorArt cursor_art[] = {
    {"m_point.png", draw_point, Mirror::none},
    {"m_click.png", draw_click, Mirror::none},
    {"a_up.png", draw_up, Mirror::none},
    {"a_dn.png", draw_up, Mirror::top_bottom},
    {"r_s_l.png", draw_rotate_small, Mirror::none},
    {"r_s_r.png", draw_rotate_small, Mirror::left_right},
    {"r_m_l.png", draw_rotate_medium, Mirror::none},
    {"r_m_r.png", draw_rotate_medium, Mirror::left_right},
    {"r_l_l.png", draw_rotate_large, Mirror::none},
    {"r_l_r.png", draw_rotate_large, Mirror::left_right},
    {"b_close.png", draw_close, Mirror::none},
    {"b_pop.png", draw_pop, Mirror::none},
    {"b_resize_l.png", draw_resize_ne_sw, Mirror::none},
    {"b_resize_r.png", draw_resize_ne_sw, Mirror::left_right},
};

cairo_surface_t *render_cursor(const CursorArt &art)
{
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cursor_size, cursor_size);
    cairo_t *cr = cairo_create(surface);
    if (art.mirror == Mirror::left_right) {
        cairo_translate(cr, cursor_size, 0);
        cairo_scale(cr, -1, 1);
    } else if (art.mirror == Mirror::top_bottom) {
        cairo_translate(cr, 0, cursor_size);
        cairo_scale(cr, 1, -1);
    }
    for (Pass pass : {Pass::rim, Pass::body}) {
        cairo_new_path(cr);
        art.draw(Ink{cr, pass});
    }
    cairo_destroy(cr);
    return surface;
}

// ---------------------------------------------------------------- overlay

constexpr int overlay_w = 1024;
constexpr int overlay_h = 768;
constexpr double frame_width = 3.0;
constexpr double badge_inset = 8.0;   // badge's distance from the image edges
constexpr double badge_size = 30.0;   // stays well inside the 48-pixel active corner
constexpr double badge_radius = 6.0;

void rounded_square(cairo_t *cr, double x, double y, double size, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + size - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + size - r, y + size - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + size - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void draw_frame(cairo_t *cr)
{
    // Outer band: dark and partly transparent, so the picture's edge stays visible.
    cairo_set_source_rgba(cr, 0.15, 0.15, 0.16, 0.75);
    cairo_rectangle(cr, 0, 0, overlay_w, overlay_h);
    cairo_rectangle(cr, frame_width, frame_width, overlay_w - 2 * frame_width,
                    overlay_h - 2 * frame_width);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
    // A faint light line inside it, so the frame also shows on dark pictures.
    cairo_set_source_rgba(cr, 0.75, 0.75, 0.75, 0.22);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, frame_width + 0.5, frame_width + 0.5, overlay_w - 2 * frame_width - 1,
                    overlay_h - 2 * frame_width - 1);
    cairo_stroke(cr);
}

// The badge's backdrop in the corner whose badge starts at (x, y).
void draw_badge(cairo_t *cr, double x, double y)
{
    rounded_square(cr, x, y, badge_size, badge_radius);
    cairo_set_source_rgba(cr, 0.10, 0.10, 0.11, 0.55);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.85, 0.85, 0.85, 0.35);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void set_mark_ink(cairo_t *cr)
{
    cairo_set_source_rgba(cr, 0.93, 0.93, 0.93, 0.85);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

// Marks are drawn in badge-local coordinates: (0, 0) to (badge_size, badge_size).
void mark_close(cairo_t *cr)
{
    set_mark_ink(cr);
    cairo_move_to(cr, 9, 9);
    cairo_line_to(cr, 21, 21);
    cairo_move_to(cr, 21, 9);
    cairo_line_to(cr, 9, 21);
    cairo_stroke(cr);
}

void mark_pop(cairo_t *cr)
{
    set_mark_ink(cr);
    cairo_move_to(cr, 13.5, 9);
    cairo_line_to(cr, 8, 9);
    cairo_line_to(cr, 8, 22);
    cairo_line_to(cr, 21, 22);
    cairo_line_to(cr, 21, 16.5);
    cairo_stroke(cr);
    cairo_move_to(cr, 13, 17);
    cairo_line_to(cr, 22.5, 7.5);
    cairo_stroke(cr);
    cairo_move_to(cr, 16.5, 7.5);
    cairo_line_to(cr, 22.5, 7.5);
    cairo_line_to(cr, 22.5, 13.5);
    cairo_stroke(cr);
}

// Grip lines hugging the badge's bottom-right corner; the bottom-left badge
// gets them mirrored.
void mark_grip(cairo_t *cr)
{
    set_mark_ink(cr);
    for (double d : {5.0, 10.5, 16.0}) {
        cairo_move_to(cr, 23.5 - d, 23.5);
        cairo_line_to(cr, 23.5, 23.5 - d);
    }
    cairo_stroke(cr);
}

void draw_corner(cairo_t *cr, double x, double y, bool mirror, void (*mark)(cairo_t *))
{
    draw_badge(cr, x, y);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (mirror) {
        cairo_translate(cr, badge_size, 0);
        cairo_scale(cr, -1, 1);
    }
    mark(cr);
    cairo_restore(cr);
}

cairo_surface_t *render_overlay()
{
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, overlay_w, overlay_h);
    cairo_t *cr = cairo_create(surface);
    draw_frame(cr);
    const double near = badge_inset;
    const double far_x = overlay_w - badge_inset - badge_size;
    const double far_y = overlay_h - badge_inset - badge_size;
    draw_corner(cr, near, near, false, mark_close);
    draw_corner(cr, far_x, near, false, mark_pop);
    draw_corner(cr, near, far_y, true, mark_grip);
    draw_corner(cr, far_x, far_y, false, mark_grip);
    cairo_destroy(cr);
    return surface;
}

// Rectangles of the overlay that must let the live picture through untouched:
// the four marker spots the displays carry 64 pixels in from each corner, and
// the strip where they show their frame number.
struct ClearRect {
    int x0, y0, x1, y1;  // half-open, image pixels, y downwards
};

const ClearRect overlay_clear_rects[] = {
    {48, 48, 80, 80},     {944, 48, 976, 80},   {48, 688, 80, 720},
    {944, 688, 976, 720}, {440, 736, 584, 760},
};

bool overlay_is_clear_where_required(cairo_surface_t *surface)
{
    cairo_surface_flush(surface);
    const unsigned char *data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    bool clear = true;
    for (const ClearRect &r : overlay_clear_rects) {
        int covered = 0;
        for (int y = r.y0; y < r.y1; y++) {
            const auto *row = reinterpret_cast<const uint32_t *>(data + y * stride);
            for (int x = r.x0; x < r.x1; x++) {
                if ((row[x] >> 24) != 0)
                    covered++;
            }
        }
        if (covered > 0) {
            std::fprintf(stderr, "make_popup_art: %d pixels not transparent in [%d,%d)x[%d,%d)\n",
                         covered, r.x0, r.x1, r.y0, r.y1);
            clear = false;
        }
    }
    return clear;
}

bool write_png(cairo_surface_t *surface, const std::filesystem::path &path)
{
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "make_popup_art: cannot write %s: %s\n", path.c_str(),
                     cairo_status_to_string(status));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_popup_art OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::filesystem::path cursor_dir = out / "cursors";
    std::error_code ec;
    std::filesystem::create_directories(cursor_dir, ec);
    if (ec) {
        std::fprintf(stderr, "make_popup_art: cannot create %s: %s\n", cursor_dir.c_str(),
                     ec.message().c_str());
        return 1;
    }

    bool ok = true;
    cairo_surface_t *overlay = render_overlay();
    if (!overlay_is_clear_where_required(overlay))
        ok = false;
    else
        ok = write_png(overlay, out / "nobezel.png");
    cairo_surface_destroy(overlay);

    for (const CursorArt &art : cursor_art) {
        cairo_surface_t *cursor = render_cursor(art);
        ok = write_png(cursor, cursor_dir / art.file) && ok;
        cairo_surface_destroy(cursor);
    }
    return ok ? 0 : 1;
}
