// Pictures decoded before come back by their files' bytes, within the budget.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "view/web/decoded_pictures.h"

namespace tsukikage::web {
namespace {

// A picture of one pixel whose colour tells it apart: with a file of 4 bytes, 8 bytes kept.
std::shared_ptr<const Surface> Pixel(std::uint32_t colour) {
    return std::make_shared<const Surface>(1, 1, colour);
}

// The colour found for each file, 0 for none.
std::vector<std::uint32_t> Look(DecodedPictures& decoded, const std::vector<std::string>& files) {
    std::vector<std::uint32_t> colours;
    for (const std::string& file : files) {
        const std::shared_ptr<const Surface> found = decoded.Find(file);
        colours.push_back(found ? found->pixels.front() : 0);
    }
    return colours;
}

TEST(DecodedPictures, FindsPicturesByTheWholeBytesOfTheirFiles) {
    DecodedPictures decoded(1000);
    const std::shared_ptr<const Surface> first = Pixel(1);
    decoded.Keep("BM01", first);
    decoded.Keep(std::string("BM\0\x01", 4), Pixel(2));
    decoded.Keep("BM01", Pixel(3));  // the same file again keeps the first pixels
    EXPECT_EQ(decoded.kept_bytes(), 16u);
    // The same length with another byte, a file cut short or run on, a NUL inside.
    EXPECT_EQ(Look(decoded, {"BM01", std::string("BM\0\x01", 4), "BM02", "BM0", "BM011", "",
                             std::string("BM\0\x02", 4)}),
              (std::vector<std::uint32_t>{1, 2, 0, 0, 0, 0, 0}));
    // The very picture kept, not a copy: the page keeps its image by the picture.
    EXPECT_EQ(decoded.Find("BM01"), first);
}

TEST(DecodedPictures, LetsTheLeastRecentlyUsedGoPastTheBudget) {
    const struct {
        const char* what;
        std::vector<std::string> keep;    // in order; "?X" looks X up instead
        std::vector<std::uint32_t> left;  // colours of files "A", "B", "C", "D" then
        std::size_t kept;
    } kCases[] = {
        {"within the budget", {"A", "B", "C"}, {1, 2, 3, 0}, 24},
        {"the oldest goes", {"A", "B", "C", "D"}, {0, 2, 3, 4}, 24},
        {"one looked up stays", {"A", "B", "C", "?A", "D"}, {1, 0, 3, 4}, 24},
        {"a miss changes nothing", {"A", "B", "C", "?D", "D"}, {0, 2, 3, 4}, 24},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        DecodedPictures decoded(24);
        for (const std::string& step : c.keep) {
            if (step[0] == '?') {
                decoded.Find(step.substr(1) + "...");
                continue;
            }
            const auto colour = static_cast<std::uint32_t>(step[0] - 'A' + 1);
            decoded.Keep(step + "...", Pixel(colour));
        }
        EXPECT_EQ(decoded.kept_bytes(), c.kept);
        EXPECT_EQ(Look(decoded, {"A...", "B...", "C...", "D..."}), c.left);
    }
}

TEST(DecodedPictures, KeepsNoPictureLargerThanTheWholeBudget) {
    DecodedPictures decoded(8);
    decoded.Keep("A...", Pixel(1));
    decoded.Keep("B....", Pixel(2));  // 9 bytes
    EXPECT_EQ(Look(decoded, {"A...", "B...."}), (std::vector<std::uint32_t>{1, 0}));
    EXPECT_EQ(decoded.kept_bytes(), 8u);
}

}  // namespace
}  // namespace tsukikage::web
