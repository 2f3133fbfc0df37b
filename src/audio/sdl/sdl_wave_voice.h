#pragma once

#include <SDL_mixer.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "audio/sdl/sdl_audio.h"
#include "platform/interfaces.h"

namespace tsukikage {

// The wave voice on one mixer channel: a new sound replaces the one playing. The mixer decodes
// the encodings it knows, the wave decoder every other one. A file that is missing or cannot
// be decoded is not played, silently, and the call answers 0.
class SdlWaveVoice : public WaveVoice {
  public:
    using Resolver = std::function<std::optional<std::filesystem::path>(std::string_view)>;
    SdlWaveVoice(SdlAudio& audio, Resolver find_sound);
    ~SdlWaveVoice() override;
    SdlWaveVoice(const SdlWaveVoice&) = delete;
    SdlWaveVoice& operator=(const SdlWaveVoice&) = delete;

    std::int32_t PlaySound(std::string_view name, unsigned flags) override;

  private:
    void Halt();

    SdlAudio& audio_;
    Resolver find_sound_;
    Mix_Chunk* chunk_ = nullptr;
};

}  // namespace tsukikage
