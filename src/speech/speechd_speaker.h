#pragma once

#include <libspeechd.h>

#include <functional>
#include <string>
#include <string_view>

#include "base/messages.h"
#include "platform/speaker.h"

namespace tsukikage {

// The speaker on the desktop: speech-dispatcher, in Japanese. It connects at the first word,
// so a player who never turns self-voicing on never starts the daemon. When the daemon cannot
// be reached, or has no Japanese voice, `note` is told once in one line and the game plays on
// (silent in the first case, with whatever voice there is in the second).
class SpeechdSpeaker : public Speaker {
  public:
    SpeechdSpeaker(Language language, std::function<void(std::string_view)> note);
    ~SpeechdSpeaker() override;
    SpeechdSpeaker(const SpeechdSpeaker&) = delete;
    SpeechdSpeaker& operator=(const SpeechdSpeaker&) = delete;

    void Say(std::string_view text) override;
    void Stop() override;

  private:
    bool Connect();
    void Lost();

    Language language_;
    std::function<void(std::string_view)> note_;
    SPDConnection* connection_ = nullptr;
    // Once the daemon failed, the speaker stays quiet for the rest of the run: asking again
    // at every page would stall each turn on a failing connection.
    bool failed_ = false;
};

}  // namespace tsukikage
