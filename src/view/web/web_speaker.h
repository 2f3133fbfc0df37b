#pragma once

#include "platform/speaker.h"

namespace tsukikage::web {

// The browser's voice: the page's Web Speech (web/self_voicing.js) says the text in Japanese.
class WebSpeaker : public Speaker {
  public:
    void Say(std::string_view text) override;
    void Stop() override;
};

}  // namespace tsukikage::web
