#pragma once

#include <array>
#include <cstdint>

#include "base/surface_ops.h"

namespace tsukikage {

// The geometry of the transition frames, apart from any drawing. The pictures are
// 640 x 480; buffer 0 holds the incoming picture, buffer 1 the outgoing one.
inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;
inline constexpr PixelRect kWholeBuffer{0, 0, kScreenWidth, kScreenHeight};

inline constexpr int kIncomingBuffer = 0;
inline constexpr int kOutgoingBuffer = 1;

// One copy of a frame: the rectangle `from` of a buffer to the rectangle `to` of the screen,
// scaled, or unscaled (then only the position of `to` counts).
struct FrameCopy {
    int buffer = kIncomingBuffer;
    PixelRect from;
    PixelRect to;
    bool scaled = true;
};

// Effect C turns each picture as 27 strips 24 pixels wide; the last one reaches 8 pixels
// past the picture's right edge.
inline constexpr int kStripCount = 27;
inline constexpr int kStripWidth = 24;

struct EffectFrame {
    bool black_first = false;  // the screen is filled with black before the copies
    int count = 0;
    std::array<FrameCopy, kStripCount> copies{};

    void Add(const FrameCopy& copy) { copies[static_cast<std::size_t>(count++)] = copy; }
};

// Effect A (horizontal squeeze), frame k = 0 to 20: the outgoing picture squeezed into the
// left 640 - 32k columns, the incoming one into the rest. It finishes after the frame that
// brings the step count to 21.
EffectFrame SqueezeFrame(int k);
inline constexpr int kSqueezeFrames = 21;

// Effect B (shrink away), frame k = 0 to 33: the incoming picture unscaled, the outgoing one
// over it at (3k, 3k), ((100 - 3k) * 640 / 100) x ((100 - 3k) * 480 / 100).
EffectFrame ShrinkFrame(int k);
inline constexpr int kShrinkFrames = 34;

// Effect C (turn through black), step s = 1 to 48 (the step count after the tick's
// increment): strips of the outgoing picture for s 1 to 23, two one-pixel columns for 24,
// strips of the incoming picture for 25 to 47, nothing at 48, where it finishes.
EffectFrame TurnFrame(int s);
inline constexpr int kTurnFrames = 48;

}  // namespace tsukikage
