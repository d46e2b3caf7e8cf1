/*
 * The popup window system: the two popup records (MFD and PFD), their
 * registry, bring-up and take-down, the show/hide command and the window
 * callbacks.
 */
#ifndef VXR_POPUP_SYSTEM_H
#define VXR_POPUP_SYSTEM_H

#include <cstdint>
#include <string>
#include <vector>

#include <cairo.h>
#include <XPLMDisplay.h>
#include <XPLMUtilities.h>
#include <acfutils/cursor.h>
#include <acfutils/mt_cairo_render.h>

#include "../config.h"
#include "../Capture/popup_capture.h"

struct popup {
    popup(const char *cmd_name, const char *title, capture_display display);

    popup_prefs *prefs = nullptr;
    // Its display's picture: the sources it may show and the one it shows.
    popup_capture capture;
    std::string cmd_name;
    std::string title;
    std::string image_file;
    double overlay_fps = 0;
    cairo_surface_t *image = nullptr;
    mt_cairo_render_t *overlay = nullptr;
    XPLMWindowID win = nullptr;
    // The positioning mode the plug-in last gave the window, and its monitor
    // when full screen: the simulator reports no mode, and its geometry may
    // follow a change of mode only a frame later.
    XPLMWindowPositioningMode mode = xplm_WindowPositionFree;
    int mode_monitor = -1;
    // When (XPLMGetElapsedTime) the source last drew a picture, and whether
    // the window says it has none.
    float last_picture_s = 0;
    bool no_signal = false;
    XPLMCommandRef cmd = nullptr;
    double image_w = 0;
    double image_h = 0;
    int32_t grab_x = 0;
    int32_t grab_y = 0;
    int32_t resize_side = 0;
    int32_t dragging = 0;
};

// The cursors the window's zones show: the strips' (also over a face being
// dragged), the top corners' and the bottom corners'.
enum popup_cursor_id {
    CURSOR_M_CLICK, CURSOR_B_CLOSE, CURSOR_B_POP, CURSOR_B_RESIZE_L, CURSOR_B_RESIZE_R,
    NUM_POPUP_CURSORS
};

extern popup MFD_popup;
extern popup PFD_popup;
extern std::vector<popup *> popup_list;
extern cursor_t *popup_cursors[NUM_POPUP_CURSORS];
extern std::string popups_dir;

// Sets the window's positioning mode and keeps the popup's record of it.
void popup_set_mode(popup *pup, XPLMWindowPositioningMode mode, int monitor);
bool popup_is_full_screen(const popup *pup);

void popups_init(std::string path);
bool popup_init(popup *pup);
void popups_fini();


// Window callbacks.
void popup_draw(XPLMWindowID win, void *ref);
void overlay_render(cairo_t *cr, unsigned w, unsigned h, void *ref);
int popup_click(XPLMWindowID win, int x, int y, XPLMMouseStatus status, void *ref);
XPLMCursorStatus popup_cursor(XPLMWindowID win, int x, int y, void *ref);

struct image_point {
    double x;
    double y;
};
image_point popup_win_to_image(popup *pup, XPLMWindowID win, int x, int y);
void popup_drag(XPLMWindowID win, int x, int y, XPLMMouseStatus status, popup *pup);
void popup_resize(XPLMWindowID win, int x, int y, XPLMMouseStatus status, popup *pup, bool right_side);

#endif
