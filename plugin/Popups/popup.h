/*
 * A popup's record: one display's window, its preferences, the capture of
 * its picture, its overlay, and the mode the plug-in last gave its window.
 */
#ifndef VXR_POPUP_H
#define VXR_POPUP_H

#include <cstdint>
#include <string>

#include <cairo.h>
#include <XPLMDisplay.h>
#include <XPLMUtilities.h>

#include "../config.h"
#include "../Capture/popup_capture.h"

struct popup {
    // The screen in that row of the screen table.
    explicit popup(size_t screen);

    popup_prefs *prefs = nullptr;
    // Its display's picture: the sources it may show and the one it shows.
    popup_capture capture;
    std::string cmd_name;
    std::string title;
    std::string image_file;
    // The overlay image, read at enable, and its texture, made at the
    // window's first draw and kept until disable.
    cairo_surface_t *image = nullptr;
    uint32_t overlay_tex = 0;
    XPLMWindowID win = nullptr;
    // The positioning mode the plug-in last gave the window, and its monitor
    // when full screen: the simulator reports no mode, and its geometry may
    // follow a change of mode only a frame later.
    XPLMWindowPositioningMode mode = xplm_WindowPositionFree;
    int mode_monitor = -1;
    // Placed on the mouse because its saved monitor was not there: it goes
    // back full screen when the monitor returns.
    bool awaiting_monitor = false;
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

// Sets the window's positioning mode and keeps the popup's record of it.
void popup_set_mode(popup *pup, XPLMWindowPositioningMode mode, int monitor);
bool popup_is_full_screen(const popup *pup);
// Its window exists and is shown.
bool popup_is_open(const popup *pup);

#endif
