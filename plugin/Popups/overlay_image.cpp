/*
 * Reading a popup's overlay image. cairo allocates the whole image as soon
 * as it has read the PNG's header, so a file declaring 20000 x 20000 pixels
 * would take gigabytes: the header is checked first. Paths are UTF-8 (cairo
 * opens them with the wide calls on Windows itself).
 */
#include "overlay_image.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include <acfutils/log.h>
#include <acfutils/path.h>

namespace {

// The size a PNG's header declares; false when the file does not start like
// a PNG (cairo then says what is wrong with it).
bool png_declared_size(const char *path, uint32_t *width, uint32_t *height)
{
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char head[24];
    FILE *f = path_fopen(path, "rb");
    if (f == nullptr)
        return false;
    size_t n = fread(head, 1, sizeof(head), f);
    fclose(f);
    if (n != sizeof(head) || memcmp(head, signature, sizeof(signature)) != 0 || memcmp(head + 12, "IHDR", 4) != 0)
        return false;
    auto big_endian = [](const unsigned char *p) {
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
    };
    *width = big_endian(head + 16);
    *height = big_endian(head + 20);
    return true;
}

}  // namespace

cairo_surface_t *overlay_image_read(const char *path)
{
    uint32_t width = 0, height = 0;
    if (png_declared_size(path, &width, &height) &&
        (width > overlay_image_max_side || height > overlay_image_max_side)) {
        logMsg("Cannot read image file %s: it is %u x %u pixels, more than an overlay may be (%u x %u)",
               path, static_cast<unsigned>(width), static_cast<unsigned>(height),
               overlay_image_max_side, overlay_image_max_side);
        return nullptr;
    }
    cairo_surface_t *image = cairo_image_surface_create_from_png(path);
    cairo_status_t status = cairo_surface_status(image);
    if (status != CAIRO_STATUS_SUCCESS) {
        logMsg("Cannot read image file %s: %s", path, cairo_status_to_string(status));
        cairo_surface_destroy(image);
        return nullptr;
    }
    return image;
}
