/*
 * The panel's picture: the PFD's and MFD's 1024 x 768 rectangles of the panel
 * framebuffer, and the capture pass that copies them while the panel's
 * screens are lit. The pass is registered only while a display shows them.
 */
#include "panel_source.h"

#include <cstdio>

#include <XPLMDataAccess.h>
#include <XPLMProcessing.h>

#include "../Popups/no_signal.h"
#include "../Popups/popupSystem.h"
#include "../guard.h"
#include "capture_clock.h"

// A 1024 x 768 rectangle of the panel at `src_x`, drawn below a strip of
// 0.5 % of the drawn area's height.
static constexpr capture_region panel_region(double src_x)
{
    return {src_x, 0, 1024, 768, 0, 0.005, 1, 0.995, 20, 0, 0, 0, false, false};
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
    void listen(bool open) override;
    bool open() const { return open_; }

private:
    capture_region *table_;
    bool open_ = false;
};

// In the order of capture_display.
panel_picture pictures[] = {panel_picture(pfd_regions), panel_picture(mfd_regions)};

// The simulator's frame of the last lit pass the capture pass took; -1: none since enable.
int capture_cycle = -1;
XPLMDataRef panel_render_type = nullptr;
const XPLMDrawingPhase capture_phase = xplm_Phase_Gauges;
bool registered = false;

void register_pass(bool wanted)
{
    if (wanted == registered)
        return;
    if (wanted)
        XPLMRegisterDrawCallback(capture_draw_cb, capture_phase, 0, nullptr);
    else
        XPLMUnregisterDrawCallback(capture_draw_cb, capture_phase, 0, nullptr);
    registered = wanted;
}

void capture_pass()
{
    // Only the pass that draws the panel's lit screens carries the displays,
    // and only the first of a frame: the simulator may call the gauges phase
    // again, on another framebuffer that holds something else.
    if (XPLMGetDatai(panel_render_type) != 2)
        return;
    const int cycle = XPLMGetCycleNumber();
    if (cycle == capture_cycle)
        return;
    capture_cycle = cycle;
    if (!capture_functions_loaded())
        return;

    const uint64_t now = capture_clock_us();
    bool found = false;
    sim_framebuffer fb = {0, 0, 0};
    for (popup *pup : popup_list) {
        // The watch, run before the frame's passes, keeps which displays are open on the panel.
        if (!pictures[static_cast<size_t>(pup->capture.display)].open())
            continue;
        capture_source *source = pup->capture.shown;
        if (!found) {
            fb = sim_framebuffer_bound(XPLMGetElapsedTime());
            found = true;
        }
        // A refused copy is no picture: NO SIGNAL comes as for a source not drawn.
        bool pictured = true;
        for (capture_region *r = source->regions(); !capture_region_is_end(r); r++)
            pictured = capture_region_grab(r, fb, now) && pictured;
        if (pictured)
            popup_note_pictures(pup);
    }
}

void panel_picture::listen(bool open)
{
    open_ = open;
    register_pass(pictures[0].open_ || pictures[1].open_);
}

}  // namespace

capture_source *panel_source(capture_display display)
{
    return &pictures[static_cast<size_t>(display)];
}

void panel_source_init()
{
    capture_cycle = -1;
    panel_render_type = XPLMFindDataRef("sim/graphics/view/panel_render_type");
}

void panel_source_fini()
{
    for (panel_picture &p : pictures)
        p.listen(false);
}

int capture_draw_cb(XPLMDrawingPhase, int, void *)
{
    guarded("capture_draw_cb", [] { capture_pass(); });
    return 1;
}
