/*
 * The monitor labels: one window per monitor of the operating system, its
 * label painted once with cairo when shown and uploaded once at its first
 * draw; the windows take the clicks that land on them (and no more room
 * than they need), and a timer hides them after five
 * seconds. While hidden nothing of them exists.
 */
#include "monitor_labels.h"

#include <cstdio>

#include <XPLMDisplay.h>
#include <XPLMProcessing.h>
#include <acfutils/log.h>

#include "../guard.h"
#include "cockpit.h"
#include "monitors.h"
#include "popupSystem.h"
#include "stroke_text.h"
#include "surface_texture.h"

namespace {

constexpr float shown_for_s = 5.0f;
constexpr int label_w = 800;
constexpr int label_h = 450;
// Of the monitor's width: the label covers as little of the user's view as
// it can while its lines stay readable from the seat.
constexpr double label_share = 0.25;

struct monitor_label {
    int monitor = -1;
    XPLMWindowID win = nullptr;
    cairo_surface_t *image = nullptr;
    GLuint tex = 0;
};

monitor_label labels[monitor_list::max_monitors];
int label_count = 0;
bool timer_registered = false;

void paint_line(cairo_t *cr, const char *text, double y, double unit)
{
    stroke_text_paint(cr, text, (label_w - stroke_text_width(text, unit)) / 2, y, unit);
}

cairo_surface_t *paint_label(int monitor, int width, int height, bool covered)
{
    cairo_surface_t *image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, label_w, label_h);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return nullptr;
    }
    cairo_t *cr = cairo_create(image);
    cairo_set_source_rgba(cr, 0.05, 0.08, 0.16, 1);
    cairo_paint(cr);
    cairo_set_source_rgba(cr, 1, 0.75, 0, 1);
    cairo_set_line_width(cr, 8);
    cairo_rectangle(cr, 4, 4, label_w - 8, label_h - 8);
    cairo_stroke(cr);

    char line[48];
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    snprintf(line, sizeof(line), "MONITOR %d", monitor);
    paint_line(cr, line, 50, 9);
    snprintf(line, sizeof(line), "%d X %d", width, height);
    paint_line(cr, line, 160, 5);
    paint_line(cr, covered ? "COVERED BY X-PLANE" : "NOT COVERED BY X-PLANE", 240, 3.5);
    cairo_set_source_rgba(cr, 1, 0.75, 0, 1);
    const std::string display = cockpit_display_on_monitor(monitor);
    paint_line(cr, display.empty() ? "NO DISPLAY" : display.c_str(), 320, 8);
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

// Centred on the monitor, label_share of its width, the label's aspect kept.
desktop_rect centred_on(const desktop_rect &m)
{
    int w = static_cast<int>((m.right - m.left) * label_share);
    int h = w * label_h / label_w;
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
    desktop_rect r = centred_on(os_window ? os : *global);
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
        label.image = paint_label(m.index, m.bounds.right - m.bounds.left, m.bounds.top - m.bounds.bottom,
                                  covered != nullptr);
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
