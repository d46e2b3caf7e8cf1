/*
 * The popup registry: the MFD and PFD records, bring-up at enable (commands,
 * overlay images, cursors), take-down at disable, and the capture pass that
 * refreshes the popups' region textures while the panel's screens are lit.
 */
#include "popupSystem.h"

#include <cstdio>

#include <XPLMDataAccess.h>
#include <XPLMProcessing.h>
#include <acfutils/glew.h>
#include <acfutils/helpers.h>
#include <acfutils/log.h>

#include "../guard.h"
#include "capture_clock.h"
#include "no_signal.h"
#include "overlay_image.h"
#include "popup_window.h"

// Both displays show the same 1024 x 768 overlay; each has its own command,
// title, panel rectangle and stock device.
popup::popup(const char *cmd_name, const char *title, capture_region *panel, capture_region *device, int device_id)
    : regions(panel), panel_regions(panel), device_regions(device), device(device_id), cmd_name(cmd_name),
      title(title), image_file("nobezel.png"), image_w(1024), image_h(768)
{
}

popup MFD_popup("vxr/popup/MFD_NOBEZEL", "VXR G1000 MFD Bezelless", mfd_regions, mfd_device_regions,
                xplm_device_G1000_MFD);
popup PFD_popup("vxr/popup/PFD_NOBEZEL", "VXR G1000 PFD Bezelless", pfd_regions, pfd_device_regions,
                xplm_device_G1000_PFD_1);
std::vector<popup *> popup_list;
cursor_t *popup_cursors[NUM_POPUP_CURSORS];
std::string popups_dir;
// The simulator's frame of the last lit pass the capture pass took; -1: none since enable.
static int capture_cycle = -1;

// In the order of popup_cursor_id.
static const char *const cursor_files[NUM_POPUP_CURSORS] = {
    "m_click.png", "b_close.png", "b_pop.png", "b_resize_l.png", "b_resize_r.png",
};

void popups_init(std::string path)
{
    // The plug-in's folder comes with its trailing separator; resources hang below the folder itself.
    popups_dir = path.empty() ? path : path.substr(0, path.size() - 1);
    capture_cycle = -1;

    MFD_popup.prefs = &mfd_nbzl_prefs;
    PFD_popup.prefs = &pfd_nbzl_prefs;
    popup_list.push_back(&MFD_popup);
    popup_list.push_back(&PFD_popup);

    for (int i = 0; i < NUM_POPUP_CURSORS; i++) {
        char *file = mkpathname(popups_dir.c_str(), "resources", "popup", "cursors", cursor_files[i], nullptr);
        popup_cursors[i] = cursor_read_from_file(file);
        lacf_free(file);
    }

    for (popup *pup : popup_list)
        popup_init(pup);
    no_signal_init();
}

bool popup_init(popup *pup)
{
    logMsg("Init %s", pup->title.c_str());

    char description[256];
    snprintf(description, sizeof(description), "Show/hide pop out window for %s", pup->title.c_str());
    pup->cmd = XPLMCreateCommand(pup->cmd_name.c_str(), description);
    XPLMRegisterCommandHandler(pup->cmd, toggle_popup, 0, pup);

    char *image_path = mkpathname(popups_dir.c_str(), "resources/popup/", pup->image_file.c_str(), nullptr);
    pup->image = overlay_image_read(image_path);
    lacf_free(image_path);
    if (pup->image == nullptr)
        return false;

    if (pup->image_w == 0 || pup->image_h == 0) {
        pup->image_w = cairo_image_surface_get_width(pup->image);
        pup->image_h = cairo_image_surface_get_height(pup->image);
    }

    for (capture_region *table : {pup->panel_regions, pup->device_regions}) {
        for (capture_region *r = table; r != nullptr && !capture_region_is_end(r); r++) {
            r->last_cap_us = 0;
            r->tex = 0;
        }
    }
    return true;
}

void popups_fini()
{
    // The window (whose draw uses the overlay) goes first, then the overlay
    // renderer (whose worker reads the image), then the image.
    for (popup *pup : popup_list) {
        logMsg("Fini %s", pup->title.c_str());
        if (pup->win != nullptr) {
            XPLMDestroyWindow(pup->win);
            pup->win = nullptr;
        }
        if (pup->overlay != nullptr) {
            mt_cairo_render_fini(pup->overlay);
            pup->overlay = nullptr;
        }
        if (pup->image != nullptr) {
            cairo_surface_destroy(pup->image);
            pup->image = nullptr;
        }
        if (pup->cmd != nullptr) {
            XPLMUnregisterCommandHandler(pup->cmd, toggle_popup, 0, pup);
            pup->cmd = nullptr;
        }
        for (capture_region *table : {pup->panel_regions, pup->device_regions}) {
            for (capture_region *r = table; r != nullptr && !capture_region_is_end(r); r++) {
                r->last_cap_us = 0;
                capture_region_release(r);
            }
        }
        // A drag or resize cut short by the disable must not take over the
        // first gesture after the next enable.
        pup->dragging = 0;
        pup->resize_side = 0;
        pup->grab_x = 0;
        pup->grab_y = 0;
    }
    popup_list.clear();
    no_signal_fini();
    for (cursor_t *&cursor : popup_cursors) {
        if (cursor != nullptr) {
            cursor_free(cursor);
            cursor = nullptr;
        }
    }
}

// The framebuffer functions come from GLEW, loaded for this thread's context
// at start; without them there is nothing to capture with.
bool capture_functions_loaded()
{
    static bool reported = false;
    lacf_glew_ctx_t *ctx = lacf_glew_ctx_get();
    if (ctx != nullptr && ctx->initialized)
        return true;
    if (!reported) {
        logMsg("Screen capture off: the OpenGL framebuffer functions were not loaded on this thread");
        reported = true;
    }
    return false;
}

static void capture_pass()
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
        // A visible popup that shows a stock device is copied in that device's own callback.
        if (can_capture && pup->regions != nullptr && (!visible || !pup->shows_device)) {
            for (capture_region *r = pup->regions; !capture_region_is_end(r); r++)
                capture_region_update(r, visible, now);
            if (visible)
                popup_note_pictures(pup);
        }
    }
}

int capture_draw_cb(XPLMDrawingPhase, int, void *)
{
    guarded("capture_draw_cb", [] { capture_pass(); });
    return 1;
}
