#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/interfaces.h"
#include "sound/music_command.h"

namespace tsukikage::web {

// The sound doors in the browser: the engine decodes each file itself (sound/wave_decode.h)
// and hands the samples to the page's Web Audio graph (web/sound.js); MIDI goes to FluidSynth
// running in an audio worklet. The page starts its audio on the first click, tap or key and
// keeps what was asked before, so a looping piece asked for at the title starts then.

// The one wave voice: a new sound replaces the one playing. A file that is missing or cannot
// be decoded is not played, silently, and the call answers 0, as on the desktop.
class WebWaveVoice : public WaveVoice {
  public:
    using Resolver = std::function<std::optional<std::filesystem::path>(std::string_view)>;
    explicit WebWaveVoice(Resolver find_sound) : find_sound_(std::move(find_sound)) {}
    // A game started again begins in silence.
    ~WebWaveVoice() override;
    WebWaveVoice(const WebWaveVoice&) = delete;
    WebWaveVoice& operator=(const WebWaveVoice&) = delete;
    std::int32_t PlaySound(std::string_view name, unsigned flags) override;

  private:
    Resolver find_sound_;
};

// Holds one piece for the music device: a MIDI file goes to the page's synthesizer as the
// Standard MIDI File it is or wraps, any other file the device opens is decoded as a wave.
class WebMusicPlayer : public MusicPlayer {
  public:
    WebMusicPlayer() = default;
    ~WebMusicPlayer() override { Unload(); }
    WebMusicPlayer(const WebMusicPlayer&) = delete;
    WebMusicPlayer& operator=(const WebMusicPlayer&) = delete;
    bool Load(const std::filesystem::path& path) override;
    // A wave's decoded length; the music device reads a MIDI piece's length itself.
    std::optional<std::int64_t> LengthMs() override { return length_ms_; }
    void Play(std::int64_t from_ms) override;
    void Stop() override;
    void Unload() override;

  private:
    std::string midi_;  // the loaded MIDI piece, or empty for a wave
    std::optional<std::int64_t> length_ms_;
    bool loaded_ = false;
};

// The player's levels turn the page's two gain nodes.
class WebSoundLevels : public SoundLevels {
  public:
    void SetMusicLevel(int percent) override;
    void SetVoiceLevel(int percent) override;
};

}  // namespace tsukikage::web
