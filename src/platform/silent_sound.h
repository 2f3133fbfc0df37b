#pragma once

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
        reply.clear();
        if (EndsWith(command, " length")) reply = "0";
        if (EndsWith(command, " mode")) reply = "playing";
        return 0;
    }
    std::string ErrorText(std::uint32_t) override { return "音声を再生できません。"; }

  private:
    static bool EndsWith(std::string_view text, std::string_view end) {
        if (text.size() < end.size()) return false;
        for (std::size_t i = 0; i < end.size(); ++i) {
            char c = text[text.size() - end.size() + i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != end[i]) return false;
        }
        return true;
    }
};

}  // namespace tsukikage
