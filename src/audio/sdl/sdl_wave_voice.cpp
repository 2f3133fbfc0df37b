#include "audio/sdl/sdl_wave_voice.h"

#include "audio/sdl/mixer_input.h"

namespace tsukikage {

SdlWaveVoice::SdlWaveVoice(SdlAudio& audio, Resolver find_sound)
    : audio_(audio), find_sound_(std::move(find_sound)) {}

SdlWaveVoice::~SdlWaveVoice() {
    Halt();
}

void SdlWaveVoice::Halt() {
    if (!chunk_) return;
    Mix_HaltChannel(kWaveChannel);
    Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
}

std::int32_t SdlWaveVoice::PlaySound(std::string_view name, unsigned flags) {
    Halt();
    if (name.empty()) return 1;  // the stop
    std::optional<std::filesystem::path> path = find_sound_(name);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error) || !audio_.Ready()) return 0;
    chunk_ = LoadChunk(*path);
    if (!chunk_) return 0;
    const int loops = (flags & snd::kLoop) ? -1 : 0;
    if (Mix_PlayChannel(kWaveChannel, chunk_, loops) < 0) {
        Halt();
        return 0;
    }
    return 1;
}

}  // namespace tsukikage
