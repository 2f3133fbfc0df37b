#pragma once

#include <SDL_mixer.h>

#include <string>

#include "audio/sdl/sdl_audio.h"
#include "audio/sdl/sdl_sound_levels.h"

namespace tsukikage {

// Plays the music device's piece through the mixer's music stream (MIDI through FluidSynth).
class SdlMusicPlayer : public LeveledMusicPlayer {
  public:
    explicit SdlMusicPlayer(SdlAudio& audio) : audio_(audio) {}
    ~SdlMusicPlayer() override { Unload(); }
    SdlMusicPlayer(const SdlMusicPlayer&) = delete;
    SdlMusicPlayer& operator=(const SdlMusicPlayer&) = delete;

    bool Load(const std::filesystem::path& path) override;
    std::optional<std::int64_t> LengthMs() override;
    void Play(std::int64_t from_ms) override;
    void Stop() override;
    void Unload() override;
    void SetGain(double gain) override;

  private:
    SdlAudio& audio_;
    Mix_Music* music_ = nullptr;
    std::string memory_;  // the bytes a piece decoded or unwrapped here plays from
    int volume_ = MIX_MAX_VOLUME;
};

}  // namespace tsukikage
