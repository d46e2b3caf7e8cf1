/*
 * A source of a display's picture, as the capture and the choice of each
 * display's source see it: the panel's framebuffer and the stock G1000's
 * devices are such sources, each with one instance per display.
 */
#ifndef VXR_CAPTURE_SOURCE_H
#define VXR_CAPTURE_SOURCE_H

#include <cstddef>

#include "capture_region.h"
#include "../screens.h"

// A display is a row of the screen table; each source keeps its instances
// in the table's order.
using capture_display = size_t;

inline const char *capture_display_name(capture_display display)
{
    return screen_table[display].name;
}

// How the cockpit shows a source's screen now: the share of full brightness
// its dimmer asks for, and whether the screen has power. A device the
// aircraft does not use has no power to tell of (`known` false): it counts
// as lit, with no picture, so that the display says NO SIGNAL.
struct screen_light {
    float brightness = 1;
    bool powered = true;
    bool known = true;
};

// What a source can give, found anew each time a display's source is chosen.
enum class source_state {
    absent,   // this X-Plane does not offer it to us
    dark,     // offered, but not drawn now (the aircraft does not use the device)
    live,
};

class capture_source {
public:
    virtual ~capture_source() = default;

    // The regions its picture is copied into: a table ended by capture_region_is_end.
    virtual capture_region *regions() = 0;
    // Whether it can give pictures now; the source may keep the answer to
    // notice a change later.
    virtual source_state state() = 0;
    // True when its pictures are copied in the capture pass (the first lit
    // gauges pass of a frame); false when in a callback of its own.
    virtual bool copied_in_panel_pass() const = 0;
    // For the log lines: what a display showing it shows ("the panel region
    // at 0, 0"), and why, in the state last found (empty: nothing to say).
    virtual void name(char *out, size_t size) const = 0;
    virtual void reason(char *out, size_t size) const = 0;
    // Whether the display's window is open on this source: its drawing
    // callbacks are registered while one is, and only then.
    virtual void listen(bool open) = 0;
    // The screen's light now, asked every frame while a display is open on
    // the source; a picture that is what the aircraft drew is always full.
    virtual screen_light light() const { return {}; }

    // Gives its regions' textures back; the next copy makes them again.
    void release()
    {
        for (capture_region *r = regions(); !capture_region_is_end(r); r++)
            capture_region_release(r);
    }
};

#endif
