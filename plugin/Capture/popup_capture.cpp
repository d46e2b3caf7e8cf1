/*
 * The sources a display can show, listed once, and the choice between them:
 * the source key forces one, else the first that gives pictures is taken.
 * The panel's picture, listed last, is always there.
 */
#include "popup_capture.h"

#include <cstdint>

#include <acfutils/log.h>

#include "../Popups/no_signal.h"
#include "../Popups/popupSystem.h"
#include "panel_source.h"
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
    {SOURCE_PANEL, panel_source, panel_source_init, nullptr},
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

void popup_show(popup *pup, capture_source *source)
{
    if (pup->capture.shown == source)
        return;
    release_copies(pup->capture.shown);
    pup->capture.shown = source;
    popup_expect_pictures(pup);
}

}  // namespace

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
    for (const listed_source &s : sources) {
        if (s.init != nullptr)
            s.init();
    }
    popups_choose_sources();
}

void capture_sources_fini()
{
    for (const listed_source &s : sources) {
        if (s.fini != nullptr)
            s.fini();
    }
    for (popup *pup : popup_list)
        popup_show(pup, sources[panel].of(pup->capture.display));
}

// One popup's choice; logs it with its reason.
void popup_choose_source(popup *pup)
{
    const capture_display display = pup->capture.display;
    const char *name = capture_display_name(display);
    pref_int *pref = pup->prefs != nullptr ? pup->prefs->source : nullptr;
    int32_t wanted = pref != nullptr ? pref->get() : SOURCE_AUTOMATIC;
    if (wanted != SOURCE_AUTOMATIC && listed_with_key(wanted) == nullptr) {
        logMsg("VXR: %s = %d is not 0, 1 or 2: the %s's source is chosen automatically", pref->name,
               static_cast<int>(wanted), name);
        wanted = SOURCE_AUTOMATIC;
    }

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
        popup_show(pup, source[panel]);
        for (size_t i = 0; i < panel; i++) {
            source[i]->reason(why, sizeof(why));
            if (why[0] != '\0') {
                source[panel]->name(shows, sizeof(shows));
                logMsg("VXR: %s shows %s: %s", name, shows, why);
                break;
            }
        }
        return;
    }

    for (size_t i = 0; i < source_count; i++) {
        if (wanted == sources[i].key && state[i] != source_state::absent) {
            popup_show(pup, source[i]);
            source[i]->name(shows, sizeof(shows));
            logMsg("VXR: %s shows %s: %s = %d%s", name, shows, pref->name, static_cast<int>(wanted),
                   state[i] == source_state::live
                       ? ""
                       : "; the aircraft does not use that device, so the window stays dark");
            return;
        }
    }

    // The first source that gives pictures; the panel, taken when the others
    // give none, tells why through the first of them that is dark.
    size_t chosen = 0;
    while (state[chosen] != source_state::live)
        chosen++;
    size_t says = chosen;
    if (chosen == panel) {
        says = 0;
        while (state[says] != source_state::dark)
            says++;
    }
    popup_show(pup, source[chosen]);
    source[chosen]->name(shows, sizeof(shows));
    source[says]->reason(why, sizeof(why));
    logMsg("VXR: %s shows %s: %s", name, shows, why);
}

void popups_choose_sources()
{
    for (popup *pup : popup_list)
        popup_choose_source(pup);
}
