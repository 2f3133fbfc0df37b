// The extras' screens by keys: the arrows move the highlight over their buttons (and, in the
// gallery, the frame over the thumbnails), Return presses, Escape and Backspace go back.
#include <gtest/gtest.h>

#include "fakes/game_fixture.h"
#include "graphics/picture_box.h"
#include "graphics/seen_record_text.h"

namespace tsukikage {
namespace {

using fakes::TestPictureBytes;

class ExtrasKeyTest : public fakes::GameTest {
  protected:
    void SetUp() override {
        engine->state.EndFlags = {0, 1, 1, 1};
        WriteGameFile("list.dat", fakes::Scenario({"2,曲一,曲二"}));
        WriteGameFile("Scenelist.dat", fakes::Scenario({"2,場一,場二"}));
        WriteGameFile("cgmode.dat", test_support::SeenRecordText(80, {1, 2, 6, 17}));
        for (int n : {1, 2, 6, 17}) {
            const std::string digits = (n < 10 ? "00" : "0") + std::to_string(n);
            WriteGameFile("data/smallsize/" + digits + ".jpg",
                          TestPictureBytes(160, 120, 0xFF100000u + n));
            WriteGameFile("data/" + digits + ".jpg", TestPictureBytes(640, 480, 0xFF200000u + n));
        }
        WriteGameFile("data/nothing.jpg", TestPictureBytes(640, 480, 0xFF0000FF));
    }
    void Press(const std::vector<Key>& keys) {
        for (Key key : keys) engine->KeyPress(key);
    }
    // The full view's picture, or 0 while the thumbnails show.
    std::uint32_t Viewed() {
        const auto& picture = control(ControlId::Picture1).picture;
        return control(ControlId::Shape1).visible || !picture ? 0 : picture->at(0, 0);
    }
};

constexpr Key kUp = Key::Up, kDown = Key::Down, kLeft = Key::Left, kRight = Key::Right,
              kReturn = Key::Return;

TEST_F(ExtrasKeyTest, TheMusicRoomAndTheSceneListGoAlongTheirButtons) {
    const struct {
        std::vector<Key> keys;
        std::optional<ControlId> focus;
        std::string label;  // on both screens
        bool title;         // back on the title screen
    } cases[] = {
        {{kReturn, Key::Space}, std::nullopt, "一", false},  // no highlight: nothing pressed
        {{kRight}, ControlId::SystemBack, "一", false},      // the first, left-most
        {{kUp}, ControlId::SystemBack, "一", false},
        {{kLeft, kLeft, kLeft}, ControlId::SystemBack, "一", false},  // stops at the end
        {{kRight, kRight, kRight, kRight, kReturn}, ControlId::MusicGo, "二", false},
        {{kDown, kDown, kDown, kDown, kReturn, kLeft, kLeft, kReturn},
         ControlId::MusicBack,
         "一",
         false},
        {{kRight, kReturn}, std::nullopt, "", true},  // the way back, pressed
        {{kRight, Key::Escape}, std::nullopt, "", true},
        {{Key::Backspace}, std::nullopt, "", true},
        {{Key::Digit1, Key::A, Key::PageDown, Key::WheelUp}, std::nullopt, "一", false},
    };
    for (const auto& [image, prefix] :
         {std::pair{ControlId::MusicImage, "曲"}, std::pair{ControlId::SceneImage, "場"}}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << prefix << " case " << (&c - cases));
            engine->SelectMode(Mode::Title);
            engine->Click(image);
            Press(c.keys);
            EXPECT_EQ(engine->state.TitleMode, c.title);
            if (c.title) continue;
            EXPECT_EQ(engine->form.key_focus, c.focus);
            EXPECT_EQ(Label(), prefix + c.label);
        }
    }
    // The music room's last button stops the music; the scene list has none there.
    engine->SelectMode(Mode::Title);
    engine->Click(ControlId::MusicImage);
    Press({kRight, kRight, kRight, kRight, kRight, kRight, kRight});
    EXPECT_EQ(engine->form.key_focus, ControlId::MusicStop);
    engine->SelectMode(Mode::Title);
    engine->Click(ControlId::SceneImage);
    Press({kRight, kRight, kRight, kRight, kRight, kRight, kRight});
    EXPECT_EQ(engine->form.key_focus, ControlId::MusicGo);
}

TEST_F(ExtrasKeyTest, TheGalleryFrameGoesOverTheThumbnailsAndDownToTheButtons) {
    const struct {
        std::vector<Key> keys;
        std::uint32_t viewed;  // the picture in the full view, 0 for the page
        std::optional<ControlId> focus;
        std::string page;
    } cases[] = {
        {{kReturn}, 0xFF200001u, std::nullopt, "1枚目"},  // the frame starts on the first
        {{kLeft, kUp, kReturn}, 0xFF200001u, std::nullopt, "1枚目"},
        {{kRight, kReturn}, 0xFF200002u, std::nullopt, "1枚目"},
        {{kDown, kRight, Key::Space}, 0xFF200006u, std::nullopt, "1枚目"},
        {{kRight, kRight, kRight, kRight, kRight, kDown, kDown, kDown, kReturn},  // corner: 16
         0xFF0000FFu,
         std::nullopt,
         "1枚目"},
        {{kReturn, kLeft, kReturn}, 0, std::nullopt, "1枚目"},  // the full view, closed
        {{kReturn, Key::Escape}, 0, std::nullopt, "1枚目"},
        {{kDown, kDown, kDown, kDown}, 0, ControlId::CGBack, "1枚目"},
        {{kDown, kDown, kDown, kDown, kRight, kRight, kReturn}, 0, ControlId::CGGo, "17枚目"},
        {{kDown, kDown, kDown, kDown, kUp, kReturn}, 0xFF0000FFu, std::nullopt, "1枚目"},  // 13
        {{Key::PageDown, kReturn}, 0xFF200000u + 17, std::nullopt, "17枚目"},
        {{Key::PageDown, Key::PageUp}, 0, std::nullopt, "1枚目"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        engine->SelectMode(Mode::Title);
        engine->Click(ControlId::CGImage);
        engine->MouseMoveAt(11, 11);  // the frame stays where it was left: on the first
        Press(c.keys);
        ASSERT_TRUE(engine->state.CGMode);
        EXPECT_EQ(Viewed(), c.viewed);
        EXPECT_EQ(engine->form.key_focus, c.focus);
        EXPECT_EQ(control(ControlId::Label2).caption, c.page);
        // The way back: to the page from the full view, then to the title.
        engine->KeyPress(Key::Backspace);
        if (c.viewed != 0) engine->KeyPress(Key::Backspace);
        EXPECT_TRUE(engine->state.TitleMode);
    }
}

TEST_F(ExtrasKeyTest, BackspaceOpensAndClosesTheHistoryInTheGameOnly) {
    WriteScenario({"一", ".", "二", "."});
    engine->KeyPress(Key::Backspace);  // the title: nothing
    EXPECT_TRUE(engine->state.TitleMode);
    NewGame();
    Advance();
    engine->KeyPress(Key::Backspace);
    EXPECT_TRUE(engine->comfort.history_open());
    engine->KeyPress(Key::Backspace);
    EXPECT_FALSE(engine->comfort.history_open());
    EXPECT_EQ(Label(), "二\r\n");
}

}  // namespace
}  // namespace tsukikage
