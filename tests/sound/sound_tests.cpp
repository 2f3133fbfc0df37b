// Sound effects, background music and the looping-music watch, driven through the scenario.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"
#include "sound/midi_bytes.h"
#include "sound/music_command.h"
#include "sound/music_fakes.h"

namespace tsukikage {
namespace {

using fakes::GameTest;
using fakes::ProcessEnded;
using Commands = std::vector<std::string>;

class SoundTest : public GameTest {
  protected:
    std::string Open(std::string_view name) {
        return "Open \"" + folder.path().string() + "\\" + std::string(name) + "\" alias MIDI1";
    }
    void Watch() { engine->sound.BgmLoopWatch(); }
    // The wave-sound calls as "name flags".
    Commands SoundCalls() const {
        Commands calls;
        for (const auto& call : fakes.wave_voice.calls) {
            calls.push_back(call.name + " " + std::to_string(call.flags));
        }
        return calls;
    }
    Commands& sent() { return fakes.music_device.commands; }
};

TEST_F(SoundTest, EffectsStopTheVoiceThenPlayOnceOrLoopAndReadingGoesOn) {
    WriteScenario({".", ".v se\\a.wav", ".r se\\b", "本文", ".", ".v ", "."});
    NewGame();
    fakes.wave_voice.calls.clear();
    fakes.wave_voice.result = 0;  // a file that cannot be played changes nothing but the result
    Advance();
    EXPECT_EQ(Label(), "本文\r\n");
    EXPECT_EQ(SoundCalls(), (Commands{" 1", "\\se\\a.wav 1", " 1", "\\se\\b 9"}));
    EXPECT_TRUE(fakes.message_box.shown.empty());
    EXPECT_TRUE(sent().empty());  // effects never touch the music
    fakes.wave_voice.result = 1;
    Advance();  // an empty argument names the game folder itself
    EXPECT_EQ(SoundCalls().back(), "\\ 1");
}

// While the device says how long the piece plays on, the watch may sleep that long, rounded up
// to its beat; whatever else is going on, it ticks on its interval.
TEST_F(SoundTest, TheWatchWaitsForTheEndOfThePieceOnItsBeat) {
    WriteScenario({".", ".y bgm\\loop.mid", "後", "."});
    fakes.music_device.replies["Status MIDI1 length"] = "12345";
    NewGame();
    Advance();
    ASSERT_TRUE(engine->form.timer(TimerId::BgmWatch).enabled);
    const int beat = engine->form.timer(TimerId::BgmWatch).interval_ms;
    struct Case {
        std::optional<std::int64_t> until_stopped;
        int wait;
    };
    for (const Case& c :
         {Case{std::nullopt, beat}, Case{0, beat}, Case{beat - 1, beat}, Case{beat, beat},
          Case{beat + 1, 2 * beat}, Case{12345, 12360}, Case{3600000, 60000}}) {
        fakes.music_device.until_stopped = c.until_stopped;
        EXPECT_EQ(engine->TimerWaitMs(TimerId::BgmWatch), c.wait)
            << (c.until_stopped ? *c.until_stopped : -1);
    }
    // The other timers keep their intervals.
    EXPECT_EQ(engine->TimerWaitMs(TimerId::Timer1),
              engine->form.timer(TimerId::Timer1).interval_ms);
    // Once MIDI1 is closed the watch asks nothing, and waits no more than its beat.
    fakes.music_device.until_stopped = 12345;
    engine->sound.CloseMusicSilently();
    EXPECT_EQ(engine->TimerWaitMs(TimerId::BgmWatch), beat);
}

TEST_F(SoundTest, OnceMusicClosesDirectlyAndPlaysWithoutReports) {
    WriteScenario({".", ".x a.mid", ".x b.mid", "続き", "."});
    fakes.music_device.errors["Close MIDI1"] = 263;  // nothing open: ignored
    fakes.music_device.errors[Open("b.mid")] = 275;  // missing: silent
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "続き\r\n");
    EXPECT_EQ(sent(), (Commands{"Close MIDI1", Open("a.mid"), "Play MIDI1", "Close MIDI1",
                                Open("b.mid"), "Play MIDI1"}));
    EXPECT_TRUE(fakes.message_box.shown.empty());
    EXPECT_FALSE(engine->state.MidiOpen);
    EXPECT_FALSE(engine->form.timer(TimerId::BgmWatch).enabled);
    EXPECT_EQ(engine->sound.MciCmd(), "Play MIDI1");
}

TEST_F(SoundTest, LoopingMusicHoldsTheReaderAndTheWatchRestartsItWhenStopped) {
    WriteScenario({".", "前", ".y bgm\\loop.mid", "後", "."});
    fakes.music_device.replies["Status MIDI1 length"] = "12345";
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "前\r\n");
    EXPECT_EQ(sent(),
              (Commands{"Close MIDI1", Open("bgm\\loop.mid"), "set MIDI1 time format milliseconds",
                        "Status MIDI1 length", "Play MIDI1 from 0 notify"}));
    EXPECT_TRUE(engine->state.MidiOpen);
    EXPECT_EQ(engine->sound.BgmLength(), 12345);
    EXPECT_TRUE(engine->form.timer(TimerId::BgmWatch).enabled);

    // Only a reply beginning with "stopped", in any case, restarts the piece.
    for (const char* mode : {"playing", "", "stoppe", "STOPPED", "Stopped now"}) {
        sent().clear();
        fakes.music_device.replies["Status MIDI1 mode"] = mode;
        Watch();
        const bool stopped = std::string_view(mode).size() >= 7 && mode[0] != 'p';
        Commands expected{"Status MIDI1 mode"};
        if (stopped) expected.push_back("Play MIDI1 from 0 notify");
        EXPECT_EQ(sent(), expected) << mode;
    }
    Advance();
    EXPECT_EQ(Label(), "後\r\n");
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(SoundTest, OnceMusicAfterLoopingMusicIsRestartedByTheWatch) {
    WriteScenario({".", ".y a.mid", ".x b.mid", "."});
    fakes.music_device.replies["Status MIDI1 length"] = "1000";
    NewGame();
    Advance();
    sent().clear();
    Advance();
    EXPECT_EQ(sent(),
              (Commands{"Stop MIDI1", "Close MIDI1", "Close all", Open("b.mid"), "Play MIDI1"}));
    sent().clear();
    fakes.music_device.replies["Status MIDI1 mode"] = "stopped";
    Watch();
    EXPECT_EQ(sent(), (Commands{"Status MIDI1 mode", "Play MIDI1 from 0 notify"}));
}

TEST_F(SoundTest, AfterTheStopStepTheClosedAliasIsLeftAlone) {
    WriteScenario({".", ".y a.mid", ".E"});
    fakes.music_device.replies["Status MIDI1 length"] = "1000";
    NewGame();
    Advance();
    Advance();  // the end command stops the music; MidiOpen stays set
    EXPECT_TRUE(engine->state.MidiOpen);
    sent().clear();
    Watch();
    NewGame();  // a second stop step finds nothing open
    EXPECT_TRUE(sent().empty());
    // The next looping piece is opened without stopping the closed alias first.
    WriteScenario({".", ".y b.mid", "."});
    NewGame();
    Advance();
    EXPECT_EQ(sent(), (Commands{"Close all", Open("b.mid"), "set MIDI1 time format milliseconds",
                                "Status MIDI1 length", "Play MIDI1 from 0 notify"}));
    EXPECT_TRUE(fakes.message_box.shown.empty());
    sent().clear();
    Watch();
    EXPECT_EQ(sent(), (Commands{"Status MIDI1 mode"}));
}

TEST_F(SoundTest, WatchStopsItsTimerOnceLoopingMusicIsForgotten) {
    WriteScenario({".", ".y a.mid", "."});
    fakes.music_device.replies["Status MIDI1 length"] = "1000";
    NewGame();
    Advance();
    engine->Form_Load();  // the only place that clears MidiOpen
    sent().clear();
    Watch();
    EXPECT_TRUE(sent().empty());
    EXPECT_FALSE(engine->form.timer(TimerId::BgmWatch).enabled);
}

TEST_F(SoundTest, FailingStatusShowsOneBoxAndTicksDuringItAskNothing) {
    WriteScenario({".", ".y a.mid", "."});
    fakes.music_device.replies["Status MIDI1 length"] = "1000";
    NewGame();
    Advance();
    fakes.music_device.errors["Status MIDI1 mode"] = 263;
    int ticks_while_open = 0;
    fakes.message_box.while_open = [&] {
        ++ticks_while_open;
        Watch();
        Watch();
    };
    sent().clear();
    Watch();
    EXPECT_EQ(sent(), (Commands{"Status MIDI1 mode"}));
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].text, "error 263");
    EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(fakes.message_box.shown[0].title, "朧堂開発用プログラム");
    EXPECT_EQ(ticks_while_open, 1);
}

TEST_F(SoundTest, LoopingMusicThatCannotOpenReportsEachStepThenEndsInTheFileErrorBox) {
    WriteScenario({".", ".y missing.mid", "."});
    for (const std::string& command :
         {Open("missing.mid"), std::string("set MIDI1 time format milliseconds"),
          std::string("Status MIDI1 length")}) {
        fakes.music_device.errors[command] = command.starts_with("Open") ? 275 : 263;
    }
    NewGame();
    EXPECT_THROW(Advance(), ProcessEnded);
    ASSERT_EQ(fakes.message_box.shown.size(), 4u);
    EXPECT_EQ(fakes.message_box.shown[0].text, "error 275");
    EXPECT_EQ(fakes.message_box.shown[1].text, "error 263");
    EXPECT_EQ(fakes.message_box.shown[2].text, "error 263");
    EXPECT_EQ(fakes.message_box.shown[3].text, ErrorDescription(err::kTypeMismatch));
    EXPECT_EQ(fakes.message_box.shown[3].icon, MessageIcon::Exclamation);
    EXPECT_EQ(fakes.message_box.shown[3].title, "ファイルエラー");
    EXPECT_EQ(sent().back(), "Status MIDI1 length");  // nothing played
}

// The engine on the real music device, with a fake mixer and clock.
class SoundOnDeviceTest : public GameTest {
  protected:
    SoundOnDeviceTest() : device(player, clock, GameMusicResolver(folder.path())) {
        engine = std::make_unique<Engine>(platform, folder.path());
        engine->Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
        using namespace testing_midi;
        // 2 s at the default tempo.
        WriteGameFile("bgm/theme.mid",
                      Header(0, 1, 96) +
                          Track(HeldNote(0x7F) + Bytes({0x82, 0x01, 0x90, 60, 0}) + EndOfTrack(0)));
    }

    fakes::FakeMusicPlayer player;
    fakes::FakeMusicClock clock;
    MusicCommandDevice device;
    Platform platform{
        fakes.message_box, fakes.beeper, fakes.busy_pointer, fakes.process, fakes.picture_decoder,
        fakes.wave_voice,  device};
};

TEST_F(SoundOnDeviceTest, ThePieceRestartsTheMomentItsLengthHasPassed) {
    WriteScenario({".", ".y bgm\\theme.mid", "."});
    NewGame();
    Advance();
    EXPECT_EQ(engine->sound.BgmLength(), 2000);
    EXPECT_EQ(player.calls, (std::vector<std::string>{"load theme.mid", "play 0"}));
    clock.now += 1999;
    engine->sound.BgmLoopWatch();
    EXPECT_EQ(player.calls.size(), 2u);
    clock.now += 1;
    engine->sound.BgmLoopWatch();
    EXPECT_EQ(player.calls.back(), "play 0");
    EXPECT_EQ(player.calls.size(), 3u);
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(SoundOnDeviceTest, EmptyOrCorruptOnceMusicStaysSilent) {
    WriteGameFile("bgm/empty.mid", "");
    WriteGameFile("bgm/bad.mid", std::string("MThd\0\0", 6));
    WriteScenario({".", ".x bgm\\empty.mid", ".x bgm\\bad.mid", ".x bgm\\none.mid", "続き", "."});
    player.accepts = false;  // the mixer knows no empty file either
    NewGame();
    Advance();
    EXPECT_EQ(Label(), "続き\r\n");
    EXPECT_TRUE(fakes.message_box.shown.empty());
    EXPECT_EQ(player.calls, (std::vector<std::string>{"load empty.mid"}));
}

TEST_F(SoundOnDeviceTest, CorruptLoopingMusicShowsTheDeviceTextsThenTheFileError) {
    WriteGameFile("bgm/bad.mid", std::string("MThd\0\0", 6));
    WriteScenario({".", ".y bgm\\bad.mid", "."});
    NewGame();
    EXPECT_THROW(Advance(), ProcessEnded);
    ASSERT_EQ(fakes.message_box.shown.size(), 4u);
    EXPECT_EQ(fakes.message_box.shown[0].text, device.ErrorText(mci::kInvalidFile));
    EXPECT_EQ(fakes.message_box.shown[1].text, device.ErrorText(mci::kInvalidDeviceName));
    EXPECT_EQ(fakes.message_box.shown[3].title, "ファイルエラー");
    EXPECT_TRUE(player.calls.empty());
}

}  // namespace
}  // namespace tsukikage

namespace tsukikage {
namespace {

// The watch wakes the program only while a looping piece is open under MIDI1.
TEST_F(SoundTest, TheWatchRunsOnlyWhileALoopingPieceIsOpen) {
    WriteScenario({".", ".y bgm.mid", ".E"});
    fakes.music_device.replies["Status MIDI1 length"] = "1000";
    NewGame();
    EXPECT_FALSE(engine->form.timer(TimerId::BgmWatch).enabled);
    Advance();
    EXPECT_TRUE(engine->form.timer(TimerId::BgmWatch).enabled);
    Advance();  // the end of the scenario closes the piece
    EXPECT_FALSE(engine->form.timer(TimerId::BgmWatch).enabled);
    EXPECT_TRUE(engine->state.MidiOpen);
}

}  // namespace
}  // namespace tsukikage
