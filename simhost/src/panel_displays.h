/*
 * The simulator's 3-D cockpit panel as the stand-in draws it: a 2048 x 1024
 * panel texture whose two screens are the synthetic PFD (at 0, 0) and MFD (at
 * 1024, 0), each 1024 x 768. Lit (the emissive pass) they show moving
 * pictures with corner markers and the frame number in bits; unlit (the
 * albedo pass) they are dark glass. An aircraft with the stock G1000 leaves
 * the two screen regions a uniform grey: its displays are the devices' own
 * screens, drawn with the same pictures.
 */
#ifndef SIMHOST_PANEL_DISPLAYS_H
#define SIMHOST_PANEL_DISPLAYS_H

#include <cstdint>

namespace simhost {

constexpr int panel_width = 2048;
constexpr int panel_height = 1024;

struct PanelLook {
    bool lit = false;     // the screens are on (emissive pass)
    double time = 0;      // simulated seconds: what the pictures show
    uint64_t frame = 0;   // the frame number the displays carry
    bool grey_screens = false;   // lit screen regions a uniform grey (stock avionics aircraft)
};

constexpr uint32_t stock_panel_grey = 0x808080;
// What the second lit pass's framebuffer holds: not the panel.
constexpr uint32_t foreign_pass_colour = 0x5A2D82;

// Draws the whole panel into the bound framebuffer; the projection is in
// panel pixels, origin bottom-left.
void draw_panel(const PanelLook &look);

// Draws one display, the PFD or the MFD, filling a bound 1024 x 768 screen
// whose projection is in its pixels.
void draw_device_screen(bool pfd, const PanelLook &look);

// Draws any other stock device's screen, of its own size: a dark green
// ground, the device's number, the frame number, and the corner markers 00FF80
// (bottom-left), 8000FF (bottom-right), FF0080 (top-left), 80FF00 (top-right).
void draw_other_screen(int device, int width, int height, const PanelLook &look);

}  // namespace simhost

#endif
