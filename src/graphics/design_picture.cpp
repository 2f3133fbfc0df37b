#include "graphics/design_picture.h"

#include <algorithm>
#include <cstdint>

#include "graphics/effect_frames.h"

namespace tsukikage {
namespace {

std::uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

bool InCircle(int x, int y, int cx, int cy, int r) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

std::shared_ptr<const Surface> DrawDesignPicture() {
    auto picture = std::make_shared<Surface>(kScreenWidth, kScreenHeight);
    Surface& s = *picture;
    for (int y = 0; y < kScreenHeight; ++y) {
        // Deep indigo at the top, a little lighter towards the horizon.
        const std::uint32_t sky = Rgb(8 + y / 24, 10 + y / 16, 40 + y / 8);
        for (int x = 0; x < kScreenWidth; ++x) s.at(x, y) = sky;
    }
    // Stars on a fixed scatter.
    std::uint32_t seed = 20240613u;
    for (int i = 0; i < 90; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int x = static_cast<int>((seed >> 8) % kScreenWidth);
        seed = seed * 1103515245u + 12345u;
        const int y = static_cast<int>((seed >> 8) % 300);
        s.at(x, y) = Rgb(220, 220, 200);
    }
    // A crescent: the moon's disc less a disc shifted towards the upper left.
    for (int y = 40; y < 180; ++y) {
        for (int x = 420; x < 560; ++x) {
            if (InCircle(x, y, 490, 110, 60) && !InCircle(x, y, 466, 92, 52)) {
                s.at(x, y) = Rgb(245, 232, 170);
            }
        }
    }
    // A hill along the bottom.
    for (int x = 0; x < kScreenWidth; ++x) {
        const int d = x - 260;
        const int top = 380 + d * d / 2600;
        for (int y = std::min(top, kScreenHeight); y < kScreenHeight; ++y)
            s.at(x, y) = Rgb(6, 12, 18);
    }
    return picture;
}

}  // namespace

// Drawn once: the picture never changes, and every engine's buffers share it.
std::shared_ptr<const Surface> BufferDesignPicture() {
    static const std::shared_ptr<const Surface> picture = DrawDesignPicture();
    return picture;
}

}  // namespace tsukikage
