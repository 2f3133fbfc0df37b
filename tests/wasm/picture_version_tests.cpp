// The page uploads a drawn picture's pixels again only when its version moved on.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "view/web/frame.h"

namespace tsukikage::web {
namespace {

TEST(PictureTable, VersionMovesOnExactlyWhenThePixelsDifferFromTheLastAsked) {
    PictureTable pictures;
    auto image = std::make_shared<Surface>(3, 2);
    const int id = pictures.IdOf(image);
    const struct {
        const char* what;
        std::function<void(Surface&)> draw;
        int version;
    } kSteps[] = {
        {"first asked", [](Surface&) {}, 1},
        {"nothing drawn", [](Surface&) {}, 1},
        {"the last pixel", [](Surface& s) { s.at(2, 1) = 0xFF000001u; }, 2},
        {"the same pixel again", [](Surface& s) { s.at(2, 1) = 0xFF000001u; }, 2},
        {"the first pixel's alpha only", [](Surface& s) { s.at(0, 0) = 0x00000000u; }, 3},
        {"put back as it was", [](Surface& s) { s.at(0, 0) = 0xFF000000u; }, 4},
        // The same number of pixels in another shape is another picture.
        {"turned on its side",
         [](Surface& s) {
             s.width = 2;
             s.height = 3;
         },
         5},
    };
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.what);
        step.draw(*image);
        EXPECT_EQ(pictures.VersionOf(id), step.version);
    }
}

TEST(PictureTable, FreedPicturesHaveNoVersionAndTheirPixelsAreLetGo) {
    PictureTable pictures;
    auto image = std::make_shared<Surface>(4, 4);
    const int id = pictures.IdOf(image);
    EXPECT_EQ(pictures.VersionOf(id), 1);
    image.reset();
    pictures.Prune();
    EXPECT_EQ(pictures.VersionOf(id), 0);
    EXPECT_EQ(pictures.VersionOf(id + 1), 0);

    // A new picture starts its own count under its own number.
    auto next = std::make_shared<Surface>(4, 4);
    const int next_id = pictures.IdOf(next);
    EXPECT_NE(next_id, id);
    EXPECT_EQ(pictures.VersionOf(next_id), 1);
}

}  // namespace
}  // namespace tsukikage::web
