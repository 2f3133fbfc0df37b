// The rectangles of the transition frames, against the values the effects are known by.
#include <gtest/gtest.h>

#include "graphics/effect_frames.h"

namespace tsukikage {
namespace {

PixelRect Size(int x, int y, int width, int height) {
    return {x, y, width, height};
}

TEST(EffectFramesTest, SqueezeStartsWithTheOutgoingAndEndsWithTheIncomingPicture) {
    const EffectFrame first = SqueezeFrame(0);
    ASSERT_EQ(first.count, 2);
    EXPECT_EQ(first.copies[0].buffer, kOutgoingBuffer);
    EXPECT_EQ(first.copies[0].to, Size(0, 0, 640, 480));
    EXPECT_EQ(first.copies[1].buffer, kIncomingBuffer);
    EXPECT_EQ(first.copies[1].to, Size(640, 0, 0, 480));
    const EffectFrame last = SqueezeFrame(kSqueezeFrames - 1);
    EXPECT_EQ(last.copies[0].to, Size(0, 0, 0, 480));
    EXPECT_EQ(last.copies[1].to, Size(0, 0, 640, 480));
    for (int i = 0; i < last.count; ++i) {
        EXPECT_EQ(last.copies[i].from, kWholeBuffer);
        EXPECT_TRUE(last.copies[i].scaled);
    }
}

TEST(EffectFramesTest, ShrinkPutsTheOutgoingPictureAtTheKnownRectangles) {
    const struct {
        int k;
        PixelRect to;
    } known[] = {{0, Size(0, 0, 640, 480)},
                 {1, Size(3, 3, 620, 465)},
                 {5, Size(15, 15, 544, 408)},
                 {25, Size(75, 75, 160, 120)},
                 {33, Size(99, 99, 6, 4)}};
    for (const auto& [k, to] : known) {
        const EffectFrame frame = ShrinkFrame(k);
        ASSERT_EQ(frame.count, 2) << k;
        EXPECT_FALSE(frame.black_first);
        EXPECT_EQ(frame.copies[0].buffer, kIncomingBuffer);
        EXPECT_FALSE(frame.copies[0].scaled);
        EXPECT_EQ(frame.copies[0].to.x, 0);
        EXPECT_EQ(frame.copies[0].to.y, 0);
        EXPECT_EQ(frame.copies[1].buffer, kOutgoingBuffer);
        EXPECT_EQ(frame.copies[1].from, kWholeBuffer);
        EXPECT_EQ(frame.copies[1].to, to) << k;
    }
}

TEST(EffectFramesTest, TurnStripsSitAtTheKnownRectangles) {
    const struct {
        int s;
        int buffer;
        PixelRect strip0;
        PixelRect strip26;
    } known[] = {
        {1, kOutgoingBuffer, Size(13, 0, 23, 480), Size(611, 6, 23, 468)},
        {23, kOutgoingBuffer, Size(299, 0, 1, 480), Size(325, 149, 1, 182)},
        {25, kIncomingBuffer, Size(299, 143, 1, 194), Size(325, -5, 1, 490)},
        {47, kIncomingBuffer, Size(13, 6, 23, 468), Size(611, 0, 23, 480)},
    };
    for (const auto& [s, buffer, strip0, strip26] : known) {
        const EffectFrame frame = TurnFrame(s);
        EXPECT_TRUE(frame.black_first);
        ASSERT_EQ(frame.count, kStripCount) << s;
        EXPECT_EQ(frame.copies[0].to, strip0) << s;
        EXPECT_EQ(frame.copies[26].to, strip26) << s;
        for (int i = 0; i < kStripCount; ++i) {
            EXPECT_EQ(frame.copies[i].buffer, buffer);
            EXPECT_EQ(frame.copies[i].from, Size(24 * i, 0, 24, 480));
        }
    }
}

TEST(EffectFramesTest, TurnPassesThroughTwoColumnsAndEndsOnBlack) {
    const EffectFrame middle = TurnFrame(24);
    ASSERT_EQ(middle.count, 2);
    EXPECT_EQ(middle.copies[0].buffer, kIncomingBuffer);
    EXPECT_EQ(middle.copies[0].from, kWholeBuffer);
    EXPECT_EQ(middle.copies[0].to, Size(319, 0, 1, 480));
    EXPECT_EQ(middle.copies[1].buffer, kOutgoingBuffer);
    EXPECT_EQ(middle.copies[1].to, Size(320, 0, 1, 480));

    const EffectFrame last = TurnFrame(kTurnFrames);
    EXPECT_TRUE(last.black_first);
    EXPECT_EQ(last.count, 0);
}

}  // namespace
}  // namespace tsukikage
