#include "scenario/commands.h"

#include <array>

#include "app/engine.h"
#include "platform/utf8.h"

namespace tsukikage {
namespace {

using Handler = Then (*)(Engine&, std::string_view argument);

struct Command {
    char letter;
    Handler run;
};

Then EndOfScenario(Engine& e, std::string_view) {
    e.form[ControlId::imgAhead].visible = false;
    e.reader.CloseScenario();
    e.sound.StopAllSound();
    WindowState& s = e.state;
    s.CGMode = s.SceneMode = s.MusicMode = s.LoadMode = false;
    s.TitleMode = true;
    s.GameMode = false;
    e.title.ModeSelect();
    return Then::Stop;
}

Then SceneMarker(Engine& e, std::string_view argument) {
    if (e.state.SceneMode) {
        e.extras.Check(argument);
        Control& ahead = e.form[ControlId::imgAhead];
        ahead.visible = true;
        ahead.enabled = true;
    }
    return Then::Continue;
}

Then ChoiceBlock(Engine& e, std::string_view) {
    // During a scene replay the block's lines are read as ordinary lines by the next advance.
    if (!e.state.SceneMode) e.choices.ShowChoices();
    return Then::Stop;
}

// The command table: one row per letter, letters compared exactly (case matters).
// clang-format off
constexpr std::array kCommands{
    Command{'l', [](Engine& e, std::string_view a) { e.page.SetWindowPicture(a); return Then::Continue; }},
    Command{'a', [](Engine& e, std::string_view a) { e.graphics.EffectA(a); return Then::Continue; }},
    Command{'b', [](Engine& e, std::string_view a) { e.graphics.EffectB(a); return Then::Continue; }},
    Command{'c', [](Engine& e, std::string_view a) { e.graphics.CGLoad(a); return Then::Continue; }},
    Command{'d', [](Engine& e, std::string_view a) { e.graphics.EffectC(a); return Then::Continue; }},
    Command{'v', [](Engine& e, std::string_view a) { e.sound.SoundSE(a); return Then::Continue; }},
    Command{'r', [](Engine& e, std::string_view a) { e.sound.SoundSELoop(a); return Then::Continue; }},
    Command{'x', [](Engine& e, std::string_view a) { e.sound.SoundBGM(a); return Then::Continue; }},
    // Looping music holds the reader: the next line waits for the player's advance.
    Command{'y', [](Engine& e, std::string_view a) { e.sound.SoundBGMLoop(a); return Then::Stop; }},
    Command{'j', [](Engine& e, std::string_view a) {
                return e.reader.SeekLabel(a) ? Then::Continue : Then::Stop; }},
    Command{'s', ChoiceBlock},
    Command{'f', [](Engine& e, std::string_view a) { e.extras.Finish(a); return Then::Continue; }},
    Command{'p', [](Engine& e, std::string_view a) { e.new_game.SaveDeal(a); return Then::Continue; }},
    Command{'h', SceneMarker},
    Command{'E', EndOfScenario},
};
// clang-format on

constexpr bool LettersAreDistinct() {
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        for (std::size_t j = i + 1; j < kCommands.size(); ++j) {
            if (kCommands[i].letter == kCommands[j].letter) return false;
        }
    }
    return true;
}
static_assert(LettersAreDistinct(), "a command letter stands twice in the table");

// The table indexed by byte, built once.
constexpr std::array<Handler, 128> BuildIndex() {
    std::array<Handler, 128> index{};
    for (const Command& c : kCommands) index[static_cast<unsigned char>(c.letter)] = c.run;
    return index;
}
constexpr std::array<Handler, 128> kIndex = BuildIndex();

}  // namespace

Then ExecuteCommand(Engine& engine, std::string_view command_text) {
    if (command_text.empty()) return Then::Stop;
    std::string_view letter = utf8::FirstChar(command_text);
    // Any other letter, multi-byte characters included, is no command: reading goes on.
    if (letter.size() != 1 || static_cast<unsigned char>(letter[0]) >= kIndex.size()) {
        return Then::Continue;
    }
    Handler run = kIndex[static_cast<unsigned char>(letter[0])];
    if (!run) return Then::Continue;
    return run(engine, utf8::From(command_text, 2));
}

std::string_view CommandLetters() {
    static const std::string letters = [] {
        std::string s;
        for (const Command& c : kCommands) s += c.letter;
        return s;
    }();
    return letters;
}

}  // namespace tsukikage
