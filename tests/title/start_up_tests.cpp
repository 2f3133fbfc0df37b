// The start-up sequence, the title screen's layouts and images, and the ways out.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "fakes/game_fixture.h"
#include "graphics/picture_box.h"
#include "title/title_texts.h"
#include "window/design_pictures.h"

namespace tsukikage {
namespace {

using fakes::ProcessEnded;
using fakes::TestPictureBytes;

// Each game picture of the title screens, told apart by its colour.
const struct {
    std::string_view file;
    std::uint32_t colour;
} kPictures[] = {
    {"Data/題字.jpg", 0xFF000001},       {"Data/お断り.bmp", 0xFF000002},
    {"Data/題名.jpg", 0xFF000003},       {"Data/NewGame.bmp", 0xFF000010},
    {"Data/loadGame.bmp", 0xFF000011},   {"Data/cgagain.bmp", 0xFF000012},
    {"Data/sceneagain.bmp", 0xFF000013}, {"Data/music.bmp", 0xFF000014},
    {"Data/End.bmp", 0xFF000015},        {"Data/hatena.bmp", 0xFF00000F},
    {"Data/load1.bmp", 0xFF000021},      {"Data/load2.bmp", 0xFF000022},
    {"Data/load3.bmp", 0xFF000023},      {"Data/load4.bmp", 0xFF000024},
    {"Data/load5.bmp", 0xFF000025},      {"Data/back.bmp", 0xFF000026},
};

constexpr ControlId kImages[] = {ControlId::NewGameImage, ControlId::LoadGameImage,
                                 ControlId::CGImage,      ControlId::SceneImage,
                                 ControlId::MusicImage,   ControlId::EndImage};

std::size_t CharCount(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8) count += (c & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

class StartUpTest : public fakes::GameTest {
  protected:
    // A fresh program on a game folder with every title picture and the given endings.
    void Restart(std::string_view endings = "3\r\n0\r\n0\r\n0\r\n") {
        for (const auto& p : kPictures) WriteGameFile(p.file, TestPictureBytes(4, 2, p.colour));
        WriteGameFile("endlist.dat", endings);
        WriteGameFile("cgmode.dat", "2\r\n#TRUE#\r\n#FALSE#\r\n");
        WriteScenario({".", ".E"});
        fakes.Clear();
        engine = std::make_unique<Engine>(fakes.platform, folder.path());
        engine->Form_Load();
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) engine->Tick(TimerId::Timer2);
    }
    // The colour of the picture a control shows, or 0 for none.
    std::uint32_t Shown(ControlId id) {
        const Control& c = control(id);
        return c.picture ? c.picture->at(0, 0) : 0;
    }
    std::vector<std::uint32_t> ImagesShown() {
        std::vector<std::uint32_t> shown;
        for (ControlId id : kImages) shown.push_back(Shown(id));
        return shown;
    }
    bool MenuEnabled() const { return engine->form.menu(MenuId::SystemMenu).enabled; }
};

TEST_F(StartUpTest, TicksOneAndThreeActAndEveryOtherTickChangesNothing) {
    Restart();
    EXPECT_EQ(Shown(ControlId::Picture1), 0xFF000001u);  // the lettering at once
    EXPECT_FALSE(MenuEnabled());
    EXPECT_TRUE(engine->state.TitleMode && engine->state.StartupRunning);
    EXPECT_FALSE(engine->TimerIdle(TimerId::Timer2));
    EXPECT_EQ(engine->state.CGCount, 0);  // the records wait for the title screen
    for (ControlId id : kImages) EXPECT_FALSE(control(id).visible);

    Ticks(1);
    EXPECT_EQ(Label(), Greeting());
    EXPECT_EQ(CharCount(Greeting()), 67u);
    EXPECT_EQ(Shown(ControlId::Picture1), 0xFF000002u);

    const std::size_t decoded = fakes.picture_decoder.decoded.size();
    Ticks(1);
    EXPECT_EQ(fakes.picture_decoder.decoded.size(), decoded);
    EXPECT_EQ(Label(), Greeting());

    // Written between the ticks: the records are read by the title screen, not before.
    WriteGameFile("endlist.dat", "3\r\n0\r\n1\r\n0\r\n");
    Ticks(1);
    EXPECT_EQ(Label(), TitleCaption());
    EXPECT_EQ(CharCount(TitleCaption()), 62u);
    EXPECT_FALSE(engine->state.StartupRunning);
    EXPECT_TRUE(engine->TimerIdle(TimerId::Timer2));  // its ticks change nothing from now on
    EXPECT_FALSE(engine->TimerIdle(TimerId::BgmWatch));
    EXPECT_FALSE(engine->TimerIdle(TimerId::Comfort));
    EXPECT_EQ(engine->state.CGCount, 2);
    EXPECT_EQ(engine->state.EndFlags[2], 1);
    // The transition buffer's picture, the title images with their own pictures (the game's,
    // the hint for the locked extras) but the unlocked scene replay, the menu still disabled,
    // and the theme looping.
    EXPECT_EQ(control(ControlId::Picture1).picture->pixels,
              DrawingImage(control(ControlId::Master0)).pixels);
    EXPECT_EQ(ImagesShown(), (std::vector<std::uint32_t>{0xFF000010, 0xFF000011, 0xFF00000F,
                                                         0xFF000013, 0xFF00000F, 0xFF000015}));
    for (ControlId id : kImages) EXPECT_TRUE(control(id).visible && control(id).enabled);
    EXPECT_FALSE(MenuEnabled());
    ASSERT_EQ(fakes.wave_voice.calls.size(), 1u);
    EXPECT_EQ(fakes.wave_voice.calls[0].name, "\\bgm\\晩鐘テーマ曲");
    EXPECT_EQ(fakes.wave_voice.calls[0].flags, 9u);

    // Later ticks, on the title and on other screens, change nothing.
    const std::uint64_t revision = engine->form.revision;
    Ticks(5);
    engine->Click(ControlId::LoadGameImage);
    const std::uint64_t on_load_screen = engine->form.revision;
    Ticks(3);
    EXPECT_NE(revision, on_load_screen);
    EXPECT_EQ(engine->form.revision, on_load_screen);
    EXPECT_EQ(fakes.wave_voice.calls.size(), 1u);

    // Nor on a later title, after an extra's screen.
    engine->Click(ControlId::EndImage);  // the title, the menu enabled
    engine->Click(ControlId::SceneImage);
    engine->Click(ControlId::SystemBack);
    const std::uint64_t back_on_title = engine->form.revision;
    const std::size_t waves = fakes.wave_voice.calls.size();
    Ticks(3);
    EXPECT_EQ(engine->form.revision, back_on_title);
    EXPECT_EQ(fakes.wave_voice.calls.size(), waves);
    EXPECT_EQ(Label(), Notice());
    EXPECT_TRUE(MenuEnabled());
}

TEST_F(StartUpTest, EachTitleLayoutShowsItsPicturesCaptionAndMenu) {
    Restart("3\r\n0\r\n1\r\n1\r\n");
    Ticks(3);
    // The load screen: the slot pictures whatever the endings, images still shown.
    engine->Click(ControlId::LoadGameImage);
    EXPECT_TRUE(engine->state.LoadMode && !engine->state.TitleMode);
    EXPECT_EQ(ImagesShown(), (std::vector<std::uint32_t>{0xFF000021, 0xFF000022, 0xFF000023,
                                                         0xFF000024, 0xFF000025, 0xFF000026}));
    EXPECT_EQ(Label(), TitleCaption());
    EXPECT_FALSE(MenuEnabled());
    // Back to the title, laid out as every title after the first.
    const std::vector<std::uint32_t> later_title = {0xFF000010, 0xFF000011, 0xFF00000F,
                                                    0xFF000013, 0xFF000014, 0xFF000015};
    fakes.picture_decoder.decoded.clear();
    engine->Click(ControlId::EndImage);
    EXPECT_TRUE(engine->state.TitleMode && !engine->state.LoadMode);
    EXPECT_EQ(ImagesShown(), later_title);
    EXPECT_EQ(Shown(ControlId::Picture1), 0xFF000003u);
    EXPECT_EQ(Label(), Notice());
    EXPECT_EQ(CharCount(Notice()), 100u);
    EXPECT_TRUE(MenuEnabled());
    // The locked gallery got its unlocked picture first, then the hint.
    std::vector<std::string> order;
    for (const auto& path : fakes.picture_decoder.decoded) order.push_back(path.filename());
    EXPECT_EQ(std::count(order.begin(), order.end(), "hatena.bmp"), 1);
    EXPECT_EQ(std::find(order.begin(), order.end(), "cgagain.bmp") + 1,
              std::find(order.begin(), order.end(), "hatena.bmp"));
    // After a game's end command: the same title.
    NewGame();
    EXPECT_TRUE(engine->state.GameMode);
    for (ControlId id : kImages) EXPECT_FALSE(control(id).visible || control(id).enabled);
    Advance();  // ".E"
    EXPECT_TRUE(engine->state.TitleMode);
    EXPECT_EQ(ImagesShown(), later_title);
    EXPECT_EQ(Label(), Notice());
}

TEST_F(StartUpTest, ALockedExtraSaysSoAndAnUnlockedOneOpens) {
    Restart("3\r\n0\r\n1\r\n1\r\n");
    Ticks(3);
    engine->Click(ControlId::CGImage);
    EXPECT_EQ(Label(), "ゲームをクリアーしてください。");
    EXPECT_TRUE(engine->state.TitleMode);
    for (ControlId id : kImages) EXPECT_TRUE(control(id).visible);
}

// Each ending unlocks its own extra and no other: the title image shows the unlocked picture
// on the first title and on the later ones, and opens the extra; the other two keep the hint
// and ask for the game to be cleared. Only a mark of exactly 1 unlocks; a later title brings
// the hint only over a mark of 0, so a mark of 2 shows the unlocked picture there and still
// keeps the extra locked.
TEST_F(StartUpTest, EachEndingUnlocksItsOwnExtraAlone) {
    constexpr ControlId kExtras[] = {ControlId::CGImage, ControlId::SceneImage,
                                     ControlId::MusicImage};
    constexpr std::uint32_t kGallery = 0xFF000012, kScenes = 0xFF000013, kMusic = 0xFF000014,
                            kHint = 0xFF00000F;
    const struct {
        std::string_view endings;
        std::array<std::uint32_t, 3> first_title;
        std::array<std::uint32_t, 3> later_title;
        std::array<bool, 3> opens;
    } cases[] = {
        {"3\r\n1\r\n0\r\n0\r\n",
         {kGallery, kHint, kHint},
         {kGallery, kHint, kHint},
         {true, false, false}},
        {"3\r\n0\r\n1\r\n0\r\n",
         {kHint, kScenes, kHint},
         {kHint, kScenes, kHint},
         {false, true, false}},
        {"3\r\n0\r\n0\r\n1\r\n",
         {kHint, kHint, kMusic},
         {kHint, kHint, kMusic},
         {false, false, true}},
        {"3\r\n2\r\n0\r\n0\r\n",
         {kHint, kHint, kHint},
         {kGallery, kHint, kHint},
         {false, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.endings);
        Restart(c.endings);
        Ticks(3);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(Shown(kExtras[i]), c.first_title[i]) << i;
        engine->Click(ControlId::LoadGameImage);
        engine->Click(ControlId::EndImage);  // a later title
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(Shown(kExtras[i]), c.later_title[i]) << i;
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(ControlName(kExtras[i]));
            control(ControlId::Label1).caption.clear();
            engine->Click(kExtras[i]);
            const WindowState& s = engine->state;
            const bool opened[] = {s.CGMode, s.SceneMode, s.MusicMode};
            for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(opened[k], c.opens[i] && k == i) << k;
            EXPECT_EQ(s.TitleMode, !c.opens[i]);
            if (c.opens[i]) {
                engine->Click(ControlId::SystemBack);
                EXPECT_TRUE(s.TitleMode);
            } else {
                EXPECT_EQ(Label(), "ゲームをクリアーしてください。");
            }
        }
    }
}

// The extras' layouts show exactly their own buttons: the scene list shares the music room's
// but its stop button. Each is laid out from the title, and the scene list again straight
// after the music room, whose buttons it must not keep.
TEST_F(StartUpTest, EachExtraLayoutShowsExactlyItsButtons) {
    Restart("3\r\n1\r\n1\r\n1\r\n");
    Ticks(3);
    engine->Click(ControlId::LoadGameImage);
    engine->Click(ControlId::EndImage);  // a later title
    // The controls shown, in their order; "(off)" marks one shown but disabled.
    const auto shown = [this] {
        std::string names;
        for (int id = int(ControlId::Picture1); id <= int(ControlId::txtTell); ++id) {
            const Control& c = control(ControlId(id));
            if (!c.visible) continue;
            if (!names.empty()) names += ' ';
            names += ControlName(ControlId(id));
            if (!c.enabled) names += "(off)";
        }
        return names;
    };
    const std::string scene_list = "Picture1 Label1 SystemBack MusicBack MusicPlay MusicGo";
    const struct {
        const char* name;
        std::function<void()> open;
        std::string shown;
    } cases[] = {
        {"gallery", [this] { engine->Click(ControlId::CGImage); },
         "Picture1 Shape1 Label2 CGBack SystemBack CGGo"},
        {"music room", [this] { engine->Click(ControlId::MusicImage); },
         "Picture1 Label1 SystemBack MusicBack MusicPlay MusicGo MusicStop"},
        {"scene list", [this] { engine->Click(ControlId::SceneImage); }, scene_list},
        {"scene list after the music room",
         [this] {
             engine->Click(ControlId::MusicImage);
             engine->SelectMode(Mode::SceneList);
         },
         scene_list},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.open();
        EXPECT_EQ(shown(), c.shown);
        engine->Click(ControlId::SystemBack);
        ASSERT_TRUE(engine->state.TitleMode);
    }
}

TEST_F(StartUpTest, TheFirstTrueModeFlagChoosesTheLayout) {
    Restart();
    Ticks(3);
    WindowState& s = engine->state;
    const auto flags = [&s](bool title, bool game, bool load, bool gallery) {
        s.TitleMode = title;
        s.GameMode = game;
        s.LoadMode = load;
        s.CGMode = gallery;
    };
    flags(true, true, true, false);
    engine->ModeSelect();
    EXPECT_EQ(Label(), Notice());  // title
    EXPECT_TRUE(control(ControlId::NewGameImage).visible);
    flags(false, true, true, true);
    engine->ModeSelect();
    EXPECT_FALSE(control(ControlId::NewGameImage).visible);  // game
    EXPECT_FALSE(control(ControlId::CGGo).visible);
    flags(false, false, false, false);
    const std::uint32_t before = Shown(ControlId::NewGameImage);
    engine->ModeSelect();  // none: nothing changes
    EXPECT_EQ(Shown(ControlId::NewGameImage), before);
}

TEST_F(StartUpTest, TheMenuNewGameOnTheTitleSwitchesToTheGameLayout) {
    Restart();
    Ticks(3);
    engine->Click(ControlId::LoadGameImage);
    engine->Click(ControlId::EndImage);  // the title, with the menu enabled
    engine->MenuCommand(MenuId::NewGame);
    EXPECT_TRUE(engine->state.GameMode && !engine->state.TitleMode);
    for (ControlId id : kImages) EXPECT_FALSE(control(id).visible);
    EXPECT_TRUE(control(ControlId::imgAhead).visible);
}

// Each way out: its wave stop, its music step, and the end of the process.
TEST_F(StartUpTest, EachQuitPathStopsTheSoundItsOwnWay) {
    const struct {
        const char* name;
        std::function<void(Engine&)> quit;
        bool midi_open;
        std::vector<std::string> log;
        std::size_t boxes;
    } cases[] = {
        {"end image",
         [](Engine& e) { e.Click(ControlId::EndImage); },
         false,
         {"wave  1", "mci Close MIDI1"},
         0},
        {"end menu",
         [](Engine& e) { e.MenuCommand(MenuId::EndMenu); },
         true,
         {"wave  1", "mci Close MIDI1"},
         0},
        {"close box", [](Engine& e) { e.Form_Unload(); }, false, {"wave  1"}, 0},
        {"close box, music open",
         [](Engine& e) { e.Form_Unload(); },
         true,
         {"wave  1", "mci Stop MIDI1", "mci Close MIDI1"},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        Ticks(3);
        engine->Click(ControlId::LoadGameImage);
        engine->Click(ControlId::EndImage);  // the title with the menu enabled
        engine->state.MidiOpen = c.midi_open;
        fakes.Clear();
        fakes.music_device.errors = {{"Stop MIDI1", 263}, {"Close MIDI1", 263}};
        fakes.process.status.reset();
        EXPECT_THROW(c.quit(*engine), ProcessEnded);
        EXPECT_EQ(fakes.process.status, 0);
        EXPECT_EQ(fakes.sound_log, c.log);
        EXPECT_EQ(fakes.message_box.shown.size(), c.boxes);
        EXPECT_FALSE(engine->reader.IsOpen());
    }
}

// Nothing a player's game folder lacks stops the title screen: a picture that is missing or
// no picture leaves the image's own picture, drawn when the game has none (nothing for the
// game screen), silently.
TEST_F(StartUpTest, MissingOrBrokenTitleFilesLeaveTheDesignAndGoOn) {
    for (const auto& broken : kPictures) {
        for (const bool corrupt : {false, true}) {
            SCOPED_TRACE(std::string(broken.file) + (corrupt ? " corrupt" : " missing"));
            Restart();
            const std::filesystem::path path = folder.path() / broken.file;
            if (corrupt) {
                WriteGameFile(broken.file, "not a picture");
            } else {
                std::filesystem::remove(path);
                engine->folder.Forget(path.parent_path());
            }
            engine = std::make_unique<Engine>(fakes.platform, folder.path());
            engine->Form_Load();
            Ticks(3);
            engine->Click(ControlId::LoadGameImage);
            engine->Click(ControlId::EndImage);
            EXPECT_TRUE(engine->state.TitleMode);
            EXPECT_TRUE(fakes.message_box.shown.empty());
            for (ControlId id : kImages) EXPECT_TRUE(control(id).picture) << ControlName(id);
            if (broken.file == "Data/NewGame.bmp") {
                EXPECT_EQ(Shown(ControlId::NewGameImage),
                          TitleImageDesignPicture(ControlId::NewGameImage)->at(0, 0));
            }
            std::filesystem::remove(path);
        }
    }
    // No records and no theme: nothing seen, no ending, the title all the same.
    for (const char* name : {"cgmode.dat", "endlist.dat"})
        std::filesystem::remove(folder.path() / name);
    engine = std::make_unique<Engine>(fakes.platform, folder.path());
    fakes.wave_voice.result = 0;
    engine->Form_Load();
    Ticks(3);
    EXPECT_EQ(engine->state.EndCount, 3);
    EXPECT_EQ(engine->state.EndFlags[1] + engine->state.EndFlags[2] + engine->state.EndFlags[3], 0);
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

}  // namespace
}  // namespace tsukikage
