/*
 * The stock devices (see avionics.h): registrations and the drawing of each
 * bound device's screen with the plug-ins' callbacks around it.
 */
#include "avionics.h"

#include "callback_probe.h"
#include "gl_state.h"
#include "plugin_call.h"

namespace simhost {
namespace {

int screen_index(XPLMDeviceID device) { return device; }

// Plausible screen sizes, in the order of the devices: GNS 430 and 530,
// CDU 739, the G1000's three, CDU 815, Primus PFDs and MFDs (upright),
// Primus RMUs, MCDUs.
constexpr int default_sizes[Avionics::device_count][2] = {
    {480, 272}, {480, 272}, {640, 480}, {640, 480}, {480, 400}, {480, 400}, {1024, 768}, {1024, 768},
    {1024, 768}, {512, 480}, {512, 480}, {768, 1024}, {768, 1024}, {768, 1024}, {768, 1024}, {768, 1024},
    {512, 384}, {512, 384}, {512, 480}, {512, 480},
};

}  // namespace

Avionics::Avionics()
{
    for (int d = 0; d < device_count; d++) {
        sizes_[d][0] = default_sizes[d][0];
        sizes_[d][1] = default_sizes[d][1];
        own_rheostat_[d] = 1;
        bus_volts_[d] = 1;
    }
}

bool Avionics::modelled(XPLMDeviceID device)
{
    return device >= 0 && device < device_count;
}

bool Avionics::g1000(XPLMDeviceID device)
{
    return device == xplm_device_G1000_PFD_1 || device == xplm_device_G1000_MFD || device == xplm_device_G1000_PFD_2;
}

void Avionics::set_screen_size(XPLMDeviceID device, int width, int height)
{
    if (modelled(device) && !g1000(device)) {
        sizes_[device][0] = width;
        sizes_[device][1] = height;
    }
}

void Avionics::set_bound(XPLMDeviceID device, bool bound)
{
    if (modelled(device))
        also_bound_[device] = bound;
}

void Avionics::set_aircraft(Aircraft aircraft, int bind_delay_frames)
{
    aircraft_ = aircraft;
    for (bool &b : also_bound_)
        b = false;
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
    // The aircraft with the stock G1000 has one PFD and the MFD; no copilot's
    // PFD unless a scenario binds it, as any other device.
    if (modelled(device) && also_bound_[device])
        return true;
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
    AvionicsRegistration *&current = current_handle_[screen_index(device)];
    if (current == nullptr) {
        handles_.push_back(std::make_unique<AvionicsRegistration>());
        current = handles_.back().get();
        current->device = device;
    }
    return current;
}

const AvionicsRegistration *Avionics::find(XPLMAvionicsID handle) const
{
    for (const auto &entry : handles_) {
        if (entry.get() == handle)
            return entry.get();
    }
    return registrations_.find([handle](const AvionicsRegistration &entry) { return &entry == handle; });
}

bool Avionics::remove(XPLMAvionicsID handle, bool invalidate_handles)
{
    AvionicsRegistration *entry =
        registrations_.find([handle](const AvionicsRegistration &e) { return &e == handle; });
    if (entry == nullptr)
        return false;
    const XPLMDeviceID device = entry->device;
    registrations_.remove(entry);
    if (invalidate_handles) {
        for (auto &h : handles_) {
            if (h->device == device)
                h->invalidated = true;
        }
        current_handle_[screen_index(device)] = nullptr;
    }
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
        reset_gl_state(target, 0, screen_w(device), 0, screen_h(device));
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

void Avionics::draw(const PanelLook &look, bool callbacks_allowed, bool stale_datarefs, HostGlNames &names)
{
    for (XPLMDeviceID device = 0; device < device_count; device++) {
        if (!bound(device) || (!unpowered_drawn_ && bus_volts_ratio(device) <= 0))
            continue;
        PassViewHold hold(stale_datarefs);
        RenderTarget &target = screens_[screen_index(device)];
        target.ensure(screen_w(device), screen_h(device), names);
        bool host_draws = true;
        if (callbacks_allowed)
            run(device, true, &host_draws);
        if (host_draws) {
            reset_gl_state(target, 0, screen_w(device), 0, screen_h(device));
            if (g1000(device))
                draw_device_screen(device != xplm_device_G1000_MFD, look);
            else
                draw_other_screen(device, screen_w(device), screen_h(device), look);
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
