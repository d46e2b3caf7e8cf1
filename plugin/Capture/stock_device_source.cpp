/*
 * The stock avionics' screens as capture sources. X-Plane 12.1 and later
 * draws its built-in devices (the G1000's, the GNS, CDUs, Primus and MCDUs)
 * into a framebuffer per device and calls plug-ins before and after; the
 * after-draw callback, registered while the device's display is open on it,
 * copies the screen like a panel region. Whether the aircraft uses a device,
 * its dimmer and its bus's power are asked through a handle that carries no
 * callbacks. The functions are looked up by name, so that the plug-in still
 * loads on X-Plane 11, which lacks them.
 */
#include "stock_device_source.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include <XPLMProcessing.h>
#include <XPLMUtilities.h>
#include <acfutils/log.h>

#include "../Popups/no_signal.h"
#include "../Popups/popupSystem.h"
#include "../guard.h"
#include "capture_clock.h"
#include "popup_capture.h"

// A device's screen is the whole picture: no strip is left. Its size comes
// with its first copy.
static constexpr capture_region device_screen()
{
    return {0, 0, 0, 0, 0, 0, 1, 1, 20, 0, 0, 0, false, false};
}


namespace {

typedef decltype(&XPLMRegisterAvionicsCallbacksEx) register_avionics_fn;
typedef decltype(&XPLMUnregisterAvionicsCallbacks) unregister_avionics_fn;
typedef decltype(&XPLMIsAvionicsBound) avionics_bound_fn;
typedef decltype(&XPLMGetAvionicsHandle) avionics_handle_fn;
typedef decltype(&XPLMGetAvionicsBrightnessRheo) avionics_rheostat_fn;
typedef decltype(&XPLMGetAvionicsBusVoltsRatio) avionics_bus_volts_fn;

register_avionics_fn register_avionics = nullptr;
unregister_avionics_fn unregister_avionics = nullptr;
avionics_bound_fn avionics_bound = nullptr;
avionics_handle_fn avionics_handle = nullptr;
// Optional: without them a screen is full bright and always powered.
avionics_rheostat_fn avionics_rheostat = nullptr;
avionics_bus_volts_fn avionics_bus_volts = nullptr;

// At or below this share of its nominal voltage a bound device's bus is
// dead: the battery and avionics switches are off. A live bus that sags (an
// engine start draws a 28 V bus down to about 18 V, 0.65) keeps its screen.
constexpr float unpowered_bus_ratio = 0.1f;

// The rheostat's share of full brightness as the colour that scales the
// picture's stored, gamma-encoded values: X-Plane dims a screen's light in
// proportion to the rheostat, and scaling encoded values by r^(1/2.2) scales
// the light a monitor gives by r. Full at 1, dark at 0.
float picture_scale(float rheostat)
{
    if (!(rheostat > 0))
        return 0;
    if (rheostat >= 1)
        return 1;
    return std::pow(rheostat, 1 / 2.2f);
}

// XPLMIsAvionicsBound came with the SDK 4.1 (X-Plane 12.1).
const int first_xplm_with_bound = 410;

bool stock_avionics_available()
{
    return register_avionics != nullptr && unregister_avionics != nullptr && avionics_bound != nullptr &&
           avionics_handle != nullptr;
}

class stock_device final : public capture_source {
public:
    explicit stock_device(size_t screen)
        : device(screen_table[screen].device),
          // The G1000's screens are named as the G1000's; any other by its own name.
          unit(screen_table[screen].group == screen_group::other ? screen_table[screen].name : "G1000"),
          screen_name(screen_table[screen].name), table_{device_screen(), capture_table_end}
    {
    }

    const int device;   // no_device: the screen has none
    const char *unit;   // "G1000", "GNS 530 (pilot)"
    const char *screen_name;   // "Copilot PFD"
    XPLMAvionicsID avionics = nullptr;    // the device's handle, when X-Plane has it
    XPLMAvionicsID callbacks = nullptr;   // our callbacks on it, while its display is open on it
    bool bound = false;                   // X-Plane's last answer: the aircraft uses the device
    bool refused = false;                 // X-Plane refused our callbacks: said once
    popup *shown_in = nullptr;

    capture_region *regions() override { return device == no_device ? table_ + 1 : table_; }
    source_state state() override
    {
        if (!stock_avionics_available() || avionics == nullptr)
            return source_state::absent;
        bound = avionics_bound(avionics) != 0;
        return bound ? source_state::live : source_state::dark;
    }
    bool copied_in_panel_pass() const override { return false; }
    void name(char *out, size_t size) const override
    {
        snprintf(out, size, "the stock %s's screen (device %d)", unit, device);
    }
    void reason(char *out, size_t size) const override
    {
        // Without the functions, one line said so for both displays when they were looked up.
        if (device == no_device)
            snprintf(out, size, "%s", "it has no stock device");
        else if (!stock_avionics_available())
            snprintf(out, size, "%s", "");
        else if (avionics == nullptr)
            snprintf(out, size, "X-Plane has no handle on device %d", device);
        else if (bound)
            snprintf(out, size, "%s", "the aircraft uses it");
        else if (other_of_unit_bound())
            snprintf(out, size, "the aircraft's stock %s has no %s (device %d)", unit, screen_name, device);
        else
            snprintf(out, size, "the aircraft does not use the stock %s", unit);
    }
    void listen(bool open) override;
    // A handle on the device, logging one line when X-Plane gives none.
    void take_handle();
    screen_light light() const override
    {
        screen_light now;
        if (avionics == nullptr)
            return now;
        // -1: not bound. Such a device is not the cockpit's: neither its
        // dimmer nor its bus (its own leftovers) says anything of the screen.
        const float volts = avionics_bus_volts != nullptr ? avionics_bus_volts(avionics) : bound ? 1.0f : -1.0f;
        if (volts < 0) {
            now.known = false;
            return now;
        }
        if (avionics_rheostat != nullptr)
            now.brightness = picture_scale(avionics_rheostat(avionics));
        now.powered = volts > unpowered_bus_ratio;
        return now;
    }

    capture_region *table() { return table_; }

private:
    // Whether the aircraft uses another screen of this one's unit (the
    // G1000's PFD and MFD, not its copilot's PFD).
    bool other_of_unit_bound() const;

    capture_region table_[2];
};

template <size_t... I>
std::array<stock_device, sizeof...(I)> make_devices(std::index_sequence<I...>)
{
    return {stock_device(I)...};
}

// In the order of the screen table.
std::array<stock_device, screen_count> devices = make_devices(std::make_index_sequence<screen_count>());

stock_device &device_of(const popup *pup)
{
    return devices[static_cast<size_t>(pup->capture.display)];
}

bool stock_device::other_of_unit_bound() const
{
    for (const stock_device &d : devices) {
        if (&d != this && strcmp(d.unit, unit) == 0 && d.avionics != nullptr && avionics_bound(d.avionics) != 0)
            return true;
    }
    return false;
}

void look_up_functions(int xplm_version)
{
    register_avionics = nullptr;
    unregister_avionics = nullptr;
    avionics_bound = nullptr;
    avionics_rheostat = nullptr;
    avionics_bus_volts = nullptr;
    if (xplm_version < first_xplm_with_bound)
        return;
    register_avionics = reinterpret_cast<register_avionics_fn>(XPLMFindSymbol("XPLMRegisterAvionicsCallbacksEx"));
    unregister_avionics = reinterpret_cast<unregister_avionics_fn>(XPLMFindSymbol("XPLMUnregisterAvionicsCallbacks"));
    avionics_bound = reinterpret_cast<avionics_bound_fn>(XPLMFindSymbol("XPLMIsAvionicsBound"));
    avionics_handle = reinterpret_cast<avionics_handle_fn>(XPLMFindSymbol("XPLMGetAvionicsHandle"));
    avionics_rheostat = reinterpret_cast<avionics_rheostat_fn>(XPLMFindSymbol("XPLMGetAvionicsBrightnessRheo"));
    avionics_bus_volts = reinterpret_cast<avionics_bus_volts_fn>(XPLMFindSymbol("XPLMGetAvionicsBusVoltsRatio"));
    if (!stock_avionics_available()) {
        register_avionics = nullptr;
        unregister_avionics = nullptr;
        avionics_bound = nullptr;
        avionics_handle = nullptr;
    }
}

void copy_device_screen(void *ref)
{
    popup *pup = static_cast<popup *>(ref);
    // Registered only while the display is open on this device (the watch,
    // run before the frame's drawing, keeps that so).
    if (pup == nullptr || !capture_functions_loaded())
        return;
    // X-Plane has bound the device's framebuffer, its viewport the whole screen.
    const uint64_t now = capture_clock_us();
    const sim_screen screen_now = sim_framebuffer_device_screen(device_of(pup).device, XPLMGetElapsedTime());
    bool pictured = true;
    for (capture_region *r = pup->capture.regions(); !capture_region_is_end(r); r++)
        pictured = capture_region_grab_viewport(r, screen_now, now) && pictured;
    if (pictured)
        popup_note_pictures(pup);
}

void stock_device::take_handle()
{
    avionics = device == no_device ? nullptr : avionics_handle(device);
    if (avionics == nullptr && device != no_device) {
        const char *name = capture_display_name(shown_in->capture.display);
        logMsg("VXR: X-Plane has no handle on its %s's screen (device %d): the %s shows its panel region, if any",
               unit, device, name);
    }
}

void stock_device::listen(bool open)
{
    if (!stock_avionics_available() || avionics == nullptr || open == (callbacks != nullptr))
        return;
    if (!open) {
        unregister_avionics(callbacks);
        callbacks = nullptr;
        // The handle taken before is a registration too (the SDK: as one
        // with no callbacks), and nothing says it outlives the unregistering
        // of another on its device: it is taken afresh.
        take_handle();
        return;
    }
    XPLMCustomizeAvionics_t params = {};
    params.structSize = sizeof(params);
    params.deviceId = device;
    params.drawCallbackAfter = device_after_draw_cb;
    params.refcon = shown_in;
    callbacks = register_avionics(&params);
    if (callbacks == nullptr && !refused) {
        const char *name = capture_display_name(shown_in->capture.display);
        logMsg("VXR: X-Plane refused a callback on its %s's screen (device %d): the %s shows no new picture", unit,
               device, name);
        refused = true;
    }
}

}  // namespace

void stock_device_check_bound(popup *pup)
{
    if (!stock_avionics_available())
        return;
    // A device bound or unbound since the last look: the popup chooses
    // again; an open one says so when what it shows changes.
    const stock_device &dev = device_of(pup);
    if (dev.avionics != nullptr && (avionics_bound(dev.avionics) != 0) != dev.bound)
        popup_choose_source(pup, source_telling::changes);
}

void stock_devices_check_bound()
{
    for (popup *pup : popup_list)
        stock_device_check_bound(pup);
}

capture_region *const pfd_device_regions = devices[screen_pfd].table();
capture_region *const mfd_device_regions = devices[screen_mfd].table();

bool stock_device_is_bound(capture_display display)
{
    const stock_device &dev = devices[display];
    return stock_avionics_available() && dev.avionics != nullptr && avionics_bound(dev.avionics) != 0;
}

capture_source *stock_device_source(capture_display display)
{
    return &devices[static_cast<size_t>(display)];
}

void stock_avionics_init()
{
    int xplane_version = 0, xplm_version = 0;
    XPLMHostApplicationID host = 0;
    XPLMGetVersions(&xplane_version, &xplm_version, &host);
    look_up_functions(xplm_version);
    if (!stock_avionics_available()) {
        logMsg("VXR: X-Plane %d (XPLM %d) offers no stock avionics devices (X-Plane 12.1 or later does): "
               "the PFD and MFD show their panel regions", xplane_version, xplm_version);
        return;
    }
    for (popup *pup : popup_list) {
        stock_device &dev = device_of(pup);
        dev.shown_in = pup;
        dev.refused = false;
        dev.take_handle();
    }
}

void stock_avionics_fini()
{
    for (stock_device &dev : devices) {
        if (dev.callbacks != nullptr)
            unregister_avionics(dev.callbacks);
        dev.callbacks = nullptr;
        dev.avionics = nullptr;
    }
}

int device_after_draw_cb(XPLMDeviceID, int, void *ref)
{
    // X-Plane ignores an after-draw callback's answer; 1 is "draw as usual".
    guarded("device_after_draw_cb", [&] { copy_device_screen(ref); });
    return 1;
}
