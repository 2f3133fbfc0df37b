#include "graphics/effect_frames.h"

namespace tsukikage {
namespace {

PixelRect Strip(int i) {
    return {kStripWidth * i, 0, kStripWidth, kScreenHeight};
}

// Integer division truncating towards zero, as the turning strips are computed (C++ `/`
// does the same; the name says it matters for the negative row of the last strip).
int DivTruncating(int a, int b) {
    return a / b;
}

}  // namespace

EffectFrame SqueezeFrame(int k) {
    EffectFrame frame;
    const int incoming_width = 32 * k;
    frame.Add(
        {kOutgoingBuffer, kWholeBuffer, {0, 0, kScreenWidth - incoming_width, kScreenHeight}});
    frame.Add({kIncomingBuffer,
               kWholeBuffer,
               {kScreenWidth - incoming_width, 0, incoming_width, kScreenHeight}});
    return frame;
}

EffectFrame ShrinkFrame(int k) {
    EffectFrame frame;
    frame.Add({kIncomingBuffer, kWholeBuffer, kWholeBuffer, false});
    const int percent = 100 - 3 * k;
    frame.Add({kOutgoingBuffer,
               kWholeBuffer,
               {3 * k, 3 * k, percent * kScreenWidth / 100, percent * kScreenHeight / 100}});
    return frame;
}

EffectFrame TurnFrame(int s) {
    EffectFrame frame;
    frame.black_first = true;
    if (s >= 1 && s <= 23) {
        for (int i = 0; i < kStripCount; ++i) {
            const int q = DivTruncating(s * i, 4);
            frame.Add({kOutgoingBuffer,
                       Strip(i),
                       {(24 - s) * i + 13 * s, q, 24 - s, kScreenHeight - 2 * q}});
        }
    } else if (s == 24) {
        frame.Add({kIncomingBuffer, kWholeBuffer, {319, 0, 1, kScreenHeight}});
        frame.Add({kOutgoingBuffer, kWholeBuffer, {320, 0, 1, kScreenHeight}});
    } else if (s >= 25 && s <= 47) {
        for (int i = 0; i < kStripCount; ++i) {
            const int m = 25 - i;
            const int q = DivTruncating((48 - s) * m, 4);
            frame.Add({kIncomingBuffer,
                       Strip(i),
                       {(s - 24) * i + 13 * (48 - s), q, s - 24, kScreenHeight - 2 * q}});
        }
    }
    return frame;
}

}  // namespace tsukikage
