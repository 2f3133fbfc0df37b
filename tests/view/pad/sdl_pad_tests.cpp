// A game controller in the real window, played through SDL's virtual joystick: every button
// on every screen does what its key does, the right button's menu is worked by the pad, and a
// controller plugged in and pulled out mid-game is opened and let go.
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QtTest>

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "fakes/game_fixture.h"
#include "view/pad/sdl_pad.h"
#include "view/qt/qt_platform.h"
#include "view/window_fixture.h"

namespace tsukikage {
namespace {

// A virtual controller of the standard layout: its buttons and axes are SDL's own numbers.
class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "virtual pad";
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        joystick_ = index_ >= 0 ? SDL_JoystickOpen(index_) : nullptr;
    }
    ~VirtualPad() { Unplug(); }
    bool plugged() const { return joystick_ != nullptr; }
    void Set(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    void Axis(SDL_GameControllerAxis axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
    }
    void Unplug() {
        if (!joystick_) return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        SDL_JoystickDetachVirtual(index_);
    }

  private:
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

// Lets the poller look and the window take what it handed on.
void Look(SdlPad& pad) {
    pad.Poll();
    QCoreApplication::processEvents();
}

void Tap(VirtualPad& virtual_pad, SdlPad& pad, SDL_GameControllerButton button) {
    virtual_pad.Set(button, true);
    Look(pad);
    virtual_pad.Set(button, false);
    Look(pad);
}

SdlPad WindowPad(GameWindow& window) {
    return SdlPad([&window](PadButton button, bool pressed) {
        pressed ? window.PadPressed(button) : window.PadReleased(button);
    });
}

// Two pages, a choice and a page on each way.
std::string TwoPagesAndAChoice() {
    return fakes::Scenario({"一", ".", "二", ".", ".s", "L", "左", "R", "右", "-", "三", ".", ".L",
                            "左の道", ".", ".R", "右の道", "."});
}

enum class Screen { Title, Page, Choice, History, MusicRoom, Gallery };

struct World {
    WindowFixture fixture{TwoPagesAndAChoice()};
    Engine& engine() { return *fixture.engine; }
    GameWindow& window() { return *fixture.window; }

    explicit World(Screen screen) {
        std::ofstream(fixture.root() / "list.dat", std::ios::binary) << "2,a,b\r\n";
        window().FormLoad();
        for (int tick = 0; tick < 3; ++tick) engine().Tick(TimerId::Timer2);
        engine().state.EndFlags = {0, 1, 1, 1};
        engine().SelectMode(Mode::Title);
        switch (screen) {
            case Screen::Title:
                return;
            case Screen::Page:
            case Screen::Choice:
            case Screen::History:
                engine().Click(ControlId::NewGameImage);
                engine().Click(ControlId::imgAhead);
                if (screen == Screen::Choice) engine().Click(ControlId::imgAhead);
                if (screen == Screen::History) engine().OpenHistory();
                return;
            case Screen::MusicRoom:
                engine().Click(ControlId::MusicImage);
                engine().KeyPress(Key::Right);  // a highlight to press
                return;
            case Screen::Gallery:
                engine().Click(ControlId::CGImage);
                return;
        }
    }

    // What a button may change, in the engine and the window.
    std::string State() {
        const WindowState& s = engine().state;
        const Form& form = engine().form;
        std::ostringstream out;
        out << s.TitleMode << s.GameMode << s.CGMode << s.MusicMode << s.SceneMode << ' '
            << form[ControlId::Label1].caption << '|' << form[ControlId::Label2].caption << '|'
            << (form.key_focus ? ControlName(*form.key_focus) : "-") << ' '
            << engine().comfort.history_open() << engine().comfort.auto_on()
            << engine().comfort.skipping() << window().fullscreen()
            << engine().extras.gallery.viewing() << form[ControlId::Shape1].rect.left << ','
            << form[ControlId::Shape1].rect.top;
        return out.str();
    }
};

TEST(SdlPadTest, EveryButtonOnEveryScreenDoesWhatItsKeyDoes) {
    const struct {
        SDL_GameControllerButton button;
        std::function<void(World&)> as_keys;  // what the keyboard does for it
    } buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, [](World& w) { QTest::keyClick(&w.window(), Qt::Key_Return); }},
        {SDL_CONTROLLER_BUTTON_B,
         [](World& w) { QTest::keyClick(&w.window(), Qt::Key_Backspace); }},
        {SDL_CONTROLLER_BUTTON_X, [](World& w) { QTest::keyClick(&w.window(), Qt::Key_A); }},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
         [](World& w) { QTest::keyClick(&w.window(), Qt::Key_PageUp); }},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
         [](World& w) { QTest::keyClick(&w.window(), Qt::Key_PageDown); }},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, [](World& w) { QTest::keyClick(&w.window(), Qt::Key_Up); }},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN,
         [](World& w) { QTest::keyClick(&w.window(), Qt::Key_Down); }},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT,
         [](World& w) { QTest::keyClick(&w.window(), Qt::Key_Left); }},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
         [](World& w) { QTest::keyClick(&w.window(), Qt::Key_Right); }},
        // Held, as Control is: the state is looked at while it is down.
        {SDL_CONTROLLER_BUTTON_Y, [](World& w) { QTest::keyPress(&w.window(), Qt::Key_Control); }},
        {SDL_CONTROLLER_BUTTON_BACK,
         [](World& w) { w.window().SetFullscreen(!w.window().fullscreen()); }},
    };
    for (Screen screen : {Screen::Title, Screen::Page, Screen::Choice, Screen::History,
                          Screen::MusicRoom, Screen::Gallery}) {
        for (const auto& b : buttons) {
            SCOPED_TRACE(testing::Message() << "screen " << static_cast<int>(screen) << " button "
                                            << SDL_GameControllerGetStringForButton(b.button));
            World by_keys(screen);
            b.as_keys(by_keys);
            // Taken at once: the keyboard's world must not tick on while the pad's plays, as
            // its skip would end at a tick that finds no Control held.
            const std::string expected = by_keys.State();
            World by_pad(screen);
            SdlPad pad = WindowPad(by_pad.window());
            VirtualPad virtual_pad;
            ASSERT_TRUE(virtual_pad.plugged());
            Look(pad);
            ASSERT_TRUE(pad.open());
            const std::string before = by_pad.State();
            virtual_pad.Set(b.button, true);
            Look(pad);
            EXPECT_EQ(by_pad.State(), expected);
            if (b.button == SDL_CONTROLLER_BUTTON_Y) {
                // Let go, the skip ends, as Control's release ends it.
                virtual_pad.Set(b.button, false);
                Look(pad);
                EXPECT_EQ(by_pad.State(), before);
            }
        }
    }
}

TEST(SdlPadTest, TheStickMovesLikeTheArrowsAndRepeatsOnlyAfterAPause) {
    World world(Screen::Title);
    SdlPad pad = WindowPad(world.window());
    VirtualPad virtual_pad;
    Look(pad);
    virtual_pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    Look(pad);
    EXPECT_EQ(world.engine().form.key_focus, ControlId::NewGameImage);
    Look(pad);  // at once again: still the first press
    EXPECT_EQ(world.engine().form.key_focus, ControlId::NewGameImage);
    QTest::qWait(static_cast<int>(PadRepeat::kFirstDelayMs) + 50);
    Look(pad);
    EXPECT_NE(world.engine().form.key_focus, ControlId::NewGameImage);
    virtual_pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, kStickDeadZone - 1);  // inside: let go
    Look(pad);
    const auto focus = world.engine().form.key_focus;
    virtual_pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -kStickDeadZone);
    Look(pad);
    EXPECT_NE(world.engine().form.key_focus, focus);
}

// Start opens the right button's menu over the page; the pad goes down it and chooses.
TEST(SdlPadTest, StartOpensTheMenuWhichThePadWorks) {
    World world(Screen::Page);
    SdlPad pad = WindowPad(world.window());
    VirtualPad virtual_pad;
    Look(pad);
    bool menu_seen = false;
    // The menu holds the event loop: the pad's poller looks from inside it. Down points at
    // the first item, A chooses it.
    QTimer::singleShot(100, [&] {
        menu_seen = qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
        virtual_pad.Set(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    });
    QTimer::singleShot(200, [&] { virtual_pad.Set(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false); });
    QTimer::singleShot(300, [&] { virtual_pad.Set(SDL_CONTROLLER_BUTTON_A, true); });
    virtual_pad.Set(SDL_CONTROLLER_BUTTON_START, true);
    Look(pad);
    virtual_pad.Set(SDL_CONTROLLER_BUTTON_START, false);
    virtual_pad.Set(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(menu_seen);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(world.engine().comfort.history_open());
}

TEST(SdlPadTest, AControllerPluggedInAndPulledOutMidGameIsOpenedAndLetGo) {
    World world(Screen::Page);
    std::vector<std::pair<PadButton, bool>> handed;
    SdlPad pad([&](PadButton button, bool pressed) {
        handed.emplace_back(button, pressed);
        pressed ? world.window().PadPressed(button) : world.window().PadReleased(button);
    });
    Look(pad);
    EXPECT_FALSE(pad.open());
    EXPECT_EQ(pad.interval_ms(), SdlPad::kClosedPollMs);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        VirtualPad virtual_pad;
        Look(pad);
        ASSERT_TRUE(pad.open());
        EXPECT_EQ(pad.interval_ms(), SdlPad::kOpenPollMs);
        handed.clear();
        virtual_pad.Set(SDL_CONTROLLER_BUTTON_Y, true);
        Look(pad);
        EXPECT_TRUE(world.engine().comfort.skipping());
        // Pulled out with Y held: the skip ends with it.
        virtual_pad.Unplug();
        Look(pad);
        EXPECT_FALSE(pad.open());
        EXPECT_EQ(pad.interval_ms(), SdlPad::kClosedPollMs);
        EXPECT_FALSE(world.engine().comfort.skipping());
        EXPECT_EQ(handed, (std::vector<std::pair<PadButton, bool>>{{PadButton::Y, true},
                                                                   {PadButton::Y, false}}));
    }
}

#ifdef MAKE_DEMO_PROGRAM
// The demo game from the title to each of its three endings and back, with nothing but the
// pad: A turns the pages and answers the new game's question; at each choice Up or Down
// points at a caption and A takes it.
TEST(SdlPadTest, TheDemoPlaysToEveryEndingWithThePadAlone) {
    struct Route {
        std::vector<int> picks;  // the caption taken at each choice in turn
        int ending;
    };
    const Route routes[] = {{{0, 0, 0}, 1}, {{0, 1, 0}, 2}, {{1, 0, 0}, 3}};
    for (const Route& route : routes) {
        SCOPED_TRACE(::testing::PrintToString(route.picks));
        QTemporaryDir folder;
        const std::string game = folder.path().toStdString() + "/game";
        ASSERT_EQ(std::system(("\"" MAKE_DEMO_PROGRAM "\" \"" + game + "\" >/dev/null").c_str()),
                  0);
        fakes::RecordingPlatform platform;
        // The demo's pictures are real JPEG files; its looping theme has a length.
        QtPictureDecoder pictures;
        platform.music_device.replies["Status MIDI1 length"] = "18190";
        Platform with_pictures{platform.message_box,
                               platform.beeper,
                               platform.busy_pointer,
                               platform.process,
                               pictures,
                               platform.wave_voice,
                               platform.music_device,
                               platform.sound_levels};
        Engine engine(with_pictures, game);
        GameWindow window(engine);
        window.FormLoad();
        for (int tick = 0; tick < 3; ++tick) engine.Tick(TimerId::Timer2);
        SdlPad pad = WindowPad(window);
        VirtualPad virtual_pad;
        Look(pad);
        platform.message_box.answers = {true};
        Tap(virtual_pad, pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        Tap(virtual_pad, pad, SDL_CONTROLLER_BUTTON_A);
        ASSERT_TRUE(engine.state.GameMode);
        int presses = 0;
        std::size_t choices = 0;
        try {
            for (; engine.state.GameMode && presses < 2000; ++presses) {
                if (engine.form.ChoicesShown() && !engine.form.key_focus) {
                    const bool first = choices < route.picks.size() && route.picks[choices] == 0;
                    Tap(virtual_pad, pad,
                        first ? SDL_CONTROLLER_BUTTON_DPAD_UP : SDL_CONTROLLER_BUTTON_DPAD_DOWN);
                    ++choices;
                }
                Tap(virtual_pad, pad, SDL_CONTROLLER_BUTTON_A);
                // The transitions' and the waits' timers run between presses.
                QTest::qWait(5);
            }
        } catch (const fakes::ProcessEnded&) {
            ADD_FAILURE() << "the program ended: "
                          << (platform.message_box.shown.empty()
                                  ? std::string()
                                  : platform.message_box.shown.back().text);
        }
        EXPECT_TRUE(engine.state.TitleMode) << presses << " presses";
        EXPECT_EQ(choices, route.picks.size());
        for (int ending = 1; ending <= 3; ++ending) {
            EXPECT_EQ(engine.state.EndFlags[static_cast<std::size_t>(ending)],
                      ending == route.ending ? 1 : 0)
                << "ending " << ending;
        }
        EXPECT_TRUE(std::none_of(
            platform.message_box.shown.begin(), platform.message_box.shown.end(),
            [](const fakes::ShownBox& box) { return box.icon == MessageIcon::Critical; }));
    }
}
#endif

}  // namespace
}  // namespace tsukikage

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return 1;
    testing::InitGoogleTest(&argc, argv);
    const int failures = RUN_ALL_TESTS();
    SDL_Quit();
    return failures;
}
