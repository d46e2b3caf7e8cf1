/*
 * The stroke font: each character up to four strokes, each stroke a string
 * of digit pairs "xy" on a grid 6 wide and 8 high (y down).
 */
#include "stroke_text.h"

#include <cstring>

namespace {

struct glyph {
    char letter;
    const char *strokes[4];
};

const glyph glyphs[] = {
    {'A', {"08006068", "0464"}},
    {'B', {"08005061635404", "5465675808"}},
    {'C', {"6000080868"}},
    {'D', {"00406266480800"}},
    {'E', {"6000080868", "0444"}},
    {'F', {"600008", "0444"}},
    {'G', {"600008686434"}},
    {'H', {"0008", "6068", "0464"}},
    {'I', {"3038", "1050", "1858"}},
    {'J', {"60680806"}},
    {'K', {"0008", "6004", "0468"}},
    {'L', {"000868"}},
    {'M', {"0800336068"}},
    {'N', {"08006860"}},
    {'O', {"0060680800"}},
    {'P', {"0800606404"}},
    {'Q', {"0060680800", "4668"}},
    {'R', {"0800606404", "2468"}},
    {'S', {"600004646808"}},
    {'T', {"0060", "3038"}},
    {'U', {"00086860"}},
    {'V', {"003860"}},
    {'W', {"0008346860"}},
    {'X', {"0068", "6008"}},
    {'Y', {"003360", "3338"}},
    {'Z', {"00600868"}},
    {'0', {"0060680800", "6008"}},
    {'1', {"103038", "1858"}},
    {'2', {"006064040868"}},
    {'3', {"00606808", "2464"}},
    {'4', {"000464", "6068"}},
    {'5', {"600004646808"}},
    {'6', {"600008686404"}},
    {'7', {"006028"}},
    {'8', {"0060680800", "0464"}},
    {'9', {"640400606808"}},
    {'-', {"1454"}},
    {'(', {"40222648"}},
    {')', {"20424628"}},
};

const glyph *find_glyph(char letter)
{
    for (const glyph &g : glyphs) {
        if (g.letter == letter)
            return &g;
    }
    return nullptr;
}

}  // namespace

double stroke_text_width(const char *text, double unit)
{
    size_t n = strlen(text);
    return n == 0 ? 0 : (9 * double(n) - 3) * unit;
}

void stroke_text_paint(cairo_t *cr, const char *text, double x, double y, double unit)
{
    cairo_set_line_width(cr, 1.6 * unit);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
    for (const char *c = text; *c != '\0'; c++, x += 9 * unit) {
        const glyph *g = find_glyph(*c);
        for (int s = 0; g != nullptr && s < 4 && g->strokes[s] != nullptr; s++) {
            const char *p = g->strokes[s];
            cairo_move_to(cr, x + (p[0] - '0') * unit, y + (p[1] - '0') * unit);
            for (p += 2; p[0] != '\0' && p[1] != '\0'; p += 2)
                cairo_line_to(cr, x + (p[0] - '0') * unit, y + (p[1] - '0') * unit);
            cairo_stroke(cr);
        }
    }
}
