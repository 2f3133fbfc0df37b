#include "comfort/self_voicing.h"

#include "base/ascii.h"
#include "comfort/comfort.h"
#include "scenario/page.h"

namespace tsukikage {
namespace {

constexpr std::string_view kVoicingOn = "読み上げ オン";
constexpr std::string_view kVoicingOff = "読み上げ オフ";

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A choice said as a sentence of its own, without doubling the caption's own full stop.
void AppendChoice(std::string& text, int number, std::string_view caption) {
    text += std::to_string(number) + "、";
    text += caption;
    if (!EndsWith(caption, "。") && !EndsWith(caption, "？") && !EndsWith(caption, "！")) {
        text += "。";
    }
}

}  // namespace

std::string SpokenPage(std::string_view caption) {
    std::string text;
    bool line_break = false;
    for (const char c : caption) {
        if (c == '\r' || c == '\n') {
            line_break = true;
            continue;
        }
        if (line_break && !text.empty()) text += ' ';
        line_break = false;
        text += c;
    }
    return text;
}

std::string SpokenChoices(std::string_view first, std::string_view second) {
    std::string text;
    AppendChoice(text, 1, SpokenPage(first));
    AppendChoice(text, 2, SpokenPage(second));
    return text;
}

bool IsJapaneseVoice(std::string_view language) {
    if (language.size() < 2 || ascii::Lower(language.substr(0, 2)) != "ja") return false;
    return language.size() == 2 || language[2] == '-' || language[2] == '_';
}

SelfVoicing::SelfVoicing(MainWindow& window, const Page& page, Comfort& comfort)
    : w_(window), page_(page), comfort_(comfort) {}

void SelfVoicing::AfterEvent() {
    if (const bool on = comfort_.settings().self_voicing; on != enabled_) {
        enabled_ = on;
        Quiet();
        page_owed_ = choices_owed_ = on;
    }
    const bool choices = w_.form.ChoicesShown();
    if (page_.shown_count() != seen_page_count_ || choices != seen_choices_) {
        // The screen turned: what was being said belongs to the screen before.
        if (page_.shown_count() != seen_page_count_) page_owed_ = true;
        if (choices != seen_choices_) choices_owed_ = choices;
        seen_page_count_ = page_.shown_count();
        seen_choices_ = choices;
        // The title's own texts change while it starts up: they do not cut the word of V.
        if (w_.state.GameMode || saying_page_) Quiet();
    }
    if (!enabled_) return;
    if (!w_.state.GameMode) {
        if (saying_page_) Quiet();
        page_owed_ = choices_owed_ = false;
        return;
    }
    // Skip passes pages too fast to hear, and the history is read by the eyes: both keep
    // what is owed, so the page a skip stops on is still said.
    if (comfort_.skipping() || comfort_.history_open()) {
        Quiet();
        return;
    }
    std::string text;
    const Control& label = w_.form[ControlId::Label1];
    if (page_owed_ && label.visible && !choices) text = SpokenPage(label.caption);
    if (choices_owed_ && choices) {
        if (!text.empty()) text += ' ';
        text += SpokenChoices(w_.form[LblSel(0)].caption, w_.form[LblSel(1)].caption);
    }
    page_owed_ = choices_owed_ = false;
    Say(text, true);
}

void SelfVoicing::Toggle() {
    PlaySettings settings = comfort_.settings();
    settings.self_voicing = !settings.self_voicing;
    comfort_.Apply(settings);
    enabled_ = settings.self_voicing;
    Quiet();
    // Turned on, the page on screen is read after the word that says so.
    page_owed_ = choices_owed_ = enabled_;
    Say(std::string(enabled_ ? kVoicingOn : kVoicingOff), false);
}

void SelfVoicing::Quiet() {
    if (!speaking_) return;
    w_.platform.speaker.Stop();
    speaking_ = saying_page_ = false;
}

void SelfVoicing::Say(const std::string& text, bool page) {
    if (text.empty()) return;
    w_.platform.speaker.Say(text);
    speaking_ = true;
    saying_page_ = page;
}

}  // namespace tsukikage
