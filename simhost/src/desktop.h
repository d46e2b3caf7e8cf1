/*
 * The desktop as X-Plane sees it: the operating system's monitors in OS
 * pixels, which of them X-Plane covers with a full-screen window, and the
 * user-interface scale that makes one global-desktop boxel 1, 1.5 or 2 pixels.
 */
#ifndef SIMHOST_DESKTOP_H
#define SIMHOST_DESKTOP_H

#include <vector>

#include "simhost/host.h"

namespace simhost {

class Desktop {
public:
    Desktop();

    // An empty list is one covered 1920 x 1080 monitor at the origin. Throws
    // std::invalid_argument when monitor 0, the main one, is not covered.
    void set_monitors(const std::vector<Monitor> &list);
    // 100, 150 or 200; anything else throws std::invalid_argument.
    void set_scale(int percent);
    int scale() const { return scale_; }

    int count() const { return static_cast<int>(os_.size()); }
    bool exists(int index) const { return index >= 0 && index < count(); }
    bool covered(int index) const { return exists(index) && covered_[static_cast<size_t>(index)]; }
    const std::vector<Rect> &os_rects() const { return os_; }
    const Rect &os(int index) const { return os_[static_cast<size_t>(index)]; }
    // Every monitor's rectangle in global boxels, covered or not: where a
    // window full screen on it lies.
    Rect global(int index) const { return to_global(os(index)); }

    // The global desktop: the bounding box of the covered monitors, in boxels.
    Rect global_bounds() const;
    // The bounding box of every monitor, in OS pixels.
    Rect os_bounds() const;

    // Boxels are OS pixels x 100 / scale, each coordinate rounded to the
    // nearest whole (halves upwards), so that monitors sharing an edge in
    // pixels share it in boxels too. Pixels are boxels x scale / 100, rounded
    // the same way; at 100 % both are the identity, at 200 % the way back is
    // exact.
    int to_global(int px) const;
    int to_os(int bx) const;
    Rect to_global(const Rect &os) const;
    Rect to_os(const Rect &global) const;

private:
    std::vector<Rect> os_;
    std::vector<bool> covered_;
    int scale_ = 100;
};

}  // namespace simhost

#endif
