#include "audio/sdl/sdl_music_player.h"

#include "audio/sdl/mixer_input.h"

namespace tsukikage {

bool SdlMusicPlayer::Load(const std::filesystem::path& path) {
    Unload();
    if (!audio_.Ready()) return false;
    music_ = LoadMusic(path, memory_);  // the decoder is chosen by the file's contents
    return music_ != nullptr;
}

std::optional<std::int64_t> SdlMusicPlayer::LengthMs() {
    if (!music_) return std::nullopt;
    const double seconds = Mix_MusicDuration(music_);
    if (seconds < 0) return std::nullopt;
    return static_cast<std::int64_t>(seconds * 1000.0 + 0.5);
}

void SdlMusicPlayer::Play(std::int64_t from_ms) {
    if (!music_) return;
    Mix_VolumeMusic(volume_);
    // Starting again cuts the tail of the previous pass at once.
    if (Mix_PlayMusic(music_, 0) != 0) return;
    if (from_ms > 0) Mix_SetMusicPosition(static_cast<double>(from_ms) / 1000.0);
}

void SdlMusicPlayer::Stop() {
    if (music_) Mix_HaltMusic();
}

void SdlMusicPlayer::Unload() {
    if (!music_) return;
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
    memory_.clear();
}

void SdlMusicPlayer::SetGain(double gain) {
    volume_ = MixerVolume(gain);
    if (audio_.opened()) Mix_VolumeMusic(volume_);
}

}  // namespace tsukikage
