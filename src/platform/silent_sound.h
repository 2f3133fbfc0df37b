#pragma once

#include "base/ascii.h"
#include "platform/interfaces.h"

namespace tsukikage {

// Sound that goes nowhere: every request is accepted and nothing is heard. Used when no
// audio device can be opened.
class SilentWaveVoice : public WaveVoice {
  public:
    std::int32_t PlaySound(std::string_view, unsigned) override { return 1; }
};

// A music device without sound: every piece opens, has no length and plays for ever, so
// looping music neither fails nor keeps being restarted.
class SilentMusicDevice : public MusicDevice {
  public:
    std::uint32_t SendString(std::string_view command, std::string& reply) override {
        std::string_view answer;
        if (ascii::EndsWithIgnoringCase(command, " length")) answer = "0";
        if (ascii::EndsWithIgnoringCase(command, " mode")) answer = "playing";
        reply.assign(answer.begin(), answer.end());
        return 0;
    }
    std::string ErrorText(std::uint32_t) override { return "音声を再生できません。"; }
};

}  // namespace tsukikage
