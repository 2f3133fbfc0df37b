#pragma once

#include <string_view>

namespace tsukikage {

// The voice that reads the game aloud for a player who cannot or would rather not read the
// screen. Text is UTF-8 Japanese.
class Speaker {
  public:
    virtual ~Speaker() = default;
    // Speaks after whatever is being said now.
    virtual void Say(std::string_view text) = 0;
    // Silences what is being said and drops everything still waiting.
    virtual void Stop() = 0;
};

// A speaker that says nothing: for platforms without speech.
class SilentSpeaker : public Speaker {
  public:
    void Say(std::string_view) override {}
    void Stop() override {}
};

inline Speaker& NoSpeech() {
    static SilentSpeaker silent;
    return silent;
}

}  // namespace tsukikage
