// The real mixer, recorded through SDL's disk audio driver: effects and music must be heard.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "audio/sdl/sdl_audio.h"
#include "audio/sdl/sdl_music_player.h"
#include "audio/sdl/sdl_wave_voice.h"
#include "base/game_folder.h"
#include "demo_sounds.h"
#include "fakes/game_fixture.h"
#include "sound/music_command.h"

namespace tsukikage {
namespace {

namespace fs = std::filesystem;

// Loudness of a stretch of the recording (signed 16-bit samples), as sox's "RMS lev dB".
struct Level {
    double rms_db = -200;
    int peak = 0;
};

class RecordedAudioTest : public ::testing::Test {
  protected:
    RecordedAudioTest()
        : recording(folder.path() / "out.raw"),
          game(folder.path()),
          voice(audio, [this](std::string_view name) { return game.FindSound(name); }),
          player(audio),
          device(player, clock, GameMusicResolver(folder.path())) {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
        fakes::WriteBytes(folder.path() / "se" / "chime.wav", demo::ChimeWave());
        fakes::WriteBytes(folder.path() / "midi" / "theme.mid", demo::ThemeMidi());
    }

    std::uintmax_t Recorded() const {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(recording, error);
        return error ? 0 : size;
    }

    // Waits until `seconds` more of sound are written, then measures them.
    Level Listen(double seconds) {
        const std::uintmax_t from = Recorded();
        const std::uintmax_t bytes = static_cast<std::uintmax_t>(seconds * 44100) * 4;
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (Recorded() < from + bytes && std::chrono::steady_clock::now() < give_up) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::ifstream in(recording, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from));
        std::string data(bytes, '\0');
        in.read(data.data(), static_cast<std::streamsize>(bytes));
        data.resize(static_cast<std::size_t>(in.gcount()));
        Level level;
        double sum = 0;
        const std::size_t count = data.size() / 2;
        for (std::size_t i = 0; i < count; ++i) {
            const std::int16_t sample =
                static_cast<std::int16_t>(static_cast<std::uint8_t>(data[2 * i]) |
                                          static_cast<std::uint8_t>(data[2 * i + 1]) << 8);
            sum += static_cast<double>(sample) * sample;
            level.peak = std::max(level.peak, std::abs(static_cast<int>(sample)));
        }
        if (count > 0 && sum > 0) {
            level.rms_db = 20 * std::log10(std::sqrt(sum / static_cast<double>(count)) / 32768.0);
        }
        return level;
    }

    std::uint32_t Send(std::string_view command) {
        std::string reply;
        return device.SendString(command, reply);
    }

    fakes::TempFolder folder;
    fs::path recording;
    GameFolder game;
    SdlAudio audio;
    SdlWaveVoice voice;
    SdlMusicPlayer player;
    SteadyMusicClock clock;
    MusicCommandDevice device;
};

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

    const std::string open = "Open \"" + folder.path().string() + "\\midi\\theme.mid\" alias MIDI1";
    ASSERT_EQ(Send(open), 0u);
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
