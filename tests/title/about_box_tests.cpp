// The about box: the captions it shows, and how it opens, comes forward and closes beside the
// main window.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

// ﾊﾞｰｼﾞｮﾝ in half-width katakana, spelled by code point so that a full-width look-alike fails.
const std::string kVersionWord = "\uFF8A\uFF9E\uFF70\uFF7C\uFF9E\uFF6E\uFF9D";

struct Caption {
    const char* name;
    std::string AboutForm::*field;
    std::string loaded;  // as Form_Load leaves it
};

const Caption kCaptions[] = {
    {"window caption", &AboutForm::caption, "朧堂開発用プログラムの" + kVersionWord + "情報"},
    {"lblVersion", &AboutForm::lblVersion, kVersionWord + " 1.0.12"},
    {"lblTitle", &AboutForm::lblTitle, "朧堂開発用プログラム"},
    {"cmdOK", &AboutForm::cmdOK, "OK"},
};

class AboutBoxTest : public fakes::GameTest {
  protected:
    AboutForm& about() { return engine->about_form; }
    void VerData() { engine->MenuCommand(MenuId::VerData); }

    void ExpectLoadedCaptions() {
        for (const Caption& caption : kCaptions) {
            SCOPED_TRACE(caption.name);
            EXPECT_EQ(about().*caption.field, caption.loaded);
        }
    }
};

TEST_F(AboutBoxTest, LoadingFillsInTheCaptionsAndKeepsTheNotices) {
    const AboutForm design;
    ASSERT_FALSE(about().loaded);
    VerData();
    ASSERT_TRUE(about().loaded);
    EXPECT_EQ(about().load_count, 1u);
    ExpectLoadedCaptions();
    // The notices are fixed text; both send the reader to the README for more.
    EXPECT_EQ(about().lblDescription, design.lblDescription);
    EXPECT_EQ(about().lblDisclaimer, design.lblDisclaimer);
    EXPECT_NE(design.lblDescription.find("README.md"), std::string::npos);
    EXPECT_NE(design.lblDisclaimer.find("README.md"), std::string::npos);
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

// OK and the close box both unload the box: it falls back to its design captions, and the
// next VerData loads it afresh with the same captions as the first time.
TEST_F(AboutBoxTest, AfterOkOrTheCloseBoxTheNextVerDataLoadsItAfresh) {
    const struct {
        const char* name;
        void (Engine::*close)();
    } kWays[] = {{"OK", &Engine::AboutOK}, {"close box", &Engine::AboutClosed}};
    for (const auto& way : kWays) {
        SCOPED_TRACE(way.name);
        const std::uint64_t loads = about().load_count;
        VerData();
        ((*engine).*way.close)();
        EXPECT_FALSE(about().loaded);
        EXPECT_EQ(about().caption, AboutForm().caption);
        EXPECT_EQ(about().lblVersion, AboutForm().lblVersion);

        VerData();
        ASSERT_TRUE(about().loaded);
        ExpectLoadedCaptions();
        EXPECT_EQ(about().load_count, loads + 2);
        ((*engine).*way.close)();
    }
    EXPECT_EQ(about().raise_requests, 0u);
}

TEST_F(AboutBoxTest, VerDataWhileOpenBringsTheSameWindowForwardWithoutLoadingIt) {
    VerData();
    about().lblVersion = "changed while open";
    VerData();
    VerData();
    EXPECT_TRUE(about().loaded);
    EXPECT_EQ(about().load_count, 1u);
    EXPECT_EQ(about().raise_requests, 2u);
    EXPECT_EQ(about().lblVersion, "changed while open");

    // Once closed, VerData loads it again instead of asking it to come forward.
    engine->AboutOK();
    VerData();
    EXPECT_EQ(about().load_count, 2u);
    EXPECT_EQ(about().raise_requests, 2u);
    ExpectLoadedCaptions();
}

// VerData stands on the menu bar itself: the box opens while the start-up sequence runs and
// the system menu is still off, and the sequence goes on beside the open box.
TEST_F(AboutBoxTest, OpensDuringTheStartUpSequenceWhichGoesOn) {
    engine = std::make_unique<Engine>(fakes.platform, folder.path());
    engine->Form_Load();
    ASSERT_TRUE(engine->state.StartupRunning);
    ASSERT_FALSE(engine->form.IsMenuAvailable(MenuId::SystemMenu));
    VerData();
    ASSERT_TRUE(about().loaded);
    ExpectLoadedCaptions();

    for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
    EXPECT_FALSE(engine->state.StartupRunning);
    EXPECT_TRUE(engine->state.TitleMode);
    EXPECT_TRUE(about().loaded);
    EXPECT_EQ(about().load_count, 1u);
}

}  // namespace
}  // namespace tsukikage
