/*
 * A screen's picture shape: the key <prefix>_aspect (width per 1000 of the
 * height; 1333 is 4:3, the default, and a key written only once it holds
 * another), the popup's image size taken from its source, and the reshaping
 * of its window when a picture of another shape comes.
 */
#include "picture_aspect.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

#include <acfutils/log.h>

#include "../config.h"
#include "../screens.h"
#include "popupSystem.h"
#include "popup_window.h"

namespace {

constexpr int32_t four_by_three = 1333;
// Shapes outside these (1:10 and 10:1) are no screen's: a hand edit gone wrong.
constexpr int32_t least_aspect = 100;
constexpr int32_t most_aspect = 10000;

class aspect_key {
public:
    explicit aspect_key(size_t screen)
        : pref(&popup_pref_registry, key_name(screen), four_by_three, true)
    {
    }
    pref_int pref;

private:
    // Made before pref, which keeps a pointer to it.
    const char *key_name(size_t screen)
    {
        snprintf(name, sizeof(name), "%s_aspect", screen_table[screen].key_prefix);
        return name;
    }
    char name[64];
};

template <size_t... I>
std::array<aspect_key, sizeof...(I)> make_keys(std::index_sequence<I...>)
{
    return {aspect_key(I)...};
}

// In the order of the screen table.
std::array<aspect_key, screen_count> keys = make_keys(std::make_index_sequence<screen_count>());

pref_int &key_of(const popup *pup)
{
    return keys[pup->capture.display].pref;
}

// The size the shown source tells: a panel region's, or a device's screen
// once it has been copied.
bool told_size(const popup *pup, double *w, double *h)
{
    const capture_region *r = pup->capture.regions();
    if (capture_region_is_end(r) || !(r->src_w > 0) || !(r->src_h > 0))
        return false;
    *w = r->src_w;
    *h = r->src_h;
    return true;
}

// True when the picture's shape is another than the window kept.
bool take_told(popup *pup)
{
    double w = 0, h = 0;
    if (!told_size(pup, &w, &h))
        return false;
    const int32_t told = picture_thousandths(w, h);
    const bool reshaped = told != picture_thousandths(pup->image_w, pup->image_h);
    pup->image_w = w;
    pup->image_h = h;
    key_of(pup).set(told);
    return reshaped;
}

}  // namespace

int32_t picture_thousandths(double width, double height)
{
    return static_cast<int32_t>(std::lround(width * 1000 / height));
}

void picture_aspect_init(popup *pup)
{
    pref_int &key = key_of(pup);
    const int32_t aspect = key.get();
    if (aspect < least_aspect || aspect > most_aspect) {
        logMsg("VXR: %s = %d is not a picture's width per 1000 of its height: the window takes the shape of its "
               "first picture", key.name, static_cast<int>(aspect));
        return;
    }
    if (aspect == picture_thousandths(pup->image_w, pup->image_h))
        return;
    // As wide as before, as high as the remembered shape makes it.
    pup->image_h = pup->image_w * 1000 / aspect;
}

void picture_aspect_take(popup *pup)
{
    take_told(pup);
}

void picture_aspect_follow(popup *pup)
{
    if (!take_told(pup))
        return;
    logMsg("VXR: %s shows a picture of %d x %d: its window takes that shape", pup->title.c_str(),
           static_cast<int>(pup->image_w), static_cast<int>(pup->image_h));
    popup_fit_picture(pup);
}
