/*
 * Reading a screen's panel_region key: four whole numbers, the region at
 * least 64 pixels either way and not left of or below the panel's origin.
 */
#include "panel_region_key.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <acfutils/log.h>

namespace {

void key_of(size_t screen, char *out, size_t size)
{
    snprintf(out, size, "%s_panel_region", screen_table[screen].key_prefix);
}

// Four whole numbers separated by blanks, nothing else; false otherwise.
bool parse_region(const char *text, panel_rect *out)
{
    long values[4];
    const char *p = text;
    for (long &v : values) {
        char *end = nullptr;
        errno = 0;
        v = strtol(p, &end, 10);
        if (end == p || errno != 0 || v < -1000000 || v > 1000000)
            return false;
        p = end;
    }
    while (*p == ' ' || *p == '\t')
        p++;
    if (*p != '\0')
        return false;
    *out = {static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2]),
            static_cast<int>(values[3])};
    return true;
}

}  // namespace

void panel_region_say_default(size_t screen, char *out, size_t size)
{
    const screen_row &row = screen_table[screen];
    const panel_rect &r = row.panel_region;
    if (r.width == 0)
        snprintf(out, size, "the %s has no panel region", row.name);
    else
        snprintf(out, size, "the %s takes its default region %d %d %d %d", row.name, r.left, r.bottom, r.width,
                 r.height);
}

panel_rect panel_region_of(size_t screen, const conf_t *conf)
{
    const panel_rect fallback = screen_table[screen].panel_region;
    const char *text = nullptr;
    char key[96], said[128];
    key_of(screen, key, sizeof(key));
    if (conf == nullptr || !conf_get_str(conf, key, &text))
        return fallback;
    panel_rect r;
    if (!parse_region(text, &r)) {
        panel_region_say_default(screen, said, sizeof(said));
        logMsg("VXR: %s = \"%s\" is not LEFT BOTTOM WIDTH HEIGHT in whole pixels: %s", key, text, said);
        return fallback;
    }
    if (r.left < 0 || r.bottom < 0) {
        panel_region_say_default(screen, said, sizeof(said));
        logMsg("VXR: %s = %d %d %d %d starts outside the panel: %s", key, r.left, r.bottom, r.width, r.height, said);
        return fallback;
    }
    if (r.width < panel_region_min_side || r.height < panel_region_min_side) {
        panel_region_say_default(screen, said, sizeof(said));
        logMsg("VXR: %s = %d %d %d %d is smaller than %d pixels: %s", key, r.left, r.bottom, r.width, r.height,
               panel_region_min_side, said);
        return fallback;
    }
    logMsg("VXR: The %s's panel region is %d %d %d %d (%s)", screen_table[screen].name, r.left, r.bottom, r.width,
           r.height, key);
    return r;
}

bool panel_region_fits(size_t screen, const panel_rect &region, int panel_w, int panel_h)
{
    if (int64_t(region.left) + region.width <= panel_w && int64_t(region.bottom) + region.height <= panel_h)
        return true;
    char key[96], said[128];
    key_of(screen, key, sizeof(key));
    panel_region_say_default(screen, said, sizeof(said));
    logMsg("VXR: %s = %d %d %d %d does not fit the panel (%d x %d): %s", key, region.left, region.bottom,
           region.width, region.height, panel_w, panel_h, said);
    return false;
}
