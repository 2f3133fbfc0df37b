// MIDI music on the program's one FluidSynth synthesizer, recorded through SDL's disk driver.
#ifdef TSUKIKAGE_HAVE_FLUIDSYNTH
#include <memory>

#include "audio/sdl/fluid_music_player.h"
#include "audio/sdl/music_by_kind.h"
#include "audio/sdl/recorded_audio.h"
#include "sound/midi_bytes.h"

namespace tsukikage {
namespace {

using namespace testing_audio;

// Two seconds of rest, then eight quarter notes at 120 beats a minute: four seconds in all.
std::string LateNotes() {
    using namespace testing_midi;
    std::string events = Bytes({0x00, 0xC0, 0x00});
    for (int i = 0; i < 8; ++i) {
        events += i == 0 ? Bytes({0x83, 0x00}) : Bytes({0x00});  // 384 ticks: two seconds
        events += Bytes({0x90, 60 + i, 100, 48, 0x80, 60 + i, 0});
    }
    return Header(0, 1, 96) + Track(events + EndOfTrack(0));
}

// The longest run of frames in which both channels are silent.
std::size_t LongestSilence(const std::vector<std::int16_t>& samples) {
    std::size_t longest = 0;
    std::size_t run = 0;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
        run = std::abs(samples[i]) <= 2 && std::abs(samples[i + 1]) <= 2 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

class FluidMusicTest : public RecordedAudioTest {
  protected:
    FluidMusicTest()
        : fluid(std::make_unique<FluidMusicPlayer>(audio, ChosenSoundFont())),
          by_kind(*fluid, player),
          fluid_device(by_kind, clock, GameMusicResolver(folder.path())) {
        fakes::WriteBytes(folder.path() / "midi" / "late.mid", LateNotes());
        fakes::WriteBytes(folder.path() / "midi" / "chime.wav", demo::ChimeWave());
    }

    std::uint32_t Music(std::string_view command) {
        std::string reply;
        return fluid_device.SendString(command, reply);
    }

    std::unique_ptr<FluidMusicPlayer> fluid;
    MusicByKind by_kind;
    MusicCommandDevice fluid_device;
};

TEST_F(FluidMusicTest, APieceIsHeardAndTheNextReplacesItWithoutAPause) {
    ASSERT_TRUE(fluid->SoundFontLoaded());
    ASSERT_EQ(Music(OpenCommand("theme.mid")), 0u);
    ASSERT_EQ(Music("Play MIDI1 from 0 notify"), 0u);
    ASSERT_TRUE(audio.opened());
    Listen(0.3);  // the first notes start softly
    EXPECT_GT(Listen(1.0).rms_db, -45) << "the MIDI piece is silent";

    // The engine's way to a new piece.
    const std::uintmax_t switched = Recorded();
    for (std::string_view command : {"Stop MIDI1", "Close MIDI1", "Close all"}) Music(command);
    ASSERT_EQ(Music(OpenCommand("dawn.mid")), 0u);
    ASSERT_EQ(Music("Play MIDI1"), 0u);
    WaitFor(1.0);
    const std::vector<std::int16_t> around = Samples(switched, kBytesPerSecond);
    EXPECT_GT(Measure(around).rms_db, -45) << "the second piece is silent";
    EXPECT_LE(LongestSilence(around), 1024u) << "a pause longer than one audio buffer";

    // Wave music still plays through the mixer's own music stream, and MIDI again after it.
    for (std::string_view command : {"Stop MIDI1", "Close MIDI1"}) Music(command);
    ASSERT_EQ(Music(OpenCommand("chime.wav")), 0u);
    ASSERT_EQ(Music("Play MIDI1"), 0u);
    EXPECT_GT(Listen(0.4).rms_db, -40) << "wave music is silent";
    Music("Close MIDI1");
    ASSERT_EQ(Music(OpenCommand("theme.mid")), 0u);
    ASSERT_EQ(Music("Play MIDI1 from 2000"), 0u);
    Listen(0.2);
    EXPECT_GT(Listen(0.5).rms_db, -45) << "MIDI after wave music is silent";
    Music("Close MIDI1");
    Listen(0.2);
    EXPECT_LT(Listen(0.3).peak, 10) << "closing left music playing";
}

TEST_F(FluidMusicTest, PlayingFromAPointStartsThereAndAPlayAfterAStopGoesOn) {
    // The reverb of notes cut off rings a little while: well under a thirtieth of full scale.
    constexpr int kRest = 1000;
    ASSERT_EQ(Music(OpenCommand("late.mid")), 0u);
    // Half a second before the notes: a short rest, then the notes.
    ASSERT_EQ(Music("Play MIDI1 from 1500"), 0u);
    EXPECT_LT(Listen(0.3).peak, kRest) << "the rest before the notes sounds";
    Listen(0.3);
    EXPECT_GT(Listen(0.5).rms_db, -45) << "the notes after the starting point are missing";

    // From the start: the whole rest. Stopped inside it, the rest goes on where it stopped.
    ASSERT_EQ(Music("Play MIDI1 from 0"), 0u);
    Listen(0.05);  // a buffer mixed before the new start may be written after it
    EXPECT_LT(Listen(0.75).peak, kRest);
    ASSERT_EQ(Music("Stop MIDI1"), 0u);
    Listen(0.5);
    ASSERT_EQ(Music("Play MIDI1"), 0u);
    EXPECT_LT(Listen(0.8).peak, kRest) << "the play after the stop started at the notes";
    Listen(0.5);
    EXPECT_GT(Listen(0.5).rms_db, -45) << "the play after the stop never reached the notes";
}

TEST_F(FluidMusicTest, EndingWithMusicPlayingFadesOutAndLetsTheOutputGo) {
    ASSERT_EQ(Music(OpenCommand("theme.mid")), 0u);
    ASSERT_EQ(Music("Play MIDI1 from 4000"), 0u);
    Listen(0.5);
    fluid.reset();  // the device is not used again
    Listen(0.3);
    const std::vector<std::int16_t> all = Samples(0, Recorded());
    std::size_t last = all.size();
    while (last > 0 && std::abs(all[last - 1]) <= 2) --last;
    ASSERT_GT(last, 26460u) << "nothing was heard";
    ASSERT_LT(last, all.size() - 44100 / 5) << "music goes on after the end";
    const std::vector<std::int16_t> before(all.begin() + static_cast<std::ptrdiff_t>(last) - 26460,
                                           all.begin() + static_cast<std::ptrdiff_t>(last) - 4410);
    const std::vector<std::int16_t> end(all.begin() + static_cast<std::ptrdiff_t>(last) - 176,
                                        all.begin() + static_cast<std::ptrdiff_t>(last));
    EXPECT_LT(Measure(end).peak * 8, Measure(before).peak) << "the music breaks off with a click";
}

TEST(SoundFontTest, TheVariableChoosesTheSoundFontWhenItNamesOne) {
    const struct {
        const char* value;  // nullptr: not set
        const char* chosen;
    } kCases[] = {
        {nullptr, kDefaultSoundFont},
        {"", kDefaultSoundFont},
        {"/opt/fonts/Piano Hall.sf3", "/opt/fonts/Piano Hall.sf3"},
        {"mine.sf2", "mine.sf2"},
    };
    for (const auto& c : kCases) {
        if (c.value) {
            setenv(kSoundFontVariable, c.value, 1);
        } else {
            unsetenv(kSoundFontVariable);
        }
        EXPECT_EQ(ChosenSoundFont(), fs::path(c.chosen)) << (c.value ? c.value : "not set");
    }
    unsetenv(kSoundFontVariable);
}

TEST_F(FluidMusicTest, WithoutAUsableSoundFontTheMusicIsSilentAndSaysSoOnce) {
    fakes::WriteBytes(folder.path() / "broken.sf2", "RIFF\x10\0\0\0sfbkLIST");
    for (const fs::path& soundfont :
         {folder.path() / "missing.sf2", folder.path() / "broken.sf2"}) {
        testing::internal::CaptureStderr();
        FluidMusicPlayer silent(audio, soundfont);
        MusicCommandDevice silent_device(silent, clock, GameMusicResolver(folder.path()));
        std::string reply;
        EXPECT_FALSE(silent.SoundFontLoaded());
        // The device answers as ever: no error box for the game to show.
        EXPECT_EQ(silent_device.SendString(OpenCommand("theme.mid"), reply), 0u);
        EXPECT_EQ(silent_device.SendString("Play MIDI1 from 0", reply), 0u);
        EXPECT_EQ(silent_device.SendString("Status MIDI1 mode", reply), 0u);
        EXPECT_EQ(reply, "playing");
        EXPECT_LT(Listen(0.5).peak, 10);
        EXPECT_EQ(silent_device.SendString("Close MIDI1", reply), 0u);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find(soundfont.string()), std::string::npos) << message;
        EXPECT_NE(message.find(kSoundFontVariable), std::string::npos) << message;
        std::size_t ours = 0;  // SDL's own notes about the disk driver aside
        for (std::size_t at = message.find("tsukikage:"); at != std::string::npos;
             at = message.find("tsukikage:", at + 1)) {
            ++ours;
        }
        EXPECT_EQ(ours, 1u) << message;
    }
}

TEST_F(FluidMusicTest, EndingWhileTheSoundFontStillLoadsOrAPieceWaitsIsClean) {
    // Run under the sanitizers, these catch a thread left running, a race or a leak.
    for (int i = 0; i < 3; ++i) {
        FluidMusicPlayer loading(audio, ChosenSoundFont());
    }
    FluidMusicPlayer stopped(audio, ChosenSoundFont());
    ASSERT_TRUE(stopped.Load(folder.path() / "midi" / "theme.mid"));
    stopped.Play(0);
    stopped.Stop();
    FluidMusicPlayer loaded_only(audio, ChosenSoundFont());
    EXPECT_TRUE(loaded_only.Load(folder.path() / "midi" / "dawn.mid"));
}

// A RIFF MIDI file plays on the synthesizer as the file it wraps.
TEST_F(FluidMusicTest, ARiffMidiFileIsHeard) {
    const std::string plain = demo::ThemeMidi();
    std::string wrapped = "RIFF" + std::string(4, '\0') + "RMIDdata";
    for (int i = 0; i < 4; ++i) wrapped += static_cast<char>(plain.size() >> (8 * i) & 0xFF);
    wrapped += plain;
    fakes::WriteBytes(folder.path() / "midi" / "theme.rmi", wrapped);
    ASSERT_TRUE(fluid->SoundFontLoaded());
    ASSERT_EQ(Music(OpenCommand("theme.rmi")), 0u);
    ASSERT_EQ(Music("Play MIDI1 from 0 notify"), 0u);
    Listen(0.3);
    EXPECT_GT(Listen(1.0).rms_db, -45);
    EXPECT_EQ(Music("Close MIDI1"), 0u);
}

}  // namespace
}  // namespace tsukikage
#endif
