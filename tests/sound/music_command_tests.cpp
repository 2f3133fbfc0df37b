// The music device: command strings, replies, error codes and its own clock.
#include <gtest/gtest.h>

#include "fakes/game_fixture.h"
#include "sound/midi_bytes.h"
#include "sound/music_command.h"
#include "sound/music_fakes.h"

namespace tsukikage {
namespace {

using namespace testing_midi;

// 96 ticks a quarter at 120 bpm: 1920 ticks are 10 s.
std::string TenSecondMidi() {
    return Header(0, 1, 96) +
           Track(Bytes({0x00, 0x90, 60, 100, 0x8F, 0x00, 60, 0}) + EndOfTrack(0));
}

class MusicDeviceTest : public ::testing::Test {
  protected:
    MusicDeviceTest() : device(player, clock, GameMusicResolver(folder.path())) {
        fakes::WriteBytes(folder.path() / "bgm" / "Theme.mid", TenSecondMidi());
    }

    std::uint32_t Send(std::string_view command) { return device.SendString(command, reply); }
    std::string OpenCommand(std::string_view name) {
        return "Open \"" + folder.path().string() + "\\" + std::string(name) + "\" alias MIDI1";
    }
    std::string Mode() {
        EXPECT_EQ(Send("Status MIDI1 mode"), 0u);
        return reply;
    }

    fakes::TempFolder folder;
    fakes::FakeMusicPlayer player;
    fakes::FakeMusicClock clock;
    MusicCommandDevice device;
    std::string reply = "old";
};

TEST_F(MusicDeviceTest, LoopingSequenceReportsLengthAndStopsExactlyAtTheEnd) {
    // The game names folders in any letter case and with backslashes.
    ASSERT_EQ(Send(OpenCommand("BGM\\theme.mid")), 0u);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(Send("set MIDI1 time format milliseconds"), 0u);
    EXPECT_EQ(Send("Status MIDI1 length"), 0u);
    EXPECT_EQ(reply, "10000");
    EXPECT_EQ(Mode(), "stopped");  // opened, not yet played
    EXPECT_EQ(Send("Play MIDI1 from 0 notify"), 0u);
    EXPECT_EQ(Mode(), "playing");
    clock.now += 9999;
    EXPECT_EQ(Mode(), "playing");
    clock.now += 1;
    EXPECT_EQ(Mode(), "stopped");
    // Played again from the start, it plays its whole length again.
    EXPECT_EQ(Send("Play MIDI1 from 0 notify"), 0u);
    clock.now += 9999;
    EXPECT_EQ(Mode(), "playing");
    EXPECT_EQ(player.calls, (std::vector<std::string>{"load Theme.mid", "play 0", "play 0"}));
}

// The time left to play is the clock's, to the millisecond, and none once the piece rests.
TEST_F(MusicDeviceTest, TellsHowLongThePiecePlaysOn) {
    EXPECT_EQ(device.MsUntilStopped(), std::nullopt);  // nothing open
    ASSERT_EQ(Send(OpenCommand("bgm\\theme.mid")), 0u);
    ASSERT_EQ(Send("set MIDI1 time format milliseconds"), 0u);
    EXPECT_EQ(device.MsUntilStopped(), std::nullopt);  // open, not playing
    ASSERT_EQ(Send("Play MIDI1 from 0 notify"), 0u);
    EXPECT_EQ(device.MsUntilStopped(), 10000);
    clock.now += 9999;
    EXPECT_EQ(device.MsUntilStopped(), 1);
    clock.now += 1;
    EXPECT_EQ(device.MsUntilStopped(), std::nullopt);
    EXPECT_EQ(Mode(), "stopped");
    ASSERT_EQ(Send("Play MIDI1 from 4000"), 0u);
    EXPECT_EQ(device.MsUntilStopped(), 6000);
    ASSERT_EQ(Send("Stop MIDI1"), 0u);
    EXPECT_EQ(device.MsUntilStopped(), std::nullopt);
}

TEST_F(MusicDeviceTest, PlayWithoutFromGoesOnFromWhereItStopped) {
    ASSERT_EQ(Send(OpenCommand("bgm\\Theme.mid")), 0u);
    EXPECT_EQ(Send("Play MIDI1"), 0u);
    clock.now += 4000;
    EXPECT_EQ(Send("Stop MIDI1"), 0u);
    clock.now += 60000;  // stopped time does not count
    EXPECT_EQ(Mode(), "stopped");
    EXPECT_EQ(Send("Status MIDI1 position"), 0u);
    EXPECT_EQ(reply, "4000");
    EXPECT_EQ(Send("Play MIDI1"), 0u);
    clock.now += 5999;
    EXPECT_EQ(Mode(), "playing");
    clock.now += 1;
    EXPECT_EQ(Mode(), "stopped");
    // At the end a plain play stops at once; a start beyond the end is out of range.
    EXPECT_EQ(Send("Play MIDI1"), 0u);
    EXPECT_EQ(Mode(), "stopped");
    EXPECT_EQ(Send("Play MIDI1 from 10001"), mci::kOutOfRange);
    EXPECT_EQ(Send("Play MIDI1 from ten"), mci::kBadInteger);
    EXPECT_EQ(player.calls,
              (std::vector<std::string>{"load Theme.mid", "play 0", "stop", "play 4000", "stop"}));
}

TEST_F(MusicDeviceTest, ClosedAliasAnswersNotOpenAndCanBeOpenedAgain) {
    ASSERT_EQ(Send(OpenCommand("bgm\\Theme.mid")), 0u);
    EXPECT_EQ(Send(OpenCommand("bgm\\Theme.mid")), mci::kDuplicateAlias);
    EXPECT_EQ(Send("Close MIDI1"), 0u);
    for (std::string_view command :
         {"Status MIDI1 mode", "Status MIDI1 length", "Stop MIDI1", "Close MIDI1",
          "Play MIDI1 from 0 notify", "set MIDI1 time format milliseconds"}) {
        EXPECT_EQ(Send(command), mci::kInvalidDeviceName) << command;
        EXPECT_EQ(reply, "") << command;
    }
    EXPECT_EQ(Send("Close all"), 0u);  // nothing open is no failure
    ASSERT_EQ(Send(OpenCommand("bgm\\Theme.mid")), 0u);
    EXPECT_EQ(Send("Close all"), 0u);
    EXPECT_EQ(Send("Status MIDI1 mode"), mci::kInvalidDeviceName);
    EXPECT_FALSE(player.loaded);
}

TEST_F(MusicDeviceTest, KeywordsIgnoreCaseAndBlanksMayRepeat) {
    ASSERT_EQ(Send("  OPEN   \"" + folder.path().string() + "/bgm/Theme.mid\"   ALIAS  midi1  "),
              0u);
    EXPECT_EQ(Send("SET midi1 TIME FORMAT MS"), 0u);
    EXPECT_EQ(Send("\tstatus   Midi1\tLENGTH "), 0u);
    EXPECT_EQ(reply, "10000");
    EXPECT_EQ(Send("play MIDI1 FROM 0 NOTIFY"), 0u);
    EXPECT_EQ(Send("STOP MIDI1 notify"), 0u);
}

TEST_F(MusicDeviceTest, MalformedCommandsFailWithTheirOwnCodes) {
    ASSERT_EQ(Send(OpenCommand("bgm\\Theme.mid")), 0u);
    EXPECT_EQ(Send(""), mci::kMissingCommandString);
    EXPECT_EQ(Send("   "), mci::kMissingCommandString);
    EXPECT_EQ(Send("Rewind MIDI1"), mci::kUnrecognizedCommand);
    EXPECT_EQ(Send("Play"), mci::kMissingDeviceName);
    EXPECT_EQ(Send("Status MIDI1"), mci::kMissingParameter);
    EXPECT_EQ(Send("Status MIDI1 tempo"), mci::kUnrecognizedKeyword);
    EXPECT_EQ(Send("Status MIDI1 mode length"), mci::kUnrecognizedKeyword);
    EXPECT_EQ(Send("Play MIDI1 loudly"), mci::kUnrecognizedKeyword);
    EXPECT_EQ(Send("Play MIDI1 from"), mci::kMissingParameter);
    EXPECT_EQ(Send("set MIDI1 time format frames"), mci::kBadTimeFormat);
    EXPECT_EQ(Send("set MIDI1 volume 5"), mci::kUnrecognizedKeyword);
    EXPECT_EQ(Send("Status all mode"), mci::kCannotUseAll);
    EXPECT_EQ(Send("Status MIDI2 mode"), mci::kInvalidDeviceName);
    EXPECT_EQ(Send("Open \"x.mid alias MIDI2"), mci::kNoClosingQuote);
    EXPECT_EQ(Send("Open \"x.mid\"alias MIDI2"), mci::kExtraCharacters);
    EXPECT_EQ(Send("Open \"x.mid\" alias"), mci::kMissingStringArgument);
    EXPECT_EQ(Send("Open \"x.mid\" type sequencer alias MIDI2"), mci::kUnrecognizedKeyword);
    EXPECT_EQ(Send("Open \"x.mid\" alias MIDI2"), mci::kDeviceOpen);  // one piece at a time
    EXPECT_EQ(Mode(), "stopped");  // none of it touched the open piece
}

TEST_F(MusicDeviceTest, FilesThatCannotBePlayedAreRefusedAndLeaveNothingOpen) {
    fakes::WriteBytes(folder.path() / "bgm" / "empty.mid", "");
    fakes::WriteBytes(folder.path() / "bgm" / "cut.mid", TenSecondMidi().substr(0, 10));
    fakes::WriteBytes(folder.path() / "bgm" / "noise.mid", "garbage that no mixer knows");
    player.length = std::nullopt;
    EXPECT_EQ(Send(OpenCommand("bgm\\missing.mid")), mci::kFileNotFound);
    EXPECT_EQ(Send(OpenCommand("bgm")), mci::kFileNotFound);  // a folder
    EXPECT_EQ(Send(OpenCommand("..\\bgm\\Theme.mid")), mci::kFileNotFound);
    EXPECT_EQ(Send(OpenCommand("bgm\\cut.mid")), mci::kInvalidFile);
    player.accepts = false;
    EXPECT_EQ(Send(OpenCommand("bgm\\empty.mid")), mci::kInvalidFile);
    EXPECT_EQ(Send(OpenCommand("bgm\\noise.mid")), mci::kInvalidFile);
    EXPECT_EQ(Send(OpenCommand("bgm\\Theme.mid")), mci::kInvalidFile);  // the mixer refuses it
    EXPECT_EQ(Send("Status MIDI1 mode"), mci::kInvalidDeviceName);
    EXPECT_FALSE(player.loaded);
}

TEST_F(MusicDeviceTest, OtherAudioTakesItsLengthFromTheMixer) {
    fakes::WriteBytes(folder.path() / "bgm" / "song.ogg", "OggS...");
    player.length = 2500;
    ASSERT_EQ(Send(OpenCommand("bgm\\song.ogg")), 0u);
    EXPECT_EQ(Send("Status MIDI1 length"), 0u);
    EXPECT_EQ(reply, "2500");
    // A MIDI file is timed by its own reading whatever the mixer believes.
    EXPECT_EQ(Send("Close MIDI1"), 0u);
    ASSERT_EQ(Send(OpenCommand("bgm\\Theme.mid")), 0u);
    EXPECT_EQ(Send("Status MIDI1 length"), 0u);
    EXPECT_EQ(reply, "10000");
}

TEST_F(MusicDeviceTest, ErrorTextsAreJapaneseAndFitTheReplyBuffer) {
    EXPECT_EQ(device.ErrorText(mci::kInvalidDeviceName),
              "指定されたデバイスは開かれていないか、MCI で認識されません。");
    EXPECT_EQ(device.ErrorText(mci::kFileNotFound),
              "指定されたファイルが見つかりません。パスとファイル名を確認してください。");
    EXPECT_EQ(device.ErrorText(12345), "不明なエラーです。");
    // 254 bytes in the Japanese code page: two per kanji, one per ASCII or half-width kana.
    std::string wide;
    for (int i = 0; i < 130; ++i) wide += "曲";
    EXPECT_EQ(FitReplyBuffer(wide).size(), 127u * 3);
    EXPECT_EQ(FitReplyBuffer("a" + wide).size(), 1 + 126u * 3);  // no half character
    std::string half;
    for (int i = 0; i < 300; ++i) half += "ｱ";
    EXPECT_EQ(FitReplyBuffer(half).size(), 254u * 3);
    EXPECT_EQ(FitReplyBuffer(std::string(300, 'a')).size(), 254u);
}

}  // namespace
}  // namespace tsukikage
