/*
 * The panel's picture: the PFD's and MFD's 1024 x 768 rectangles of the panel
 * framebuffer, and the capture pass that copies them (and gives back the
 * copies and overlays of hidden windows) while the panel's screens are lit.
 */
#include "panel_source.h"

#include <cstdio>

#include <XPLMDataAccess.h>
#include <XPLMProcessing.h>
#include <acfutils/mt_cairo_render.h>

#include "../Popups/no_signal.h"
#include "../Popups/popupSystem.h"
#include "../guard.h"
#include "capture_clock.h"

// A 1024 x 768 rectangle of the panel at `src_x`, drawn below a strip of
// 0.5 % of the drawn area's height.
static constexpr capture_region panel_region(double src_x)
{
    return {src_x, 0, 1024, 768, 0, 0.005, 1, 0.995, 20, 0, 0, 0, false};
}

capture_region pfd_regions[] = {panel_region(0), capture_table_end};
capture_region mfd_regions[] = {panel_region(1024), capture_table_end};

namespace {

class panel_picture final : public capture_source {
public:
    constexpr explicit panel_picture(capture_region *table) : table_(table) {}

    capture_region *regions() override { return table_; }
    source_state state() override { return source_state::live; }
    bool copied_in_panel_pass() const override { return true; }
    void name(char *out, size_t size) const override
    {
        snprintf(out, size, "the panel region at %.0f, %.0f", table_[0].src_x, table_[0].src_y);
    }
    void reason(char *out, size_t size) const override { snprintf(out, size, "%s", ""); }

private:
    capture_region *table_;
};

// In the order of capture_display.
panel_picture pictures[] = {panel_picture(pfd_regions), panel_picture(mfd_regions)};

// The simulator's frame of the last lit pass the capture pass took; -1: none since enable.
int capture_cycle = -1;

void capture_pass()
{
    static XPLMDataRef panel_render_type = nullptr;
    static bool looked_up = false;
    if (!looked_up) {
        panel_render_type = XPLMFindDataRef("sim/graphics/view/panel_render_type");
        looked_up = true;
    }
    // Only the pass that draws the panel's lit screens carries the displays,
    // and only the first of a frame: the simulator may call the gauges phase
    // again, on another framebuffer that holds something else.
    if (XPLMGetDatai(panel_render_type) != 2)
        return;
    const int cycle = XPLMGetCycleNumber();
    if (cycle == capture_cycle)
        return;
    capture_cycle = cycle;

    uint64_t now = capture_clock_us();
    if (popup_list.empty())
        return;
    bool can_capture = capture_functions_loaded();

    for (popup *pup : popup_list) {
        bool visible = pup->win != nullptr && XPLMGetWindowIsVisible(pup->win) != 0;
        // A window the simulator hid (a popped-out window closed by the user) gives its overlay back here.
        if (!visible && pup->overlay != nullptr) {
            mt_cairo_render_fini(pup->overlay);
            pup->overlay = nullptr;
        }
        // A visible popup whose source has callbacks of its own is copied there.
        capture_source *source = pup->capture.shown;
        if (can_capture && (!visible || source->copied_in_panel_pass())) {
            for (capture_region *r = source->regions(); !capture_region_is_end(r); r++)
                capture_region_update(r, visible, now);
            if (visible)
                popup_note_pictures(pup);
        }
    }
}

}  // namespace

capture_source *panel_source(capture_display display)
{
    return &pictures[static_cast<size_t>(display)];
}

void panel_source_init()
{
    capture_cycle = -1;
}

int capture_draw_cb(XPLMDrawingPhase, int, void *)
{
    guarded("capture_draw_cb", [] { capture_pass(); });
    return 1;
}
