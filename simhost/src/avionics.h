/*
 * X-Plane 12's stock avionics as the stand-in models them: the twenty
 * built-in devices, 0 to 19, among them the G1000's 6 (PFD), 7 (MFD) and 8
 * (copilot's PFD), each with its own screen framebuffer (the G1000's
 * 1024 x 768, the others of a size of their own), the plug-ins' before and
 * after drawing callbacks on them, and which devices the user's aircraft uses.
 */
#ifndef SIMHOST_AVIONICS_H
#define SIMHOST_AVIONICS_H

#include <memory>
#include <vector>

#include <XPLMDisplay.h>

#include "panel_displays.h"
#include "registrations.h"
#include "render_target.h"

namespace simhost {

// The user's aircraft: the panel layout whose screens lie in the panel
// texture, or one that uses X-Plane's own G1000 (devices 6 and 7).
enum class Aircraft { panel, stock_g1000 };

struct AvionicsRegistration {
    XPLMDeviceID device = 0;
    XPLMAvionicsCallback_f before = nullptr;
    XPLMAvionicsCallback_f after = nullptr;
    void *refcon = nullptr;
    bool removed = false;
    // A handle XPLMGetAvionicsHandle gave, invalidated by unregistering
    // callbacks on its device: kept so that its use is recognised.
    bool invalidated = false;
};

class Avionics {
public:
    static constexpr int screen_width = 1024;
    static constexpr int screen_height = 768;
    static constexpr int device_count = 20;
    static bool modelled(XPLMDeviceID device);
    static bool g1000(XPLMDeviceID device);

    Avionics();

    // A device's screen size (the SDK documents none: each has a plausible
    // one), and whether the aircraft uses it beside the devices its kind
    // binds; loading an aircraft unbinds what was bound so.
    void set_screen_size(XPLMDeviceID device, int width, int height);
    void set_bound(XPLMDeviceID device, bool bound);
    int screen_w(XPLMDeviceID device) const { return sizes_[device][0]; }
    int screen_h(XPLMDeviceID device) const { return sizes_[device][1]; }

    // The aircraft loads at once; its devices are bound (and the last one's
    // unbound) bind_delay_frames frames later, at the start of a frame.
    void set_aircraft(Aircraft aircraft, int bind_delay_frames);
    void next_frame();
    Aircraft aircraft() const { return aircraft_; }
    bool bound(XPLMDeviceID device) const;

    // The handle is the registration; it stays valid until removed.
    AvionicsRegistration *add(XPLMDeviceID device, XPLMAvionicsCallback_f before, XPLMAvionicsCallback_f after,
                              void *refcon);
    // With invalidate_handles, the device's handles without callbacks go
    // with the registration.
    bool remove(XPLMAvionicsID handle, bool invalidate_handles);
    // A registration, or a handle without callbacks (perhaps invalidated).
    const AvionicsRegistration *find(XPLMAvionicsID handle) const;
    // A handle with no callbacks, one per modelled device, valid until
    // invalidated (then a new one is made); nullptr for a device not modelled.
    AvionicsRegistration *handle(XPLMDeviceID device);
    int count() const { return registrations_.count(); }

    // Night and power. The rheostat of a bound device is its slot of
    // sim/cockpit2/switches/instrument_brightness_ratio[] (the slot is the
    // device's number); an unbound device keeps its own value. The bus volts
    // ratio is -1 for a device not bound. Screens are drawn at full
    // brightness whatever the rheostat, and an unpowered device's screen is
    // drawn as usual unless set_unpowered_drawn(false) (then it is left as
    // it was, its callbacks not called).
    static constexpr int rheostat_slots = 32;
    float rheostat(XPLMDeviceID device) const;
    void set_rheostat(XPLMDeviceID device, float ratio);
    float *rheostat_slots_data() { return instrument_brightness_; }
    float bus_volts_ratio(XPLMDeviceID device) const;
    void set_bus_volts_ratio(XPLMDeviceID device, float ratio);
    void set_unpowered_drawn(bool drawn) { unpowered_drawn_ = drawn; }
    void clear() { registrations_.clear(); }

    // Draws the screen of every device the aircraft uses: the before
    // callbacks (any returning 0 keeps the stand-in from drawing the
    // display), the synthetic display, then the after callbacks; each
    // callback starts from the screen bound with a projection in its pixels.
    // With stale_datarefs the pass's datarefs keep the values of the pass
    // before, inside the callbacks too.
    void draw(const PanelLook &look, bool callbacks_allowed, bool stale_datarefs, HostGlNames &names);
    // The device's screen as last drawn; nullptr for one never drawn.
    const RenderTarget *screen(XPLMDeviceID device) const;
    void release(HostGlNames &names);

private:
    void run(XPLMDeviceID device, bool before, bool *host_draws);

    Aircraft aircraft_ = Aircraft::panel;
    Aircraft bound_aircraft_ = Aircraft::panel;   // whose devices are bound now
    int bind_countdown_ = 0;
    Registrations<AvionicsRegistration> registrations_;
    RenderTarget screens_[device_count];
    std::vector<std::unique_ptr<AvionicsRegistration>> handles_;   // every one given, in order
    AvionicsRegistration *current_handle_[device_count] = {};
    int sizes_[device_count][2];
    bool also_bound_[device_count] = {};
    float instrument_brightness_[rheostat_slots] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    float own_rheostat_[device_count];
    float bus_volts_[device_count];
    bool unpowered_drawn_ = true;
};

}  // namespace simhost

#endif
