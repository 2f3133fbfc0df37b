// The real mixer, recorded through SDL's disk audio driver.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/sdl/sdl_audio.h"
#include "audio/sdl/sdl_music_player.h"
#include "audio/sdl/sdl_wave_voice.h"
#include "base/game_folder.h"
#include "demo_sounds.h"
#include "fakes/game_fixture.h"
#include "sound/music_command.h"

namespace tsukikage::testing_audio {

namespace fs = std::filesystem;

// Bytes of one second of the recording: signed 16-bit stereo at 44100 Hz.
inline constexpr std::uintmax_t kBytesPerSecond = 44100 * 4;

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
        fakes::WriteBytes(folder.path() / "midi" / "dawn.mid", demo::DawnMidi());
    }

    std::uintmax_t Recorded() const {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(recording, error);
        return error ? 0 : size;
    }

    // The samples recorded from byte `from` on, `bytes` of them or as many as there are.
    std::vector<std::int16_t> Samples(std::uintmax_t from, std::uintmax_t bytes) const {
        std::ifstream in(recording, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from & ~std::uintmax_t{3}));
        std::string data(bytes, '\0');
        in.read(data.data(), static_cast<std::streamsize>(bytes));
        std::vector<std::int16_t> samples(static_cast<std::size_t>(in.gcount()) / 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(data[2 * i]) |
                                                   static_cast<std::uint8_t>(data[2 * i + 1]) << 8);
        }
        return samples;
    }

    // Waits until `seconds` more of sound are written and returns where they start.
    std::uintmax_t WaitFor(double seconds) const {
        const std::uintmax_t from = Recorded();
        const auto bytes = static_cast<std::uintmax_t>(seconds * 44100) * 4;
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (Recorded() < from + bytes && std::chrono::steady_clock::now() < give_up) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return from;
    }

    static Level Measure(const std::vector<std::int16_t>& samples) {
        Level level;
        double sum = 0;
        for (std::int16_t sample : samples) {
            sum += static_cast<double>(sample) * sample;
            level.peak = std::max(level.peak, std::abs(static_cast<int>(sample)));
        }
        if (!samples.empty() && sum > 0) {
            level.rms_db =
                20 * std::log10(std::sqrt(sum / static_cast<double>(samples.size())) / 32768.0);
        }
        return level;
    }

    // Waits until `seconds` more of sound are written, then measures them.
    Level Listen(double seconds) {
        const std::uintmax_t from = WaitFor(seconds);
        return Measure(Samples(from, static_cast<std::uintmax_t>(seconds * 44100) * 4));
    }

    std::uint32_t Send(std::string_view command) {
        std::string reply;
        return device.SendString(command, reply);
    }

    std::string OpenCommand(std::string_view file) const {
        return "Open \"" + folder.path().string() + "\\midi\\" + std::string(file) +
               "\" alias MIDI1";
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

}  // namespace tsukikage::testing_audio
