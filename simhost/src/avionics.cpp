/*
 * The stock G1000's devices (see avionics.h): registrations and the drawing
 * of each bound device's screen with the plug-ins' callbacks around it.
 */
#include "avionics.h"

#include "callback_probe.h"
#include "gl_state.h"
#include "plugin_call.h"

namespace simhost {
namespace {

int screen_index(XPLMDeviceID device) { return device - xplm_device_G1000_PFD_1; }

}  // namespace

bool Avionics::modelled(XPLMDeviceID device)
{
    return device == xplm_device_G1000_PFD_1 || device == xplm_device_G1000_MFD || device == xplm_device_G1000_PFD_2;
}

void Avionics::set_aircraft(Aircraft aircraft, int bind_delay_frames)
{
    aircraft_ = aircraft;
    bind_countdown_ = bind_delay_frames > 0 ? bind_delay_frames : 0;
    if (bind_countdown_ == 0)
        bound_aircraft_ = aircraft;
}

void Avionics::next_frame()
{
    if (bind_countdown_ > 0 && --bind_countdown_ == 0)
        bound_aircraft_ = aircraft_;
}

bool Avionics::bound(XPLMDeviceID device) const
{
    // The aircraft with the stock G1000 has one PFD and the MFD; no copilot's PFD.
    return bound_aircraft_ == Aircraft::stock_g1000 &&
           (device == xplm_device_G1000_PFD_1 || device == xplm_device_G1000_MFD);
}

float Avionics::rheostat(XPLMDeviceID device) const
{
    if (!modelled(device))
        return 0;
    return bound(device) ? instrument_brightness_[device] : own_rheostat_[screen_index(device)];
}

void Avionics::set_rheostat(XPLMDeviceID device, float ratio)
{
    if (!modelled(device))
        return;
    ratio = ratio < 0 ? 0 : (ratio > 1 ? 1 : ratio);
    if (bound(device))
        instrument_brightness_[device] = ratio;
    else
        own_rheostat_[screen_index(device)] = ratio;
}

float Avionics::bus_volts_ratio(XPLMDeviceID device) const
{
    return modelled(device) && bound(device) ? bus_volts_[screen_index(device)] : -1.0f;
}

void Avionics::set_bus_volts_ratio(XPLMDeviceID device, float ratio)
{
    if (modelled(device))
        bus_volts_[screen_index(device)] = ratio < 0 ? 0 : ratio;
}

AvionicsRegistration *Avionics::add(XPLMDeviceID device, XPLMAvionicsCallback_f before,
                                    XPLMAvionicsCallback_f after, void *refcon)
{
    auto entry = std::make_unique<AvionicsRegistration>();
    entry->device = device;
    entry->before = before;
    entry->after = after;
    entry->refcon = refcon;
    return registrations_.add(std::move(entry));
}

AvionicsRegistration *Avionics::handle(XPLMDeviceID device)
{
    if (!modelled(device))
        return nullptr;
    AvionicsRegistration &entry = handles_[device - xplm_device_G1000_PFD_1];
    entry.device = device;
    return &entry;
}

const AvionicsRegistration *Avionics::find(XPLMAvionicsID handle) const
{
    for (const AvionicsRegistration &entry : handles_) {
        if (&entry == handle && entry.device != 0)
            return &entry;
    }
    return registrations_.find([handle](const AvionicsRegistration &entry) { return &entry == handle; });
}

bool Avionics::remove(XPLMAvionicsID handle)
{
    AvionicsRegistration *entry =
        registrations_.find([handle](const AvionicsRegistration &e) { return &e == handle; });
    if (entry == nullptr)
        return false;
    registrations_.remove(entry);
    return true;
}

void Avionics::run(XPLMDeviceID device, bool before, bool *host_draws)
{
    const RenderTarget &target = screens_[screen_index(device)];
    // Callbacks registered while these run wait for the next walk.
    registrations_.walk([&](const AvionicsRegistration &entry) {
        XPLMAvionicsCallback_f callback = before ? entry.before : entry.after;
        if (entry.device != device || callback == nullptr)
            return;
        reset_gl_state(target, 0, screen_width, 0, screen_height);
        int result;
        {
            GlCallbackScope gl(CallbackKind::draw, small_box[0], small_box[1], small_box[2], small_box[3]);
            ProbeScope probe(CallbackKind::draw);
            PluginCall call(CallbackKind::avionics);
            result = callback(device, before ? 1 : 0, entry.refcon);
        }
        if (before && result == 0)
            *host_draws = false;
    });
}

void Avionics::draw(const PanelLook &look, bool callbacks_allowed, HostGlNames &names)
{
    for (XPLMDeviceID device : {xplm_device_G1000_PFD_1, xplm_device_G1000_MFD, xplm_device_G1000_PFD_2}) {
        if (!bound(device) || (!unpowered_drawn_ && bus_volts_ratio(device) <= 0))
            continue;
        RenderTarget &target = screens_[screen_index(device)];
        target.ensure(screen_width, screen_height, names);
        bool host_draws = true;
        if (callbacks_allowed)
            run(device, true, &host_draws);
        if (host_draws) {
            reset_gl_state(target, 0, screen_width, 0, screen_height);
            draw_device_screen(device != xplm_device_G1000_MFD, look);
        }
        if (callbacks_allowed)
            run(device, false, &host_draws);
    }
}

const RenderTarget *Avionics::screen(XPLMDeviceID device) const
{
    if (!modelled(device))
        return nullptr;
    const RenderTarget &target = screens_[screen_index(device)];
    return target.valid() ? &target : nullptr;
}

void Avionics::release(HostGlNames &names)
{
    for (RenderTarget &target : screens_)
        target.release(names);
}

}  // namespace simhost
