#pragma once

#include <cstdint>

#include "base/surface.h"

namespace tsukikage {

// A rectangle of pixels: left, top, width, height.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The screen drawing operations on surfaces. Each clips at the destination's edges, and a
// destination pixel whose source pixel lies outside the source surface keeps its colour.
// The copies return non-zero when they ran and 0 when a surface has no pixels, as the
// platform's drawing calls report success.

// Unscaled copy of `from.width` x `from.height` pixels from (from.x, from.y) of `source` to
// (to_x, to_y) of `dest`.
int CopySurface(Surface& dest, int to_x, int to_y, const Surface& source, PixelRect from);

// Scaled copy of the rectangle `from` of `source` into the rectangle `to` of `dest`,
// shrinking and growing by picking pixels, never blending. Destination pixel j of a span
// of length D takes source pixel floor((2j + 1) * S / (2 D)) of the source span of length
// S: the source pixel under the destination pixel's centre. Clipping never changes which
// source pixel a destination pixel picks. An empty or negative size draws nothing.
int StretchSurface(Surface& dest, PixelRect to, const Surface& source, PixelRect from);

// Fills a rectangle with one colour (0xAARRGGBB).
void FillSurface(Surface& dest, PixelRect area, std::uint32_t colour);

}  // namespace tsukikage
