#include "base/surface_ops.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tsukikage {
namespace {

// The part [first, last) of a span [start, start + length) that lies inside [0, limit).
struct Span {
    int first;
    int last;
    bool empty() const { return first >= last; }
};

Span Clip(long long start, long long length, int limit) {
    const long long first = std::max(0LL, start);
    const long long last = std::min<long long>(limit, start + length);
    if (length <= 0 || first >= last) return {0, 0};
    return {static_cast<int>(first), static_cast<int>(last)};
}

// The source offset picked by destination offset j of a span: the pixel under its centre.
int Pick(long long j, int source_length, int dest_length) {
    return static_cast<int>(((2 * j + 1) * source_length) / (2LL * dest_length));
}

}  // namespace

int CopySurface(Surface& dest, int to_x, int to_y, const Surface& source, PixelRect from) {
    if (dest.empty() || source.empty()) return 0;
    // The destination span, narrowed by the destination's edges, then by the source's.
    Span xs = Clip(to_x, from.width, dest.width);
    Span ys = Clip(to_y, from.height, dest.height);
    const long long dx = static_cast<long long>(from.x) - to_x;  // source = dest + dx
    const long long dy = static_cast<long long>(from.y) - to_y;
    // Narrowed in 64 bits: extreme offsets must give an empty span, never a wrapped one.
    const long long x_first = std::max<long long>(xs.first, -dx);
    const long long x_last = std::min<long long>(xs.last, source.width - dx);
    const long long y_first = std::max<long long>(ys.first, -dy);
    const long long y_last = std::min<long long>(ys.last, source.height - dy);
    if (x_first >= x_last || y_first >= y_last) return 1;
    xs = {static_cast<int>(x_first), static_cast<int>(x_last)};
    ys = {static_cast<int>(y_first), static_cast<int>(y_last)};
    const std::size_t count = static_cast<std::size_t>(xs.last - xs.first);
    for (int y = ys.first; y < ys.last; ++y) {
        std::memcpy(&dest.at(xs.first, y),
                    &source.pixels[static_cast<std::size_t>(y + dy) * source.width +
                                   static_cast<std::size_t>(xs.first + dx)],
                    count * sizeof(std::uint32_t));
    }
    return 1;
}

int StretchSurface(Surface& dest, PixelRect to, const Surface& source, PixelRect from) {
    if (dest.empty() || source.empty()) return 0;
    if (from.width <= 0 || from.height <= 0) return 1;
    const Span xs = Clip(to.x, to.width, dest.width);
    const Span ys = Clip(to.y, to.height, dest.height);
    if (xs.empty() || ys.empty()) return 1;

    // Source column of every destination column, or -1 when it lies outside the source.
    thread_local std::vector<int> columns;
    columns.resize(static_cast<std::size_t>(xs.last - xs.first));
    for (int x = xs.first; x < xs.last; ++x) {
        const long long sx = static_cast<long long>(from.x) + Pick(x - to.x, from.width, to.width);
        columns[static_cast<std::size_t>(x - xs.first)] =
            sx >= 0 && sx < source.width ? static_cast<int>(sx) : -1;
    }
    for (int y = ys.first; y < ys.last; ++y) {
        const long long sy =
            static_cast<long long>(from.y) + Pick(y - to.y, from.height, to.height);
        if (sy < 0 || sy >= source.height) continue;
        const std::uint32_t* source_row =
            &source.pixels[static_cast<std::size_t>(sy) * source.width];
        std::uint32_t* dest_row = &dest.at(xs.first, y);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i] >= 0) dest_row[i] = source_row[columns[i]];
        }
    }
    return 1;
}

void FillSurface(Surface& dest, PixelRect area, std::uint32_t colour) {
    if (dest.empty()) return;
    const Span xs = Clip(area.x, area.width, dest.width);
    const Span ys = Clip(area.y, area.height, dest.height);
    if (xs.empty() || ys.empty()) return;
    for (int y = ys.first; y < ys.last; ++y) {
        std::fill(&dest.at(xs.first, y), &dest.at(xs.first, y) + (xs.last - xs.first), colour);
    }
}

}  // namespace tsukikage
