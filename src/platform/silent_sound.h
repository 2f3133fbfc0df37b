#pragma once

#include "platform/interfaces.h"

namespace tsukikage {

// Sound that goes nowhere: every request is accepted and nothing is heard. Used when no
// audio device can be opened.
class SilentWaveVoice : public WaveVoice {
  public:
    std::int32_t PlaySound(std::string_view, unsigned) override { return 1; }
};

class SilentMusicDevice : public MusicDevice {
  public:
    std::uint32_t SendString(std::string_view, std::string& reply) override {
        reply.clear();
        return 0;
    }
    std::string ErrorText(std::uint32_t) override { return {}; }
};

}  // namespace tsukikage
