#pragma once

#include "audio/sdl/sdl_sound_levels.h"

namespace tsukikage {

// Plays MIDI files on one player and every other file on another, telling them apart by the
// file's first bytes as the music device does. Only the player holding the piece is called,
// except for the gain, which both take.
class MusicByKind : public LeveledMusicPlayer {
  public:
    MusicByKind(LeveledMusicPlayer& midi, LeveledMusicPlayer& other) : midi_(midi), other_(other) {}

    bool Load(const std::filesystem::path& path) override;
    std::optional<std::int64_t> LengthMs() override;
    void Play(std::int64_t from_ms) override;
    void Stop() override;
    void Unload() override;
    void SetGain(double gain) override;

  private:
    LeveledMusicPlayer& midi_;
    LeveledMusicPlayer& other_;
    MusicPlayer* current_ = nullptr;
};

}  // namespace tsukikage
