#pragma once

#include <QImage>

#include <algorithm>

#include "base/surface.h"

namespace tsukikage {

// A QImage over the surface's pixels, without copying: valid while the surface lives.
// Opaque pictures (all of JPEG and BMP) are viewed as RGB32, which Qt blits without
// blending or converting.
inline QImage SurfaceImage(const Surface& surface) {
    if (surface.empty() ||
        surface.pixels.size() < static_cast<std::size_t>(surface.width) * surface.height) {
        return {};
    }
    const bool opaque = std::all_of(surface.pixels.begin(), surface.pixels.end(),
                                    [](std::uint32_t p) { return (p >> 24) == 0xFF; });
    return QImage(reinterpret_cast<const uchar*>(surface.pixels.data()), surface.width,
                  surface.height, static_cast<qsizetype>(surface.width) * 4,
                  opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
}

}  // namespace tsukikage
