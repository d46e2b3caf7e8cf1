/*
 * The monitor labels: one window per monitor of the operating system, its
 * label painted once with cairo's own font when shown (at the pixel size it
 * is shown at, each screen's name wrapped whole) and uploaded once at its
 * first draw; the windows take the clicks that land on them (and no more room
 * than they need), and a timer hides them after five
 * seconds. While hidden nothing of them exists.
 */
#include "monitor_labels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <XPLMDisplay.h>
#include <XPLMProcessing.h>
#include <acfutils/log.h>

#include "../guard.h"
#include "cockpit.h"
#include "faces_drawn.h"
#include "monitors.h"
#include "popupSystem.h"
#include "surface_texture.h"

namespace {

constexpr float shown_for_s = 5.0f;
// Of the monitor's width: the label covers as little of the user's view as
// it can while its lines stay readable from the seat; on a small unit it is
// never narrower than min_label_px, so a screen's name keeps a readable size.
constexpr double label_share = 0.25;
constexpr int min_label_px = 320;
// cairo's own font, the same on every system: the plug-in brings no fonts.
constexpr const char *label_font = "@cairo:sans-serif";

struct monitor_label {
    int monitor = -1;
    XPLMWindowID win = nullptr;
    cairo_surface_t *image = nullptr;
    GLuint tex = 0;
};

monitor_label labels[monitor_list::max_monitors];
int label_count = 0;
bool timer_registered = false;

// One line of a label: its text, its font size in pixels and its colour.
struct label_line {
    std::string text;
    double size;
    bool amber;
};

double text_width(cairo_t *cr, const std::string &text, double size)
{
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}

// The size at which the text is no wider than room, from size down.
double fitting_size(cairo_t *cr, const std::string &text, double size, double room)
{
    double width = text_width(cr, text, size);
    return width > room ? size * room / width : size;
}

// The screens' names, word by word on as few lines as the room takes, at the
// largest size from `size` down that no word is too wide for.
void add_wrapped(cairo_t *cr, const std::string &text, double size, double room, std::vector<label_line> *lines)
{
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos)
            end = text.size();
        if (end > at)
            words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    for (const std::string &w : words)
        size = fitting_size(cr, w, size, room);
    std::string line;
    for (const std::string &w : words) {
        std::string longer = line.empty() ? w : line + " " + w;
        if (!line.empty() && text_width(cr, longer, size) > room) {
            lines->push_back({line, size, true});
            line = w;
        } else {
            line = longer;
        }
    }
    if (!line.empty())
        lines->push_back({line, size, true});
}

// A label width_px pixels wide, as high as its lines need; each line is
// centred, and none is wider than the room inside the frame.
cairo_surface_t *paint_label(int monitor, int width, int height, bool covered, int width_px)
{
    cairo_surface_t *measure = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t *cr = cairo_create(measure);
    cairo_select_font_face(cr, label_font, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    const double w = width_px, pad = 0.06 * w, room = w - 2 * pad;
    char text[64];
    std::vector<label_line> lines;
    snprintf(text, sizeof(text), "Monitor %d", monitor);
    lines.push_back({text, fitting_size(cr, text, 0.16 * w, room), false});
    snprintf(text, sizeof(text), "%d x %d pixels", width, height);
    lines.push_back({text, fitting_size(cr, text, 0.075 * w, room), false});
    const char *cover = covered ? "covered by X-Plane" : "not covered by X-Plane";
    lines.push_back({cover, fitting_size(cr, cover, 0.07 * w, room), false});
    const std::string display = cockpit_display_on_monitor(monitor);
    add_wrapped(cr, display.empty() ? "No display" : display, 0.11 * w, room, &lines);
    cairo_destroy(cr);
    cairo_surface_destroy(measure);

    const double line_gap = 1.3;
    double h = 2 * pad;
    for (const label_line &l : lines)
        h += l.size * line_gap;
    cairo_surface_t *image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_px, static_cast<int>(h));
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return nullptr;
    }
    cr = cairo_create(image);
    cairo_set_source_rgba(cr, 0.05, 0.08, 0.16, 1);
    cairo_paint(cr);
    const double frame = std::max(2.0, 0.012 * w);
    cairo_set_source_rgba(cr, 1, 0.75, 0, 1);
    cairo_set_line_width(cr, frame);
    cairo_rectangle(cr, frame / 2, frame / 2, w - frame, static_cast<int>(h) - frame);
    cairo_stroke(cr);

    cairo_select_font_face(cr, label_font, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    double y = pad;
    for (const label_line &l : lines) {
        if (l.amber)
            cairo_set_source_rgba(cr, 1, 0.75, 0, 1);
        else
            cairo_set_source_rgba(cr, 1, 1, 1, 1);
        const double advance = text_width(cr, l.text, l.size);
        // The baseline a line's height down, less the room below it.
        y += l.size * line_gap;
        cairo_move_to(cr, (w - advance) / 2, y - l.size * (line_gap - 1) - 0.2 * l.size);
        cairo_show_text(cr, l.text.c_str());
    }
    cairo_destroy(cr);
    cairo_surface_flush(image);
    return image;
}

void draw_label(XPLMWindowID win, void *ref)
{
    guarded("monitor_label_draw", [win, ref] {
        auto *label = static_cast<monitor_label *>(ref);
        if (label->image == nullptr)
            return;
        if (label->tex == 0)
            label->tex = surface_texture_upload(label->image);
        int left = 0, top = 0, right = 0, bottom = 0;
        XPLMGetWindowGeometry(win, &left, &top, &right, &bottom);
        const faces_drawn faces;
        glColor4f(1, 1, 1, 1);
        surface_texture_draw(label->tex, left, bottom, right, top);
    });
}

// A click on a label is the label's: passed on, the simulator's mouse
// tracking would lose the gesture. The wheel and keys go to what lies under it.
int take_click(XPLMWindowID, int, int, XPLMMouseStatus, void *) { return 1; }
int pass_wheel(XPLMWindowID, int, int, int, int, void *) { return 0; }
void ignore_key(XPLMWindowID, char, XPLMKeyFlags, char, void *, int) {}
XPLMCursorStatus default_cursor(XPLMWindowID, int, int, void *) { return xplm_CursorDefault; }

// The label's width in pixels on a monitor the operating system shows
// os_width pixels wide.
int label_width_px(int os_width)
{
    int w = static_cast<int>(os_width * label_share);
    return std::min(std::max(w, min_label_px), os_width);
}

// Centred on the monitor, at the image's size in pixels: the same on the OS
// monitor, in boxels (pixels ÷ pixels_per_unit) on X-Plane's.
desktop_rect centred_on(const desktop_rect &m, int width_px, int height_px, double pixels_per_unit)
{
    int w = static_cast<int>(std::lround(width_px / pixels_per_unit));
    int h = static_cast<int>(std::lround(height_px / pixels_per_unit));
    int left = (m.left + m.right - w) / 2, bottom = (m.bottom + m.top - h) / 2;
    return {left, bottom + h, left + w, bottom};
}

// Popped-out windows lie above everything X-Plane draws in its own window:
// a label on a monitor a popped-out display covers must be one too, made
// after it, to be seen.
bool popped_out_display_over(const desktop_rect &os)
{
    for (const popup *pup : popup_list) {
        if (!popup_is_open(pup) || !XPLMWindowIsPoppedOut(pup->win))
            continue;
        desktop_rect r;
        XPLMGetWindowGeometryOS(pup->win, &r.left, &r.top, &r.right, &r.bottom);
        if (r.left < os.right && os.left < r.right && r.bottom < os.top && os.bottom < r.top)
            return true;
    }
    return false;
}

XPLMWindowID make_window(monitor_label *label, const desktop_rect *global, const desktop_rect &os)
{
    // X-Plane draws inside its own window only on the monitors it covers;
    // on any other, and over a popped-out display, the label is a window of
    // the operating system.
    bool os_window = global == nullptr || popped_out_display_over(os);
    const int width_px = label_width_px(os.right - os.left);
    // A label without an image (cairo refused it) is not drawn: any size does.
    const int height_px = label->image != nullptr ? cairo_image_surface_get_height(label->image) : width_px / 2;
    desktop_rect r = os_window ? centred_on(os, width_px, height_px, 1)
                               : centred_on(*global, width_px, height_px,
                                            double(os.right - os.left) / (global->right - global->left));
    // In the structure's order: size, rectangle, visible, the draw, click,
    // key, cursor and wheel callbacks, the reference, decoration, layer and
    // the right-click callback.
    XPLMCreateWindow_t params = {sizeof(params), r.left, r.top, r.right, r.bottom, 1,
                                 draw_label, take_click, ignore_key, default_cursor, pass_wheel, label,
                                 xplm_WindowDecorationNone, xplm_WindowLayerGrowlNotifications, take_click};
    XPLMWindowID win = XPLMCreateWindowEx(&params);
    if (win == nullptr)
        return nullptr;
    char title[48];
    snprintf(title, sizeof(title), "VXR Identify Monitor %d", label->monitor);
    XPLMSetWindowTitle(win, title);
    if (os_window) {
        XPLMSetWindowPositioningMode(win, xplm_WindowPopOut, -1);
        XPLMSetWindowGeometryOS(win, r.left, r.top, r.right, r.bottom);
    }
    return win;
}

void hide_labels()
{
    for (int i = 0; i < label_count; i++) {
        monitor_label &label = labels[i];
        if (label.win != nullptr)
            XPLMDestroyWindow(label.win);
        surface_texture_free(&label.tex);
        if (label.image != nullptr)
            cairo_surface_destroy(label.image);
        label = monitor_label();
    }
    label_count = 0;
}

float hide_when_due(float, float, int, void *)
{
    guarded("monitor_labels_timer", [] {
        logMsg("VXR: Monitor labels hidden");
        hide_labels();
    });
    return 0;
}

void show_labels()
{
    monitor_list os, global;
    list_os_monitors(&os);
    list_global_monitors(&global);
    for (int i = 0; i < os.count; i++) {
        const monitor_entry &m = os.entries[i];
        monitor_label &label = labels[label_count];
        label.monitor = m.index;
        const desktop_rect *covered = find_monitor(global, m.index);
        const int width = m.bounds.right - m.bounds.left;
        label.image =
            paint_label(m.index, width, m.bounds.top - m.bounds.bottom, covered != nullptr, label_width_px(width));
        label.win = make_window(&label, covered, m.bounds);
        label_count++;
        if (label.image == nullptr || label.win == nullptr)
            logMsg("VXR: No label for Monitor %d: its image or window could not be made", m.index);
    }
    logMsg("VXR: Identifying %d monitors for 5 seconds", label_count);
    if (!timer_registered) {
        XPLMRegisterFlightLoopCallback(hide_when_due, shown_for_s, nullptr);
        timer_registered = true;
    } else {
        XPLMSetFlightLoopCallbackInterval(hide_when_due, shown_for_s, 1, nullptr);
    }
}

}  // namespace

void monitor_labels_toggle()
{
    if (label_count == 0) {
        show_labels();
        return;
    }
    logMsg("VXR: Monitor labels hidden");
    hide_labels();
    XPLMSetFlightLoopCallbackInterval(hide_when_due, 0, 1, nullptr);
}

void monitor_labels_fini()
{
    hide_labels();
    if (timer_registered) {
        XPLMUnregisterFlightLoopCallback(hide_when_due, nullptr);
        timer_registered = false;
    }
}

int identify_command_handler(XPLMCommandRef, XPLMCommandPhase phase, void *)
{
    if (phase == xplm_CommandEnd)
        guarded("identify_command_handler", [] { monitor_labels_toggle(); });
    return 0;
}
