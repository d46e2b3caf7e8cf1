/*
 * The panel's picture: each screen's rectangle of the panel framebuffer (its
 * key's, or its row's default), and the capture pass that copies them while
 * the panel's screens are lit. The pass is registered only while a display
 * shows them.
 */
#include "panel_source.h"

#include <array>
#include <cstdio>
#include <utility>

#include <XPLMDataAccess.h>
#include <XPLMProcessing.h>

#include "../Popups/no_signal.h"
#include "../Popups/popupSystem.h"
#include "../guard.h"
#include "capture_clock.h"
#include "panel_region_key.h"

// The region is drawn below a strip of 0.5 % of the drawn area's height.
static constexpr capture_region region_at(const panel_rect &r)
{
    return {double(r.left), double(r.bottom), double(r.width), double(r.height), 0, 0.005, 1, 0.995, 20, 0, 0, 0,
            false, false};
}

namespace {

class panel_picture final : public capture_source {
public:
    explicit panel_picture(size_t screen)
        : screen(screen), region(screen_table[screen].panel_region),
          table_{region_at(screen_table[screen].panel_region), capture_table_end}
    {
    }

    const size_t screen;
    // The key's region, or the default, taken at enable.
    panel_rect region;
    // Set by the key, and not yet held against the panel's size since enable.
    bool unchecked = false;

    capture_region *regions() override { return region.width > 0 ? table_ : table_ + 1; }
    source_state state() override { return region.width > 0 ? source_state::live : source_state::absent; }
    bool copied_in_panel_pass() const override { return true; }
    void name(char *out, size_t size) const override
    {
        snprintf(out, size, "the panel region at %d, %d", region.left, region.bottom);
    }
    void reason(char *out, size_t size) const override
    {
        if (region.width > 0)
            snprintf(out, size, "%s", "");
        else
            panel_region_say_default(screen, out, size);
    }
    void listen(bool open) override;
    bool open() const { return open_; }
    void take(const panel_rect &r)
    {
        region = r;
        table_[0] = region_at(r);
    }
    capture_region *table() { return table_; }

private:
    capture_region table_[2];
    bool open_ = false;
};

template <size_t... I>
std::array<panel_picture, sizeof...(I)> make_pictures(std::index_sequence<I...>)
{
    return {panel_picture(I)...};
}

// In the order of the screen table.
std::array<panel_picture, screen_count> pictures = make_pictures(std::make_index_sequence<screen_count>());

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

// The panel's size, as the last lit pass's viewport gave it; 0: none seen
// since enable.
int panel_w = 0, panel_h = 0;

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
    int viewport[4] = {0, 0, 0, 0};
    sim_framebuffer fb = {0, 0, 0};
    for (popup *pup : popup_list) {
        // The watch, run before the frame's passes, keeps which displays are open on the panel.
        if (!pictures[static_cast<size_t>(pup->capture.display)].open())
            continue;
        capture_source *source = pup->capture.shown;
        // A screen without a region gives no picture: NO SIGNAL, not a frozen black.
        if (capture_region_is_end(source->regions()))
            continue;
        if (!found) {
            fb = sim_framebuffer_bound(XPLMGetElapsedTime());
            sim_framebuffer_viewport(viewport);
            panel_w = viewport[2];
            panel_h = viewport[3];
            found = true;
        }
        // A region set in popups.cfg waits, uncopied, until the watch has
        // held it against the panel's size.
        if (pictures[pup->capture.display].unchecked)
            continue;
        // A refused copy is no picture: NO SIGNAL comes as for a source not drawn.
        bool pictured = true;
        for (capture_region *r = source->regions(); !capture_region_is_end(r); r++)
            pictured = capture_region_grab(r, fb, now) && pictured;
        if (pictured)
            popup_note_pictures(pup);
    }
}

// A screen without a region needs no pass.
void panel_picture::listen(bool open)
{
    open_ = open && region.width > 0;
    bool any = false;
    for (const panel_picture &p : pictures)
        any = any || p.open_;
    register_pass(any);
}

}  // namespace

capture_region *const pfd_regions = pictures[screen_pfd].table();
capture_region *const mfd_regions = pictures[screen_mfd].table();

capture_source *panel_source(capture_display display)
{
    return &pictures[static_cast<size_t>(display)];
}

void panel_source_init()
{
    capture_cycle = -1;
    panel_w = 0;
    panel_h = 0;
    for (panel_picture &p : pictures) {
        p.take(panel_region_of(p.screen, popup_pref_registry.conf));
        const panel_rect &fallback = screen_table[p.screen].panel_region;
        p.unchecked = p.region.left != fallback.left || p.region.bottom != fallback.bottom ||
                      p.region.width != fallback.width || p.region.height != fallback.height;
    }
    panel_render_type = XPLMFindDataRef("sim/graphics/view/panel_render_type");
}

// A region set in popups.cfg is held once against the panel's size, once a
// lit pass has given it: one that does not fit gives way to the default.
void panel_sources_check_fit()
{
    if (panel_w <= 0 || panel_h <= 0)
        return;
    for (panel_picture &p : pictures) {
        if (!p.unchecked)
            continue;
        p.unchecked = false;
        if (!panel_region_fits(p.screen, p.region, panel_w, panel_h)) {
            capture_region_release(p.table());
            p.take(screen_table[p.screen].panel_region);
        }
    }
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
