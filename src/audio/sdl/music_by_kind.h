#pragma once

#include "sound/music_command.h"

namespace tsukikage {

// Plays MIDI files on one player and every other file on another, telling them apart by the
// file's first bytes as the music device does. Only the player holding the piece is called.
class MusicByKind : public MusicPlayer {
  public:
    MusicByKind(MusicPlayer& midi, MusicPlayer& other) : midi_(midi), other_(other) {}

    bool Load(const std::filesystem::path& path) override;
    std::optional<std::int64_t> LengthMs() override;
    void Play(std::int64_t from_ms) override;
    void Stop() override;
    void Unload() override;

  private:
    MusicPlayer& midi_;
    MusicPlayer& other_;
    MusicPlayer* current_ = nullptr;
};

}  // namespace tsukikage
