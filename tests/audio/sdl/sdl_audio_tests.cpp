// The real mixer, recorded through SDL's disk audio driver: effects and music must be heard.
#include <SDL.h>

#include "audio/sdl/recorded_audio.h"

namespace tsukikage {
namespace {

using namespace testing_audio;

TEST_F(RecordedAudioTest, EffectAndMidiMusicAreHeardAndTheStopsSilenceThem) {
    // Named without its extension, as the game names its wave files.
    ASSERT_EQ(voice.PlaySound("\\se\\chime", snd::kAsync), 1);
    ASSERT_TRUE(audio.opened());
    const Level chime = Listen(0.5);
    EXPECT_GT(chime.rms_db, -40) << "the chime is silent";
    EXPECT_GT(chime.peak, 1000);
    EXPECT_EQ(voice.PlaySound("", snd::kAsync), 1);
    Listen(0.2);  // what was already mixed
    EXPECT_LT(Listen(0.3).peak, 10) << "the stop left sound playing";

    ASSERT_EQ(Send(OpenCommand("theme.mid")), 0u);
    ASSERT_EQ(Send("Play MIDI1 from 0 notify"), 0u);
    Listen(0.3);  // the first notes start softly
    const Level music = Listen(1.5);
    EXPECT_GT(music.rms_db, -45) << "the MIDI piece is silent";
    EXPECT_EQ(Send("Close MIDI1"), 0u);
    Listen(0.2);
    EXPECT_LT(Listen(0.3).peak, 10) << "closing left music playing";
}

TEST_F(RecordedAudioTest, FilesTheMixerCannotDecodeStaySilentAndFail) {
    // A wave header announcing an encoding no decoder knows, and a file of noise.
    std::string odd = demo::ChimeWave();
    odd[20] = '\x34';
    odd[21] = '\x12';
    fakes::WriteBytes(folder.path() / "se" / "odd.wav", odd);
    fakes::WriteBytes(folder.path() / "se" / "noise.wav", "not a sound at all");
    fakes::WriteBytes(folder.path() / "midi" / "noise.mid", "MThd but nothing more");
    EXPECT_EQ(voice.PlaySound("\\se\\odd.wav", snd::kAsync), 0);
    EXPECT_EQ(voice.PlaySound("\\se\\noise.wav", snd::kAsync | snd::kLoop), 0);
    EXPECT_EQ(voice.PlaySound("\\se\\missing.wav", snd::kAsync), 0);
    EXPECT_EQ(voice.PlaySound("\\", snd::kAsync), 0);
    EXPECT_EQ(Send("Open \"" + folder.path().string() + "\\midi\\noise.mid\" alias MIDI1"),
              mci::kInvalidFile);
    EXPECT_LT(Listen(0.3).peak, 10);
}

TEST(SdlAudioTest, WithoutAWorkingDeviceTheGameRunsOnSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    fakes::TempFolder folder;
    fakes::WriteBytes(folder.path() / "chime.wav", demo::ChimeWave());
    GameFolder game(folder.path());
    SdlAudio audio;
    SdlWaveVoice voice(audio, [&game](std::string_view name) { return game.FindSound(name); });
    EXPECT_EQ(voice.PlaySound("\\chime", snd::kAsync | snd::kLoop), 1);
    EXPECT_TRUE(audio.opened());
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);  // the fallback holds for the process; not for other tests
}

}  // namespace
}  // namespace tsukikage
