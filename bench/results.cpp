/*
 * The benchmarks' report: Markdown tables, the one-line summary, and the
 * chart, drawn with cairo (see results.h).
 */
#include "results.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <sstream>

#include <cairo.h>

namespace bench {
namespace {

std::string fmt(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char *format, ...)
{
    char buf[256];
    va_list args;
    va_start(args, format);
    vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

std::string us(const Summary &s) { return fmt("%.0f [%.0f–%.0f]", s.median, s.q1, s.q3); }
std::string ratio(const Summary &s) { return fmt("%.2f (%.2f–%.2f)", s.median, s.min, s.max); }
std::string count(double n) { return fmt("%.0f", n); }

double worst_ratio(const std::vector<SteadyResult> &steady)
{
    double worst = 0;
    for (const SteadyResult &s : steady)
        worst = std::max(worst, s.ratio.median);
    return worst;
}

void steady_table(std::ostringstream &md, const std::vector<SteadyResult> &steady)
{
    md << "| Frames per simulated second | Plug-in µs | Reference µs | Plug-in ÷ reference | Plug-in: capture pass "
          "/ window draws µs | Reference: capture pass / window draws µs | Copies per second, PFD / MFD "
          "(reference) |\n"
       << "|---|---|---|---|---|---|---|\n";
    for (const SteadyResult &s : steady) {
        md << "| " << s.rate << " | " << us(s.plugin.per_frame_us) << " | " << us(s.reference.per_frame_us) << " | "
           << ratio(s.ratio) << " | "
           << fmt("%.0f / %.0f", s.plugin.capture_us.median, s.plugin.draw_us.median) << " | "
           << fmt("%.0f / %.0f", s.reference.capture_us.median, s.reference.draw_us.median) << " | "
           << fmt("%.1f / %.1f (%.1f / %.1f)", s.captures_per_second[0], s.captures_per_second[1],
                  s.reference_captures_per_second[0], s.reference_captures_per_second[1])
           << " |\n";
    }
}

void allocations_line(std::ostringstream &md, const AllocationResult &a, const char *lead = "Heap allocations")
{
    md << lead << " inside the plug-in's callbacks (flight loop, capture pass, window draws, cursor; any "
          "thread) over "
       << a.frames << " steady-state frames: **" << a.plugin << "** by the plug-in's side (at most "
       << a.max_in_a_frame << " in a frame)";
    if (a.other != 0)
        md << "; " << a.other << " by the GL driver or the host inside the calls the plug-in makes to them";
    md << ".\n\n";
}

void zink_section(std::ostringstream &md, const Results &r)
{
    const ZinkResult &z = r.zink;
    md << "## Steady state on Zink\n\n"
       << "The same scenes on Mesa's Zink, OpenGL on Vulkan (here over lavapipe, Mesa's software Vulkan), the "
          "way X-Plane 12's Zink plug-in bridge gives plug-ins their OpenGL (by default they get the vendor's "
          "driver); renderer `"
       << z.renderer << "`, the other passes' `" << r.renderer << "`.\n\n";
    steady_table(md, z.steady);
    md << "\n| Frames per simulated second | Plug-in ÷ reference, " << r.renderer << " | Plug-in ÷ reference, Zink |\n"
       << "|---|---|---|\n";
    for (const SteadyResult &zs : z.steady) {
        md << "| " << zs.rate << " | ";
        for (const SteadyResult &s : r.steady) {
            if (s.rate == zs.rate)
                md << ratio(s.ratio);
        }
        md << " | " << ratio(zs.ratio) << " |\n";
    }
    md << "\n";
    allocations_line(md, z.allocations, "On Zink, heap allocations");
}

std::string per_frame(const CostFigures &c, int64_t count, bool gl)
{
    if (c.frames == 0)
        return "–";
    if (gl && !c.counted)
        return "not counted";
    return fmt("%.2f", c.per_frame(count));
}

void costs_row(std::ostringstream &md, const std::string &scene, const CostFigures &plugin,
               const CostFigures &reference)
{
    md << "| " << scene << " | " << per_frame(plugin, plugin.dispatches, false) << " ("
       << per_frame(reference, reference.dispatches, false) << ") | " << per_frame(plugin, plugin.window_draws, false)
       << " (" << per_frame(reference, reference.window_draws, false) << ") | "
       << per_frame(plugin, plugin.queries, true) << " (" << per_frame(reference, reference.queries, true) << ") | "
       << per_frame(plugin, plugin.gl_errors, true) << " (" << per_frame(reference, reference.gl_errors, true)
       << ") |\n";
}

// What hosting the plug-in costs the simulator, as the stand-in counts it,
// on one renderer: per steady frame with both displays open (the reference
// in brackets), with both closed, and its handlers' wall time.
void hosting_section(std::ostringstream &md, const std::string &renderer, const std::vector<SteadyResult> &steady,
                     const std::vector<SteadyResult> &device, const HostingResult &h)
{
    md << "## What hosting the plug-in costs the simulator, on `" << renderer << "`\n\n"
       << "Counted by the stand-in per frame: drawing callbacks dispatched (the gauges phase and the avionics "
          "devices' before and after callbacks), window draws, and the GL state queries (glGet*, glIsEnabled) "
          "and glGetError calls the plug-in makes inside its callbacks; the reference in brackets.\n\n"
       << "| Scene, both displays open | Drawing callbacks | Window draws | GL queries | glGetError |\n"
       << "|---|---|---|---|---|\n";
    for (const SteadyResult &s : steady)
        costs_row(md, fmt("Panel, %d frames per second", s.rate), s.plugin_costs, s.reference_costs);
    for (const SteadyResult &s : device)
        costs_row(md, fmt("Stock G1000 devices, %d frames per second", s.rate), s.plugin_costs, s.reference_costs);
    md << "\n";
    if (!h.ran)
        return;
    md << "Both displays closed, over " << h.closed.frames << " frames: **"
       << per_frame(h.closed, h.closed.dispatches, false) << "** drawing callbacks and "
       << per_frame(h.closed, h.closed.window_draws, false) << " window draws per frame.\n\n"
       << fmt("The PFD's show/hide command handler (both phases), %d toggles: median %.3f ms, worst %.3f ms. "
              "XPluginEnable: %.3f ms.\n\n",
              h.toggles, h.toggle_median_ms, h.toggle_worst_ms, h.enable_ms);
}

double worst_queries(const std::vector<SteadyResult> &list)
{
    double worst = 0;
    for (const SteadyResult &s : list)
        worst = std::max(worst, s.plugin_costs.per_frame(s.plugin_costs.queries));
    return worst;
}

double most_captures(const Results &r)
{
    double most = 0;
    for (const std::vector<SteadyResult> *list : {&r.steady, &r.device}) {
        for (const SteadyResult &s : *list)
            most = std::max({most, s.captures_per_second[0], s.captures_per_second[1]});
    }
    return most;
}

}  // namespace

std::string results_markdown(const Results &r)
{
    std::ostringstream md;
    md << "# Benchmarks: the plug-in's cost per frame against the least the job needs\n\n"
       << "Time in the plug-in's callbacks per frame (the capture pass and the window draws), each timed from "
          "glFinish at entry to glFinish at return, so that the GL work it causes is in it. The reference is a "
          "minimal plug-in doing the least the same job needs in the same host and scene: per due copy one blit "
          "per display into a texture it already has, per frame one textured quad per window and one blended "
          "overlay quad. Blocks of "
       << r.block_frames << " frames (the scale's: " << r.scale_block_frames
       << "), the plug-in's and the reference's interleaved; µs are the median over "
       << "blocks of the block's mean per frame [interquartile range]; ratios are the median of the ratio of "
          "neighbouring blocks (min–max).\n\n";

    md << "## Steady state: PFD full screen on a 1024 × 768 monitor, MFD popped out\n\n"
       << "Renderer `" << r.renderer << "`.\n\n";
    steady_table(md, r.steady);
    for (const SteadyResult &s : r.steady) {
        if (!s.has_readback)
            continue;
        md << "\n## The read-back way, at " << s.rate << " frames per simulated second\n\n"
           << "The reference's job with the copy done the naive way: the pixels read back to memory "
              "(glReadPixels) and uploaded again (glTexSubImage2D), in the same blocks.\n\n"
           << "| Copy | µs per frame | ÷ reference | Capture pass µs |\n|---|---|---|---|\n"
           << "| Blit (reference) | " << us(s.reference.per_frame_us) << " | 1 | " << us(s.reference.capture_us)
           << " |\n"
           << "| Read back and upload | " << us(s.readback.per_frame_us) << " | " << ratio(s.readback_ratio)
           << " | " << us(s.readback.capture_us) << " |\n"
           << "| The plug-in (blit) | " << us(s.plugin.per_frame_us) << " | " << ratio(s.ratio) << " | "
           << us(s.plugin.capture_us) << " |\n";
    }
    if (!r.device.empty()) {
        md << "\n## The stock G1000's screens as the source: the same windows, an aircraft with the stock G1000\n\n"
           << "Each display copied from its device's screen in the callback the simulator calls right after "
              "drawing that device. The reference does the least this source needs: per due copy one blit of "
              "the device's whole screen into a texture it already has, in the same callback; its window draws "
              "are the same as above.\n\n";
        steady_table(md, r.device);
    }
    if (!r.four_screens.empty()) {
        md << "\n## Four screens from their devices: the PFD, the copilot's PFD, a GNS 530 and the MFD\n\n"
           << "Each full screen on a unit of its own, each copied from its device's screen; the reference makes "
              "the same four copies and draws the same four windows. The PFD and MFD columns are theirs.\n\n";
        steady_table(md, r.four_screens);
    }
    md << "\n";

    hosting_section(md, r.renderer, r.steady, r.device, r.hosting);
    if (r.zink.ran) {
        zink_section(md, r);
        hosting_section(md, r.zink.renderer, r.zink.steady, {}, r.zink.hosting);
    }

    md << "## Allocations\n\n";
    allocations_line(md, r.allocations);

    const InstructionResult &in = r.instructions;
    md << "## Instructions (callgrind)\n\n";
    if (!in.ran) {
        md << "Not measured: " << in.error << ".\n\n";
    } else {
        md << "Instructions per steady-state frame (60 frames per simulated second, " << in.frames
           << " frames collected) in the plug-in's own code and in the utility library, each run separately; "
              "the GL driver, the host and the C libraries are left out.\n\n"
           << "| Run | Plug-in | Utility library | Together |\n|---|---|---|---|\n";
        for (int i = 0; i < 2; i++) {
            const InstructionCost &c = in.runs[i];
            md << "| " << i + 1 << " | " << count(static_cast<double>(c.plugin) / in.frames) << " | "
               << count(static_cast<double>(c.library) / in.frames) << " | "
               << count(static_cast<double>(c.plugin + c.library) / in.frames) << " |\n";
        }
        bool same = in.runs[0].plugin == in.runs[1].plugin && in.runs[0].library == in.runs[1].library;
        md << "\nThe two runs " << (same ? "agree to the instruction" : "differ") << ".\n\n";
    }

    const OpeningResult &o = r.opening;
    md << "## Opening the PFD window (the PFD alone, full screen on 1024 × 768)\n\n"
       << "| | µs |\n|---|---|\n"
       << "| The show/hide command (window placed and shown; the overlay image was read at enable) | "
       << us(o.command_us) << " |\n"
       << "| The plug-in's callbacks in the first frame that shows the window | " << us(o.first_frame_us) << " |\n"
       << "| The same in a steady frame | " << us(o.steady_frame_us) << " |\n"
       << "| From the command to the first frame shown, the plug-in's time | " << us(o.latency_us) << " |\n"
       << "| For scale: painting the overlay image once with cairo, which the opening no longer does | "
       << us(o.paint_us) << " |\n"
       << "| Command to first frame ÷ painting | " << ratio(o.latency_ratio) << " |\n"
       << "| The command alone ÷ painting | " << ratio(o.command_ratio) << " |\n\n";

    md << "## Scale: the PFD alone, full screen, 60 frames per simulated second\n\n"
       << "| PFD monitor | Megapixels | Plug-in µs | Reference µs | Plug-in ÷ reference | Plug-in µs per megapixel |\n"
       << "|---|---|---|---|---|---|\n";
    for (const ScaleResult &s : r.scale) {
        md << "| " << s.w << " × " << s.h << " | " << fmt("%.1f", s.w * s.h / 1e6) << " | "
           << us(s.plugin.per_frame_us) << " | " << us(s.reference.per_frame_us) << " | " << ratio(s.ratio)
           << " | " << fmt("%.0f", s.plugin.per_frame_us.median / (s.w * s.h / 1e6)) << " |\n";
    }
    md << "\n";
    return md.str();
}

std::string results_line(const Results &r)
{
    std::string line =
        fmt("plug-in/reference: %.2f at worst, allocations per frame: %d, captures per second per region: %.1f "
            "at most",
            worst_ratio(r.steady), r.allocations.max_in_a_frame, most_captures(r));
    if (!r.device.empty())
        line += fmt("; stock device: %.2f", worst_ratio(r.device));
    if (!r.four_screens.empty())
        line += fmt("; four screens: %.2f", worst_ratio(r.four_screens));
    if (r.zink.ran)
        line += fmt("; on Zink: %.2f at worst, allocations per frame: %d", worst_ratio(r.zink.steady),
                    r.zink.allocations.max_in_a_frame);
    const bool counted = !r.steady.empty() && r.steady.front().plugin_costs.counted;
    if (counted)
        line += fmt("; GL queries per frame: %.2f panel, %.2f device", worst_queries(r.steady), worst_queries(r.device));
    if (r.hosting.ran)
        line += fmt("; drawing callbacks per frame, displays closed: %.2f; show/hide handler: %.3f ms median, "
                    "%.3f ms worst; XPluginEnable: %.3f ms",
                    r.hosting.closed.per_frame(r.hosting.closed.dispatches), r.hosting.toggle_median_ms,
                    r.hosting.toggle_worst_ms, r.hosting.enable_ms);
    return line;
}

namespace {

struct Colour {
    double r, g, b;
};
const Colour plugin_colour{0.16, 0.42, 0.74};
const Colour reference_colour{0.55, 0.55, 0.55};
const Colour readback_colour{0.90, 0.50, 0.13};
const Colour goal_colour{0.80, 0.10, 0.10};

void set(cairo_t *cr, Colour c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void text(cairo_t *cr, double x, double y, double size, const std::string &s, double align = 0.5)
{
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    cairo_move_to(cr, x - align * e.x_advance, y);
    cairo_show_text(cr, s.c_str());
}

struct Panel {
    double left, top, width, height;
    double y_max;
    double y(double v) const { return top + height - v / y_max * height; }
};

void axes(cairo_t *cr, const Panel &p, const std::string &title, const char *tick_format, double step)
{
    set(cr, {0, 0, 0});
    text(cr, p.left + p.width / 2, p.top - 14, 15, title);
    cairo_set_line_width(cr, 1);
    for (double v = 0; v <= p.y_max + 1e-9; v += step) {
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_move_to(cr, p.left, p.y(v));
        cairo_line_to(cr, p.left + p.width, p.y(v));
        cairo_stroke(cr);
        set(cr, {0.2, 0.2, 0.2});
        text(cr, p.left - 6, p.y(v) + 4, 11, fmt(tick_format, v), 1);
    }
    set(cr, {0, 0, 0});
    cairo_move_to(cr, p.left, p.top);
    cairo_line_to(cr, p.left, p.top + p.height);
    cairo_line_to(cr, p.left + p.width, p.top + p.height);
    cairo_stroke(cr);
}

void bar(cairo_t *cr, const Panel &p, double x, double w, const Summary &s, Colour c, const std::string &label)
{
    set(cr, c);
    cairo_rectangle(cr, x, p.y(s.median), w, p.y(0) - p.y(s.median));
    cairo_fill(cr);
    // The spread: interquartile range for times, min–max for ratios (as in the tables).
    set(cr, {0, 0, 0});
    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, x + w / 2, p.y(s.min));
    cairo_line_to(cr, x + w / 2, p.y(s.max));
    cairo_stroke(cr);
    text(cr, x + w / 2, p.y(std::max(s.median, s.max)) - 5, 11, label);
}

void legend(cairo_t *cr, double x, double y, const std::vector<std::pair<Colour, std::string>> &items)
{
    for (const auto &item : items) {
        set(cr, item.first);
        cairo_rectangle(cr, x, y - 10, 12, 12);
        cairo_fill(cr);
        set(cr, {0, 0, 0});
        text(cr, x + 18, y, 12, item.second, 0);
        cairo_text_extents_t e;
        cairo_text_extents(cr, item.second.c_str(), &e);
        x += 30 + e.x_advance;
    }
}

// Milliseconds, with the interquartile range as the spread drawn.
Summary in_ms(const Summary &us)
{
    Summary ms = us;
    ms.median = us.median / 1000;
    ms.min = us.q1 / 1000;
    ms.max = us.q3 / 1000;
    return ms;
}

double nice_step(double max)
{
    double raw = max / 5;
    double mag = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (m * mag >= raw)
            return m * mag;
    }
    return 10 * mag;
}

}  // namespace

bool write_chart(const Results &r, const std::string &png, std::string *error)
{
    const int width = 1200, height = 560;
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t *cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    set(cr, {0, 0, 0});
    text(cr, width / 2.0, 30, 18, "The plug-in's cost per frame against the least the job needs (Mesa llvmpipe)");

    // Left: the steady state, each way's time per frame as a multiple of the reference's.
    double ratio_max = 1.5;
    for (const SteadyResult &s : r.steady)
        ratio_max = std::max({ratio_max, s.ratio.max, s.has_readback ? s.readback_ratio.max : 0.0});
    Panel left{70, 90, 480, 380, ratio_max * 1.12};
    axes(cr, left, "Steady state: time per frame ÷ reference", "%.1f", nice_step(left.y_max));
    cairo_set_dash(cr, nullptr, 0, 0);
    double dash[] = {6, 4};
    cairo_set_dash(cr, dash, 2, 0);
    set(cr, goal_colour);
    cairo_move_to(cr, left.left, left.y(1.25));
    cairo_line_to(cr, left.left + left.width, left.y(1.25));
    cairo_stroke(cr);
    text(cr, left.left + left.width - 4, left.y(1.25) - 4, 11, "goal 1.25", 1);
    set(cr, {0, 0, 0});
    cairo_move_to(cr, left.left, left.y(1));
    cairo_line_to(cr, left.left + left.width, left.y(1));
    cairo_stroke(cr);
    text(cr, left.left + left.width - 4, left.y(1) + 14, 11, "reference", 1);
    cairo_set_dash(cr, nullptr, 0, 0);
    double group = left.width / std::max<size_t>(1, r.steady.size());
    for (size_t i = 0; i < r.steady.size(); i++) {
        const SteadyResult &s = r.steady[i];
        double x = left.left + group * i + group * 0.2, w = group * 0.28;
        bar(cr, left, x, w, s.ratio, plugin_colour, fmt("%.2f", s.ratio.median));
        if (s.has_readback)
            bar(cr, left, x + w + 4, w, s.readback_ratio, readback_colour, fmt("%.2f", s.readback_ratio.median));
        set(cr, {0, 0, 0});
        text(cr, left.left + group * (i + 0.5), left.top + left.height + 18, 12, fmt("%d frames/s", s.rate));
    }
    legend(cr, left.left + 10, left.top + left.height + 48,
           {{plugin_colour, "plug-in"}, {readback_colour, "read-back way"}});

    // Right: the PFD alone at three monitor sizes, milliseconds per frame.
    double ms_max = 1;
    for (const ScaleResult &s : r.scale)
        ms_max = std::max({ms_max, s.plugin.per_frame_us.q3 / 1000, s.reference.per_frame_us.q3 / 1000});
    Panel right{680, 90, 480, 380, ms_max * 1.15};
    axes(cr, right, "Scale: the PFD alone, full screen, ms per frame", "%.0f", nice_step(right.y_max));
    group = right.width / std::max<size_t>(1, r.scale.size());
    for (size_t i = 0; i < r.scale.size(); i++) {
        const ScaleResult &s = r.scale[i];
        double x = right.left + group * i + group * 0.2, w = group * 0.28;
        Summary p = in_ms(s.plugin.per_frame_us), q = in_ms(s.reference.per_frame_us);
        bar(cr, right, x, w, p, plugin_colour, fmt("%.1f", p.median));
        bar(cr, right, x + w + 4, w, q, reference_colour, fmt("%.1f", q.median));
        set(cr, {0, 0, 0});
        text(cr, right.left + group * (i + 0.5), right.top + right.height + 18, 12,
             fmt("%d×%d  ×%.2f", s.w, s.h, s.ratio.median));
    }
    legend(cr, right.left + 10, right.top + right.height + 48,
           {{plugin_colour, "plug-in"}, {reference_colour, "reference"}});

    cairo_destroy(cr);
    cairo_status_t status = cairo_surface_write_to_png(surface, png.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        *error = std::string("cannot write ") + png + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

}  // namespace bench
