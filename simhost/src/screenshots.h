/*
 * Screenshots as PNG files (written with cairo), with the desktop's cursor
 * drawn in at the pointer: the image the desktop shows, its hot spot on the
 * pointer, or without a desktop a small arrow.
 */
#ifndef SIMHOST_SCREENSHOTS_H
#define SIMHOST_SCREENSHOTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "simhost/host.h"

namespace simhost {

struct CursorOverlay {
    bool visible = false;
    int x = 0, y = 0;                  // the pointer in image pixels, from the top-left
    const DesktopCursor *desktop = nullptr;  // nullptr: the arrow
};

// pixels: 0xFFRRGGBB, rows from the top down. False when the file cannot be written.
bool write_screenshot(const std::string &path, const std::vector<uint32_t> &pixels, int width, int height,
                      const CursorOverlay &cursor);

}  // namespace simhost

#endif
