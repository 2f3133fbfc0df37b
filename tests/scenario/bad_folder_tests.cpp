// Game folders damaged in one way each, played from a new game on the real music device: what
// the player sees. One case per kind of damage; docs/bad-game-folders.md names each case.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>

#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "fakes/game_fixture.h"
#include "sound/midi_bytes.h"
#include "sound/music_command.h"
#include "sound/music_fakes.h"

namespace tsukikage {
namespace {

namespace fs = std::filesystem;
using fakes::ProcessEnded;
using fakes::Scenario;
using fakes::WriteBytes;

struct Damage {
    const char* name;
    std::function<void(const fs::path& root)> lay_out;
    int clicks;                      // advances after the new game
    std::string page;                // what the page shows then
    std::vector<std::string> boxes;  // the texts of the boxes shown, in order
    bool ends = false;               // the program ended
    std::function<void(const Engine&, const fakes::RecordingPlatform&)> also = {};
};

std::ostream& operator<<(std::ostream& out, const Damage& damage) {
    return out << damage.name;
}

std::string Utf16LittleEndian(std::string_view ascii_and_moon) {
    std::string bytes = "\xFF\xFE";  // the byte order mark
    for (const char c : ascii_and_moon) {
        if (c == '@') {
            bytes += "\x08\x67";  // 月, U+6708
        } else {
            bytes += c;
            bytes += '\0';
        }
    }
    return bytes;
}

fs::path Datafile(const fs::path& root) {
    return root / "datafile";
}

const std::string kMegabyteLine(1 << 20, 'a');

const Damage kDamages[] = {
    {"ScenarioInUtf8",
     [](const fs::path& root) { WriteBytes(Datafile(root), ".\r\n月の夜\r\n.\r\n"); },
     1,
     // Each UTF-8 byte pair read as CP932: mojibake, and no box.
     Cp932ToUtf8("月の夜") + "\r\n",
     {}},
    {"ScenarioInUtf16WithByteOrderMark",
     [](const fs::path& root) { WriteBytes(Datafile(root), Utf16LittleEndian(".\r\n@\r\n.\r\n")); },
     // No line starts with a dot: one page of every line, the mark as two replacement
     // characters, a NUL after each ASCII character, 月 as a control character and "g".
     1,
     std::string("\uFFFD\uFFFD.\0\r\n\0\n\0\x08g\r\n\0\n\0.\0\r\n\0\n\0\r\n", 29),
     {}},
    {"NulBytesInTheScenario",
     [](const fs::path& root) {
         WriteBytes(Datafile(root), Scenario({".", std::string_view("前\0後", 7), "."}));
     },
     1,
     std::string("前\0後\r\n", 9),
     {}},
    {"LineOfOneMegabyte",
     [](const fs::path& root) {
         WriteBytes(Datafile(root), ".\r\n" + kMegabyteLine + "\r\n.\r\n");
     },
     1,
     kMegabyteLine + "\r\n",
     {}},
    {"ScenarioOfTwoGigabytes",
     [](const fs::path& root) {
         WriteBytes(Datafile(root), Scenario({".", "見えない", "."}));
         fs::resize_file(Datafile(root), std::uintmax_t{2} << 30);  // sparse: takes no disk
     },
     1,
     "",
     {ErrorDescription(err::kOutOfMemory)},
     true},
    {"ScenarioThatIsAPipe",
     [](const fs::path& root) { ASSERT_EQ(::mkfifo(Datafile(root).c_str(), 0600), 0); },
     1,
     "",
     {ErrorDescription(err::kPathFileAccessError)},
     true},
    {"NoDataFolder",
     [](const fs::path& root) {
         WriteBytes(Datafile(root), Scenario({".", ".l Data\\window.bmp", "続き", "."}));
     },
     1,
     "続き\r\n",
     {ErrorDescription(err::kFileNotFound)}},
    {"WaveOfZeroBytes",
     [](const fs::path& root) {
         WriteBytes(root / "se" / "chime.wav", "");
         WriteBytes(Datafile(root), Scenario({".", ".v se\\chime.wav", "続き", "."}));
     },
     1,
     "続き\r\n",
     {}},
    {"MidiTrackLongerThanTheFile",
     [](const fs::path& root) {
         using namespace testing_midi;
         WriteBytes(root / "bgm" / "theme.mid",
                    Header(0, 1, 96) + "MTrk" + Big(100000, 4) + HeldNote(96));
         WriteBytes(Datafile(root), Scenario({".", ".y bgm\\theme.mid", "続き", "."}));
     },
     2,
     "続き\r\n",
     {}},
    {"RiffMidiWithNoMidiInside",
     [](const fs::path& root) {
         WriteBytes(root / "bgm" / "theme.rmi",
                    std::string("RIFF\x10\0\0\0RMIDdata\4\0\0\0MTrk", 24));
         // Opened by the music command that reports nothing: silence, and reading goes on.
         WriteBytes(Datafile(root), Scenario({".", ".x bgm\\theme.rmi", "続き", "."}));
     },
     1,
     "続き\r\n",
     {}},
    {"WaveOfAnEncodingNothingDecodes",
     [](const fs::path& root) {
         std::string wave = "RIFF" + std::string(4, '\0') + "WAVEfmt " +
                            std::string("\x10\0\0\0\x22\0\1\0\x40\x1F\0\0", 12) +
                            std::string(8, '\0') + "data" + std::string(4, '\0');
         WriteBytes(root / "se" / "speech.wav", wave);
         WriteBytes(Datafile(root), Scenario({".", ".v se\\speech", "続き", "."}));
     },
     1,
     "続き\r\n",
     {}},
    {"NameInRawCp932OnDisk",
     [](const fs::path& root) {
         WriteBytes(root / "\x8c\x8e.bmp", fakes::TestPictureBytes(2, 2, 0xFF112233));  // 月.bmp
         WriteBytes(Datafile(root), Scenario({".", ".l 月.bmp", "続き", "."}));
     },
     1,
     "続き\r\n",
     {}},
};

class BadFolderTest : public testing::TestWithParam<Damage> {
  protected:
    fakes::TempFolder folder;
    fakes::RecordingPlatform fakes;
    fakes::FakeMusicPlayer player;
    fakes::FakeMusicClock clock;
    MusicCommandDevice device{player, clock, GameMusicResolver(folder.path())};
    Platform platform{
        fakes.message_box, fakes.beeper, fakes.busy_pointer, fakes.process, fakes.picture_decoder,
        fakes.wave_voice,  device};
};

TEST_P(BadFolderTest, PlayerSees) {
    const Damage& damage = GetParam();
    damage.lay_out(folder.path());
    fakes.wave_voice.result = 0;  // the mixer plays no file it cannot decode, an empty one too
    const auto start = std::chrono::steady_clock::now();
    Engine engine(platform, folder.path());
    bool ended = false;
    try {
        engine.Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine.Tick(TimerId::Timer2);
        fakes.Clear();
        engine.Click(ControlId::NewGameImage);
        for (int click = 0; click < damage.clicks; ++click) engine.Click(ControlId::imgAhead);
    } catch (const ProcessEnded&) {
        ended = true;
    }
    EXPECT_EQ(ended, damage.ends);
    // Every end here follows an error box: a launcher must be able to tell it from a quit.
    if (ended) {
        EXPECT_EQ(fakes.process.status, 1);
    }
    std::vector<std::string> boxes;
    for (const fakes::ShownBox& box : fakes.message_box.shown) boxes.push_back(box.text);
    EXPECT_EQ(boxes, damage.boxes);
    if (!damage.page.empty()) {
        EXPECT_EQ(engine.form[ControlId::Label1].caption, damage.page);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    if (damage.also) damage.also(engine, fakes);
}

INSTANTIATE_TEST_SUITE_P(Damages, BadFolderTest, testing::ValuesIn(kDamages),
                         [](const testing::TestParamInfo<Damage>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tsukikage
