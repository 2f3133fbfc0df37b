// The stick's dead zone and the repeat of a held direction.
#include <gtest/gtest.h>

#include "engine/pad.h"

namespace tsukikage {
namespace {

TEST(PadTest, TheStickPointsOnlyOutsideTheDeadZoneAndTheFartherAxisWins) {
    constexpr int kDead = kStickDeadZone;
    const struct {
        int x, y;
        std::optional<PadButton> direction;
    } cases[] = {
        {0, 0, std::nullopt},
        {kDead - 1, 0, std::nullopt},
        {-(kDead - 1), kDead - 1, std::nullopt},
        {kDead, 0, PadButton::Right},
        {-kDead, 0, PadButton::Left},
        {0, kDead, PadButton::Down},
        {0, -kDead, PadButton::Up},
        {-32768, 0, PadButton::Left},  // the axes' ends
        {32767, -32768, PadButton::Up},
        {kDead, kDead + 1, PadButton::Down},
        {kDead + 1, -kDead, PadButton::Right},
        {-20000, -20000, PadButton::Up},  // a tie goes up or down
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(StickDirection(c.x, c.y), c.direction);
    }
}

TEST(PadTest, AHeldDirectionGoesAtOnceThenAfterAPauseAndThenSteadily) {
    constexpr std::int64_t kFirst = PadRepeat::kFirstDelayMs;
    constexpr std::int64_t kEvery = PadRepeat::kIntervalMs;
    const std::optional<PadButton> none;
    const std::optional<PadButton> down = PadButton::Down;
    const std::optional<PadButton> left = PadButton::Left;
    const struct {
        std::optional<PadButton> held;
        std::int64_t at;
        std::optional<PadButton> pressed;
    } steps[] = {
        {none, 0, none},
        {down, 10, down},
        {down, 10 + kFirst - 1, none},
        {down, 10 + kFirst, down},
        {down, 10 + kFirst + kEvery - 1, none},
        {down, 10 + kFirst + kEvery, down},
        {down, 10 + kFirst + 10 * kEvery, down},  // late: once, not nine times
        {down, 10 + kFirst + 10 * kEvery + 1, none},
        {left, 2000, left},  // another direction starts afresh
        {left, 2000 + kEvery, none},
        {none, 2100, none},
        {left, 2101, left},  // released and pressed again: at once
    };
    PadRepeat repeat;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.at);
        EXPECT_EQ(repeat.Update(s.held, s.at), s.pressed);
        EXPECT_EQ(repeat.holding(), s.held.has_value());
    }
}

}  // namespace
}  // namespace tsukikage
