/*
 * The popup registry: a record per screen, bring-up at enable (commands,
 * overlay images, cursors) and take-down at disable.
 */
#include "popupSystem.h"

#include <cstdio>
#include <utility>

#include <acfutils/helpers.h>
#include <acfutils/log.h>

#include "no_signal.h"
#include "overlay_image.h"
#include "picture_aspect.h"
#include "popup_window.h"
#include "surface_texture.h"

// The G1000's screens show the same 1024 x 768 overlay; the other stock
// screens none. The command, title and display come from the row.
popup::popup(size_t screen)
    : capture(screen), cmd_name(screen_table[screen].cmd_name), title(screen_table[screen].title),
      image_file(screen_table[screen].group == screen_group::other ? "" : "nobezel.png"), image_w(1024),
      image_h(768)
{
}

template <size_t... I>
static std::array<popup, sizeof...(I)> make_popups(std::index_sequence<I...>)
{
    return {popup(I)...};
}

std::array<popup, screen_count> screen_popups = make_popups(std::make_index_sequence<screen_count>());
popup &MFD_popup = screen_popups[screen_mfd];
popup &PFD_popup = screen_popups[screen_pfd];
std::vector<popup *> popup_list;
cursor_t *popup_cursors[NUM_POPUP_CURSORS];
std::string popups_dir;

// In the order of popup_cursor_id.
static const char *const cursor_files[NUM_POPUP_CURSORS] = {
    "m_click.png", "b_close.png", "b_pop.png", "b_resize_l.png", "b_resize_r.png",
};

void popups_init(std::string path)
{
    // The plug-in's folder comes with its trailing separator; resources hang below the folder itself.
    popups_dir = path.empty() ? path : path.substr(0, path.size() - 1);

    for (size_t i = 0; i < screen_count; i++)
        screen_popups[i].prefs = screen_prefs(i);
    // The MFD first, as it always was, then the PFD and the others.
    popup_list.push_back(&MFD_popup);
    for (popup &pup : screen_popups) {
        if (&pup != &MFD_popup)
            popup_list.push_back(&pup);
    }

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

    picture_aspect_init(pup);
    if (pup->image_file.empty()) {
        pup->capture.forget_copies();
        return true;
    }
    char *image_path = mkpathname(popups_dir.c_str(), "resources/popup/", pup->image_file.c_str(), nullptr);
    pup->image = overlay_image_read(image_path);
    lacf_free(image_path);
    if (pup->image == nullptr)
        return false;

    if (pup->image_w == 0 || pup->image_h == 0) {
        pup->image_w = cairo_image_surface_get_width(pup->image);
        pup->image_h = cairo_image_surface_get_height(pup->image);
    }

    pup->capture.forget_copies();
    return true;
}

void popups_fini()
{
    // The window (whose draw uses the overlay) goes first, then the overlay's
    // texture, then the image.
    for (popup *pup : popup_list) {
        logMsg("Fini %s", pup->title.c_str());
        if (pup->win != nullptr) {
            XPLMDestroyWindow(pup->win);
            pup->win = nullptr;
        }
        surface_texture_free(&pup->overlay_tex);
        if (pup->image != nullptr) {
            cairo_surface_destroy(pup->image);
            pup->image = nullptr;
        }
        if (pup->cmd != nullptr) {
            XPLMUnregisterCommandHandler(pup->cmd, toggle_popup, 0, pup);
            pup->cmd = nullptr;
        }
        pup->capture.release();
        popup_forget_signal(pup);
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
