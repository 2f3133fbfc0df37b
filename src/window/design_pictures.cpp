#include "window/design_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tsukikage {
namespace {

constexpr std::uint32_t kClear = 0x00000000u;
constexpr std::uint32_t kOutline = 0xFF000000u;

struct Point {
    double x;
    double y;
};

// Inside the triangle (a, b, c), edges included.
bool InTriangle(Point p, Point a, Point b, Point c) {
    auto side = [](Point p1, Point p2, Point p3) {
        return (p1.x - p3.x) * (p2.y - p3.y) - (p2.x - p3.x) * (p1.y - p3.y);
    };
    double d1 = side(p, a, b);
    double d2 = side(p, b, c);
    double d3 = side(p, c, a);
    bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

// A filled triangle with a one-pixel dark outline on a transparent 32 x 32 picture.
Surface Triangle(Point a, Point b, Point c, std::uint32_t fill) {
    Surface s(32, 32, kClear);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (InTriangle({x + 0.5, y + 0.5}, a, b, c)) s.at(x, y) = fill;
        }
    }
    Surface outlined = s;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (s.at(x, y) != kClear) continue;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    int nx = x + dx;
                    int ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < 32 && ny < 32 && s.at(nx, ny) != kClear) {
                        outlined.at(x, y) = kOutline;
                    }
                }
            }
        }
    }
    return outlined;
}

// An arrow pointer with its tip at the top left.
Surface ArrowPointer(std::uint32_t fill) {
    Surface s = Triangle({1, 1}, {1, 22}, {16, 16}, fill);
    for (int y = 14; y < 29; ++y) {
        for (int x = 8; x < 13; ++x) {
            int sx = x + (y - 14) / 2;
            if (sx < 32) s.at(sx, y) = (x == 8 || x == 12 || y == 28) ? kOutline : fill;
        }
    }
    return s;
}

// A title image of the design: a dark bar with a thin gold frame and a small sign at its
// left that tells the images apart (the game's own title pictures replace them).
Surface TitleBar(char sign) {
    constexpr int kWidth = 211;
    constexpr int kHeight = 26;
    constexpr std::uint32_t kGold = 0xFFC8A050u;
    Surface bar(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        const auto shade = static_cast<std::uint32_t>(0x20 + y * 2);
        for (int x = 0; x < kWidth; ++x) {
            const bool frame = x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1;
            bar.at(x, y) = frame ? kGold : 0xFF000000u | shade << 16 | shade << 8 | (shade + 0x30);
        }
    }
    for (int y = 7; y < 19; ++y) {
        for (int x = 8; x < 20; ++x) {
            const int dx = x - 8;
            const int dy = y - 7;
            bool on = false;
            switch (sign) {
                case '>':
                    on = dx <= 2 * std::min(dy, 11 - dy);
                    break;
                case '=':
                    on = dy % 4 < 2;
                    break;
                case 'x':
                    on = std::abs(dx - dy) < 2 || std::abs(dx + dy - 11) < 2;
                    break;
                default:
                    on = dx == 0 || dy == 0 || dx == 11 || dy == 11 ||
                         (dx > 4 && dx < 7 && dy > 4 && dy < 7);
                    break;
            }
            if (on) bar.at(x, y) = kGold;
        }
    }
    return bar;
}

// A button of the extras: a dark plate with a gold frame and its sign. Signs: '>' next,
// '<' previous, 'p' play, 's' stop, 'b' back.
Surface ButtonPlate(int width, char sign) {
    constexpr int kHeight = 32;
    constexpr std::uint32_t kGold = 0xFFC8A050u;
    constexpr std::uint32_t kPlate = 0xFF1C1C34u;
    Surface plate(width, kHeight, kPlate);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x == 0 || y == 0 || x == width - 1 || y == kHeight - 1) plate.at(x, y) = kGold;
        }
    }
    const auto right = [](int dx, int dy) { return dx >= 0 && dx <= 2 * std::min(dy, 14 - dy); };
    const int cx = width / 2;
    for (int y = 9; y < 24; ++y) {
        const int dy = y - 9;
        for (int x = 2; x < width - 2; ++x) {
            bool on = false;
            switch (sign) {
                case '>':
                    on = right(x - (cx - 7), dy) || right(x - (cx - 1), dy);
                    break;
                case '<':
                    on = right((cx + 7) - x, dy) || right((cx + 1) - x, dy);
                    break;
                case 'p':
                    on = right(x - (cx - 5), dy);
                    break;
                case 's':
                    on = x >= cx - 6 && x <= cx + 6 && dy >= 1 && dy <= 13;
                    break;
                default:  // back: an arrow to the left over a bar
                    on = right((cx - 1) - x, dy) ||
                         (dy >= 5 && dy <= 9 && x >= cx - 1 && x <= cx + 8);
                    break;
            }
            if (on) plate.at(x, y) = kGold;
        }
    }
    return plate;
}

}  // namespace

std::shared_ptr<const Surface> ButtonDesignPicture(ControlId button) {
    static const auto next = std::make_shared<const Surface>(ButtonPlate(32, '>'));
    static const auto previous = std::make_shared<const Surface>(ButtonPlate(32, '<'));
    static const auto back = std::make_shared<const Surface>(ButtonPlate(32, 'b'));
    static const auto music_next = std::make_shared<const Surface>(ButtonPlate(35, '>'));
    static const auto music_previous = std::make_shared<const Surface>(ButtonPlate(35, '<'));
    static const auto play = std::make_shared<const Surface>(ButtonPlate(32, 'p'));
    static const auto stop = std::make_shared<const Surface>(ButtonPlate(35, 's'));
    switch (button) {
        case ControlId::CGGo:
            return next;
        case ControlId::CGBack:
            return previous;
        case ControlId::MusicGo:
            return music_next;
        case ControlId::MusicBack:
            return music_previous;
        case ControlId::MusicPlay:
            return play;
        case ControlId::MusicStop:
            return stop;
        default:
            return back;
    }
}

std::shared_ptr<const Surface> TitleImageDesignPicture(ControlId image) {
    static const auto new_game = std::make_shared<const Surface>(TitleBar('>'));
    static const auto load_game = std::make_shared<const Surface>(TitleBar('='));
    static const auto end = std::make_shared<const Surface>(TitleBar('x'));
    static const auto locked = std::make_shared<const Surface>(TitleBar('?'));
    switch (image) {
        case ControlId::NewGameImage:
            return new_game;
        case ControlId::LoadGameImage:
            return load_game;
        case ControlId::EndImage:
            return end;
        default:
            return locked;
    }
}

// Each picture is drawn once and shared by every control that shows it.
std::shared_ptr<const Surface> AheadMarkerPicture() {
    static const auto picture =
        std::make_shared<const Surface>(Triangle({6, 4}, {26, 16}, {6, 28}, 0xFFE03030u));
    return picture;
}

std::shared_ptr<const Surface> ChoiceMarkerPicture() {
    static const auto picture =
        std::make_shared<const Surface>(Triangle({26, 4}, {6, 16}, {26, 28}, 0xFFE0A030u));
    return picture;
}

MouseIcon AheadMousePointer() {
    static const MouseIcon icon{std::make_shared<const Surface>(ArrowPointer(0xFFFFD040u)), 1, 1};
    return icon;
}

MouseIcon ChoiceMousePointer() {
    static const MouseIcon icon{std::make_shared<const Surface>(ArrowPointer(0xFF60C0FFu)), 1, 1};
    return icon;
}

}  // namespace tsukikage
