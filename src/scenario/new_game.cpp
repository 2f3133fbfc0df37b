#include "scenario/new_game.h"

#include "base/numeric.h"
#include "base/text_codec.h"
#include "scenario/commands.h"
#include "scenario/page.h"
#include "scenario/reader.h"
#include "sound/sound.h"

namespace tsukikage {

void NewGame::ClaimEvents(EventTable& events) {
    events.OnMenu(MenuId::NewGame, "NewGame::NewGame_Click", [this] { NewGame_Click(); });
}

void NewGame::NewGame_Click() {
    reader_.CloseScenario();
    // From the title, load or extras screens the game needs its own layout first, or it
    // would play under the title images; from a scene replay, the game leaves the replay, or
    // it would pass over every choice and end at the scene's end marker.
    if (!w_.state.GameMode || w_.state.SceneMode) w_.SelectMode(Mode::Game);
    LeaveStandingChoice();
    StartScenario();
}

// A choice left standing (shown, or restored by a load) would stay over the new game's first
// page and keep that page hidden: it goes as a pick would take it away.
void NewGame::LeaveStandingChoice() {
    Form& form = w_.form;
    if (!form.IsShown(ImgSel(0)) && !form.IsShown(ImgSel(1))) return;
    for (int i = 0; i < 2; ++i) {
        form[LblSel(i)].caption.clear();
        form.Hide(ImgSel(i));
    }
    form.key_focus.reset();
    form[ControlId::Label1].visible = true;
    form.Changed();
}

void NewGame::StartFromTitle() {
    w_.SelectMode(Mode::Game);
    StartScenario();
}

void NewGame::StartScenario() {
    w_.form.Show(ControlId::imgAhead);
    w_.form[ControlId::txtTell].visible = false;
    sound_.StopAllSound();
    try {
        reader_.OpenScenario();
        FirstPage();
    } catch (const RuntimeError& error) {
        reader_.FailScenario(error);
    }
}

void NewGame::FirstPage() {
    // A new game starts from an empty page, not after the last game's text.
    page_.EmptyPage();
    while (!reader_.AtEnd()) {
        std::string line = reader_.ReadLine();
        if (IsCommandLine(line)) {
            page_.Show();
            reader_.DoCommand(std::string_view(line).substr(1));
            return;
        }
        page_.AppendLine(line, false);
    }
    page_.Show();
}

void NewGame::EndOfScenario() {
    w_.form[ControlId::imgAhead].visible = false;
    reader_.CloseScenario();
    sound_.StopAllSound();
    w_.SelectMode(Mode::Title);
}

void NewGame::SaveDeal(std::string_view argument) {
    w_.state.PartNo = ToInteger(argument);
}

void NewGame::LoadPart() {
    try {
        reader_.OpenScenario();
        const std::string marker = "p " + DecimalText(w_.state.PartNo);
        while (!reader_.AtEnd()) {
            std::string_view raw = reader_.ReadRawLine();
            if (!IsCommandLine(raw)) {
                page_.Collect(Cp932ToUtf8(raw));
            } else if (raw.substr(1) == marker) {  // the marker is ASCII: bytes compare alike
                reader_.imgAhead_Click();
                return;
            }
        }
    } catch (const RuntimeError& error) {
        reader_.FailScenario(error);
    }
}

}  // namespace tsukikage
