/*
 * The sources a display can show, listed once, and the choice between them:
 * the source key forces one, else the first that gives pictures is taken.
 * The panel's picture, listed last, is there for every screen with a panel
 * region. A source's drawing callbacks are registered while a display's
 * window is open on it; a flight loop follows what the simulator does to the
 * windows and the devices, and the light the cockpit gives each open
 * display's screen.
 */
#include "popup_capture.h"

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <XPLMProcessing.h>
#include <acfutils/log.h>

#include "../Popups/no_signal.h"
#include "../Popups/picture_aspect.h"
#include "../Popups/popupSystem.h"
#include "../config.h"
#include "../guard.h"
#include "panel_source.h"
#include "sim_framebuffer.h"
#include "stock_device_source.h"

namespace {

struct listed_source {
    int key;                                   // the source key's value that asks for it
    capture_source *(*of)(capture_display);    // its instance for the display
    void (*init)();                            // at enable, when it has callbacks to register
    void (*fini)();
};

const listed_source sources[] = {
    {SOURCE_DEVICE, stock_device_source, stock_avionics_init, stock_avionics_fini},
    {SOURCE_PANEL, panel_source, panel_source_init, panel_source_fini},
};
constexpr size_t source_count = sizeof(sources) / sizeof(sources[0]);
constexpr size_t panel = source_count - 1;

const listed_source *listed_with_key(int32_t key)
{
    for (const listed_source &s : sources) {
        if (s.key == key)
            return &s;
    }
    return nullptr;
}

// Gives the source's textures back and forgets when they were copied: its
// next copy is made at its first pass.
void release_copies(capture_source *source)
{
    for (capture_region *r = source->regions(); !capture_region_is_end(r); r++) {
        r->last_cap_us = 0;
        capture_region_release(r);
    }
}

// With every window closed the watch looks this often: at the devices and
// at nothing else.
constexpr float idle_watch_s = 1.0f;
// X-Plane promises nothing of when a device is bound or unbound, relative
// to the plane-loaded message: with every window closed, its answer is asked
// again this often.
constexpr float bound_check_s = 1.0f;
float last_bound_check_s = 0;
bool watching = false;
// The watch is running: the SDK forbids a flight loop to set its own
// interval from inside itself; its result sets it.
bool in_watch = false;
// follow_cockpit_brightness, as read at enable.
bool follow_brightness = true;
const char *const follow_brightness_key = "follow_cockpit_brightness";

// The key is set by hand only and never written, so it is read here as
// text: whatever it holds is said in its own line, once per enable.
bool read_follow_brightness()
{
    const char *text = nullptr;
    if (popup_pref_registry.conf == nullptr || !conf_get_str(popup_pref_registry.conf, follow_brightness_key, &text))
        return true;
    char *end = nullptr;
    errno = 0;
    const long value = strtol(text, &end, 10);
    if (end != text && *end == '\0' && errno == 0 && (value == 0 || value == 1))
        return value == 1;
    logMsg("VXR: %s = %.64s is not 0 or 1: the displays follow the cockpit's brightness", follow_brightness_key, text);
    return true;
}

screen_light light_of(const capture_source *source)
{
    screen_light light = source->light();
    if (!follow_brightness)
        light.brightness = 1;
    return light;
}

// Takes the screen's light for the next draws. A screen that loses or
// regains its power, or stops or starts being the cockpit's, gives its
// copies back: they hold what it showed before, never to be shown again.
// Its next picture is copied at once. A change of power is said once, where
// the source can tell it.
void watch_light(popup *pup)
{
    popup_capture &capture = pup->capture;
    const screen_light now = light_of(capture.shown);
    if (now.powered != capture.light.powered || now.known != capture.light.known)
        release_copies(capture.shown);
    capture.light = now;
    if (!now.known || now.powered == capture.powered_said)
        return;
    capture.powered_said = now.powered;
    const char *name = capture_display_name(capture.display);
    if (now.powered)
        logMsg("%s: the screen has power again", name);
    else
        logMsg("%s: the screen has no power", name);
}

// Each source listens for the displays open on it while they have power
// (without, no picture is due); true when any window is open. A window
// found newly open takes its light and says what it shows.
bool follow_windows()
{
    bool any_open = false;
    for (popup *pup : popup_list) {
        const bool open = popup_is_open(pup);
        if (open && !pup->capture.open) {
            pup->capture.open = true;
            popup_choose_source(pup, source_telling::always);
            watch_light(pup);
        }
        pup->capture.open = open;
        any_open = any_open || open;
        for (const listed_source &s : sources) {
            capture_source *source = s.of(pup->capture.display);
            source->listen(open && pup->capture.shown == source && pup->capture.light.powered);
        }
    }
    return any_open;
}

float capture_watch(float, float, int, void *)
{
    bool any_open = false;
    in_watch = true;
    guarded("capture_watch", [&] {
        // The light first, so that a screen whose power is back listens for
        // its device before this frame draws it.
        for (popup *pup : popup_list) {
            popup_capture &capture = pup->capture;
            if (!capture.open || !popup_is_open(pup)) {
                capture.picture_due = false;
                continue;
            }
            picture_aspect_follow(pup);
            watch_light(pup);
            // The frame just drawn owed a picture only if the window was open
            // and lit all through it: NO SIGNAL is judged from such frames.
            if (capture.picture_due && capture.light.powered)
                popup_watch_signal(pup);
            capture.picture_due = capture.light.powered;
        }
        any_open = follow_windows();
        panel_sources_check_fit();
        // While a window is open its device is looked at every frame, so that
        // a late binding switches it before it shows a stale picture; the
        // devices of closed windows only once a second.
        const float now = XPLMGetElapsedTime();
        if (now - last_bound_check_s >= bound_check_s || now < last_bound_check_s) {
            last_bound_check_s = now;
            stock_devices_check_bound();
        } else if (any_open) {
            for (popup *pup : popup_list) {
                if (popup_is_open(pup))
                    stock_device_check_bound(pup);
            }
        }
    });
    in_watch = false;
    return any_open ? -1.0f : idle_watch_s;
}

void popup_show(popup *pup, capture_source *source)
{
    if (pup->capture.shown == source)
        return;
    release_copies(pup->capture.shown);
    pup->capture.shown = source;
    // The new source's light at once, so that an unpowered screen shows no
    // picture even for a frame; its power is told from its start.
    pup->capture.light = light_of(source);
    pup->capture.powered_said = true;
    popup_expect_pictures(pup);
    if (watching)
        capture_follow_windows();
}

}  // namespace

// The source key's value, or automatic for a value that names no source.
static int32_t wanted_source(const popup *pup)
{
    const pref_int *pref = pup->prefs != nullptr ? pup->prefs->source : nullptr;
    const int32_t wanted = pref != nullptr ? pref->get() : SOURCE_AUTOMATIC;
    return listed_with_key(wanted) != nullptr ? wanted : SOURCE_AUTOMATIC;
}

static void say_unknown_source_key(const popup *pup)
{
    const pref_int *pref = pup->prefs != nullptr ? pup->prefs->source : nullptr;
    if (pref == nullptr || pref->get() == SOURCE_AUTOMATIC || listed_with_key(pref->get()) != nullptr)
        return;
    logMsg("VXR: %s = %d is not 0, 1 or 2: the %s's source is chosen automatically", pref->name,
           static_cast<int>(pref->get()), capture_display_name(pup->capture.display));
}

void capture_follow_windows()
{
    const bool any_open = follow_windows();
    // Open, a window's NO SIGNAL is watched every frame.
    if (watching && !in_watch)
        XPLMSetFlightLoopCallbackInterval(capture_watch, any_open ? -1.0f : idle_watch_s, 1, nullptr);
}

popup_capture::popup_capture(capture_display display) : display(display), shown(panel_source(display))
{
}

void popup_capture::forget_copies()
{
    for (const listed_source &s : sources) {
        for (capture_region *r = s.of(display)->regions(); !capture_region_is_end(r); r++) {
            r->last_cap_us = 0;
            r->tex = 0;
        }
    }
}

void popup_capture::release()
{
    for (const listed_source &s : sources)
        release_copies(s.of(display));
}

void popup_capture::clear_failed()
{
    for (const listed_source &s : sources)
        capture_regions_clear_failed(s.of(display)->regions());
}

void capture_sources_init()
{
    sim_framebuffer_init();
    follow_brightness = read_follow_brightness();
    for (const listed_source &s : sources) {
        if (s.init != nullptr)
            s.init();
    }
    for (popup *pup : popup_list) {
        pup->capture.open = false;
        pup->capture.powered_said = true;
        say_unknown_source_key(pup);
    }
    // No window is open yet: each says its source when it opens.
    popups_choose_sources(source_telling::changes);
    last_bound_check_s = XPLMGetElapsedTime();
    XPLMRegisterFlightLoopCallback(capture_watch, idle_watch_s, nullptr);
    watching = true;
    capture_follow_windows();
}

void capture_sources_fini()
{
    if (watching) {
        XPLMUnregisterFlightLoopCallback(capture_watch, nullptr);
        watching = false;
    }
    for (const listed_source &s : sources) {
        if (s.fini != nullptr)
            s.fini();
    }
    for (popup *pup : popup_list)
        popup_show(pup, sources[panel].of(pup->capture.display));
}

// Shows the source, and says so in one line when the window is open and
// the source is another than before, or when asked to.
static void show_saying(popup *pup, capture_source *source, source_telling telling, const char *format, ...)
{
    const bool changes = pup->capture.shown != source;
    popup_show(pup, source);
    if (!pup->capture.open || (!changes && telling == source_telling::changes))
        return;
    char line[256];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    logMsg("%s", line);
}

// One popup's choice, with its reason.
void popup_choose_source(popup *pup, source_telling telling)
{
    const capture_display display = pup->capture.display;
    const char *name = capture_display_name(display);
    pref_int *pref = pup->prefs != nullptr ? pup->prefs->source : nullptr;
    const int32_t wanted = wanted_source(pup);

    capture_source *source[source_count];
    source_state state[source_count];
    bool only_panel = true;
    for (size_t i = 0; i < source_count; i++) {
        source[i] = sources[i].of(display);
        state[i] = source[i]->state();
        if (i != panel && state[i] != source_state::absent)
            only_panel = false;
    }
    char shows[96], why[96];

    // With no other source offered the key is moot: the line gives the first
    // absent source's reason, unless that was said already.
    if (only_panel) {
        for (size_t i = 0; i < panel; i++) {
            source[i]->reason(why, sizeof(why));
            if (why[0] != '\0') {
                source[panel]->name(shows, sizeof(shows));
                show_saying(pup, source[panel], telling, "VXR: %s shows %s: %s", name, shows, why);
                return;
            }
        }
        if (state[panel] == source_state::absent) {
            source[panel]->reason(why, sizeof(why));
            show_saying(pup, source[panel], telling, "VXR: %s shows no picture: %s", name, why);
            return;
        }
        popup_show(pup, source[panel]);
        return;
    }

    for (size_t i = 0; i < source_count; i++) {
        if (wanted == sources[i].key && state[i] != source_state::absent) {
            source[i]->name(shows, sizeof(shows));
            show_saying(pup, source[i], telling, "VXR: %s shows %s: %s = %d%s", name, shows, pref->name,
                        static_cast<int>(wanted),
                        state[i] == source_state::live
                            ? ""
                            : "; the aircraft does not use that device, so the window stays dark");
            return;
        }
    }

    // The first source that gives pictures; the panel, taken when the others
    // give none, tells why through the first of them that is dark.
    size_t chosen = 0;
    while (chosen < panel && state[chosen] != source_state::live)
        chosen++;
    // A screen without a panel region, none of whose sources is live, waits
    // on the first that is offered: its pictures come when it is drawn.
    if (state[chosen] != source_state::live) {
        chosen = 0;
        while (state[chosen] == source_state::absent)
            chosen++;
    }
    size_t says = chosen;
    if (chosen == panel) {
        says = 0;
        while (state[says] != source_state::dark)
            says++;
    }
    source[chosen]->name(shows, sizeof(shows));
    source[says]->reason(why, sizeof(why));
    if (state[chosen] == source_state::live)
        show_saying(pup, source[chosen], telling, "VXR: %s shows %s: %s", name, shows, why);
    else
        show_saying(pup, source[chosen], telling, "VXR: %s waits for %s: %s", name, shows, why);
}

void popups_choose_sources(source_telling telling)
{
    for (popup *pup : popup_list)
        popup_choose_source(pup, telling);
}
