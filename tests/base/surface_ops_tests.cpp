// Copies and fills on tiny surfaces, with every pixel spelled out.
#include <gtest/gtest.h>

#include <limits>

#include <cstdint>
#include <vector>

#include "base/surface_ops.h"

namespace tsukikage {
namespace {

// A surface whose pixel (x, y) is 10 * y + x + 1, so each pixel names where it came from.
Surface Numbered(int width, int height) {
    Surface s(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) s.at(x, y) = static_cast<std::uint32_t>(10 * y + x + 1);
    }
    return s;
}

std::vector<std::uint32_t> Row(const Surface& s, int y) {
    return {s.pixels.begin() + y * s.width, s.pixels.begin() + (y + 1) * s.width};
}

using Pixels = std::vector<std::uint32_t>;

TEST(SurfaceCopyTest, UnscaledCopyClipsAtEveryEdgeOfBothSurfaces) {
    const Surface source = Numbered(3, 2);
    Surface dest(4, 3, 0);
    // Half off the left and top of the destination.
    EXPECT_NE(CopySurface(dest, -1, -1, source, {0, 0, 3, 2}), 0);
    EXPECT_EQ(Row(dest, 0), (Pixels{12, 13, 0, 0}));
    EXPECT_EQ(Row(dest, 1), (Pixels{0, 0, 0, 0}));

    // Off the right and bottom, and a source rectangle reaching past the source's edge:
    // pixels without a source keep their colour.
    dest = Surface(4, 3, 0);
    CopySurface(dest, 2, 1, source, {1, 0, 4, 4});
    EXPECT_EQ(Row(dest, 0), (Pixels{0, 0, 0, 0}));
    EXPECT_EQ(Row(dest, 1), (Pixels{0, 0, 2, 3}));
    EXPECT_EQ(Row(dest, 2), (Pixels{0, 0, 12, 13}));

    // Wholly outside: nothing changes, and the call still reports success.
    dest = Surface(4, 3, 7);
    EXPECT_NE(CopySurface(dest, 10, 10, source, {0, 0, 3, 2}), 0);
    EXPECT_NE(CopySurface(dest, 0, 0, source, {-5, 0, 3, 2}), 0);
    // Offsets at the ends of the integer range never wrap into the surfaces.
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    CopySurface(dest, kMax, 0, source, {kMin, 0, 4, 4});
    CopySurface(dest, 0, kMax, source, {0, kMin, 4, 4});
    CopySurface(dest, kMin, kMin, source, {kMax, kMax, kMax, kMax});
    EXPECT_EQ(dest.pixels, Pixels(12, 7));
}

TEST(SurfaceCopyTest, ScaledCopyPicksTheSourcePixelUnderEachCentre) {
    const Surface source = Numbered(4, 1);
    Surface dest(2, 1, 0);
    // Shrinking 4 to 2 keeps columns 1 and 3; no colour is blended.
    StretchSurface(dest, {0, 0, 2, 1}, source, {0, 0, 4, 1});
    EXPECT_EQ(Row(dest, 0), (Pixels{2, 4}));

    // Growing 2 to 5 repeats pixels: (2j + 1) * 2 / 10 for j = 0..4 is 0, 0, 1, 1, 1.
    const Surface pair = Numbered(2, 1);
    Surface wide(5, 1, 0);
    StretchSurface(wide, {0, 0, 5, 1}, pair, {0, 0, 2, 1});
    EXPECT_EQ(Row(wide, 0), (Pixels{1, 1, 2, 2, 2}));

    // A whole picture into one column takes its middle column.
    const Surface big = Numbered(640, 1);
    Surface column(1, 1, 0);
    StretchSurface(column, {0, 0, 1, 1}, big, {0, 0, 640, 1});
    EXPECT_EQ(column.at(0, 0), 321u);
}

TEST(SurfaceCopyTest, ClippingAScaledCopyKeepsEveryPixelsPick) {
    const Surface source = Numbered(1, 6);
    // Six rows into four starting one row above the destination: rows pick 0, 2, 3, 5 and
    // the first one falls outside.
    Surface dest(1, 3, 0);
    StretchSurface(dest, {0, -1, 1, 4}, source, {0, 0, 1, 6});
    EXPECT_EQ(dest.pixels, (Pixels{21, 31, 51}));

    // A strip reaching past the source's right edge leaves those columns untouched.
    const Surface narrow = Numbered(3, 1);
    Surface strip(4, 1, 99);
    StretchSurface(strip, {0, 0, 4, 1}, narrow, {2, 0, 4, 1});
    EXPECT_EQ(Row(strip, 0), (Pixels{3, 99, 99, 99}));

    // Nothing is drawn for an empty or negative size.
    Surface untouched(2, 2, 5);
    StretchSurface(untouched, {0, 0, 0, 2}, source, {0, 0, 1, 6});
    StretchSurface(untouched, {0, 0, -2, 2}, source, {0, 0, 1, 6});
    StretchSurface(untouched, {0, 0, 2, 2}, source, {0, 0, 1, 0});
    EXPECT_EQ(untouched.pixels, Pixels(4, 5));
    // A surface without pixels reports failure.
    Surface none;
    EXPECT_EQ(StretchSurface(none, {0, 0, 1, 1}, source, {0, 0, 1, 1}), 0);
    EXPECT_EQ(CopySurface(untouched, 0, 0, none, {0, 0, 1, 1}), 0);
}

TEST(SurfaceCopyTest, FillCoversOnlyTheClippedRectangle) {
    Surface dest(3, 2, 0);
    FillSurface(dest, {-1, 1, 3, 5}, 0xFF000000u);
    EXPECT_EQ(Row(dest, 0), (Pixels{0, 0, 0}));
    EXPECT_EQ(Row(dest, 1), (Pixels{0xFF000000u, 0xFF000000u, 0}));
}

}  // namespace
}  // namespace tsukikage
