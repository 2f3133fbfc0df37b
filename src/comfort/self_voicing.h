#pragma once

#include <string>
#include <string_view>

#include "window/main_window.h"

namespace tsukikage {

class Comfort;
class Page;

// Self-voicing: reads each new page of the game screen and its choices aloud through the
// platform's speaker when the player's setting asks for it. A turned page cuts off the one
// before, so the voice never lags behind the screen; skip and the text history keep it quiet.
class SelfVoicing {
  public:
    SelfVoicing(MainWindow& window, const Page& page, Comfort& comfort);

    // After every event the window handled: speaks what came on screen, or stops.
    void AfterEvent();
    // The V key: turns the setting over and says which way it now stands.
    void Toggle();

  private:
    // Stops the voice if it may still be speaking.
    void Quiet();
    // `page`: the text is the screen's, not the word that V says.
    void Say(const std::string& text, bool page);

    MainWindow& w_;
    const Page& page_;
    Comfort& comfort_;
    bool enabled_ = false;
    bool speaking_ = false;
    bool saying_page_ = false;
    int seen_page_count_ = 0;
    bool seen_choices_ = false;
    // What came on screen and has not been said yet.
    bool page_owed_ = false;
    bool choices_owed_ = false;
};

// A page as it is spoken: its lines joined by a blank, no line end after the last.
std::string SpokenPage(std::string_view caption);
// The two choices with their numbers: "1、甲。2、乙。".
std::string SpokenChoices(std::string_view first, std::string_view second);
// Whether a voice's language tag ("ja", "ja-JP", "ja_JP", any letter case) is Japanese.
bool IsJapaneseVoice(std::string_view language);

}  // namespace tsukikage
