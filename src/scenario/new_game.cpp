#include "scenario/new_game.h"

#include "app/engine.h"
#include "platform/numeric.h"
#include "platform/text_codec.h"

namespace tsukikage {

void NewGame::NewGame_Click() {
    e_.reader.CloseScenario();
    Control& ahead = e_.form[ControlId::imgAhead];
    ahead.enabled = true;
    ahead.visible = true;
    e_.form[ControlId::txtTell].visible = false;
    e_.sound.StopAllSound();
    StartScenario();
}

void NewGame::NewGameImage_Click() {
    if (e_.state.LoadMode) {
        e_.saves.LoadSlot(1);
        return;
    }
    WindowState& s = e_.state;
    s.CGMode = s.SceneMode = s.MusicMode = s.LoadMode = s.TitleMode = false;
    s.GameMode = true;
    e_.title.ModeSelect();
    Control& ahead = e_.form[ControlId::imgAhead];
    ahead.enabled = true;
    ahead.visible = true;
    e_.form[ControlId::txtTell].visible = false;
    e_.sound.StopAllSound();
    StartScenario();
}

void NewGame::StartScenario() {
    try {
        e_.reader.OpenScenario();
        FirstPage();
    } catch (const RuntimeError& error) {
        e_.reader.FailScenario(error);
    }
}

void NewGame::FirstPage() {
    // A new game starts from an empty page, not after the last game's text.
    e_.page.EmptyPage();
    while (!e_.reader.AtEnd()) {
        std::string line = e_.reader.ReadLine();
        if (!line.empty() && line.front() == '.') {
            e_.page.Show();
            e_.reader.DoCommand(std::string_view(line).substr(1));
            return;
        }
        e_.page.AppendLine(line, false);
    }
    e_.page.Show();
}

void NewGame::SaveDeal(std::string_view argument) {
    e_.state.PartNo = ToInteger(argument);
}

void NewGame::LoadPart() {
    try {
        e_.reader.OpenScenario();
        const std::string marker = "p " + DecimalText(e_.state.PartNo);
        std::string& buffer = e_.form[ControlId::txtTell].caption;
        while (!e_.reader.AtEnd()) {
            std::string_view raw = e_.reader.ReadRawLine();
            if (raw.empty() || raw.front() != '.') {
                // Collected but not shown: the label is left as it is.
                buffer += Cp932ToUtf8(raw);
                buffer += "\r\n";
            } else if (raw.substr(1) == marker) {  // the marker is ASCII: bytes compare alike
                e_.reader.imgAhead_Click();
                return;
            }
        }
    } catch (const RuntimeError& error) {
        e_.reader.FailScenario(error);
    }
}

}  // namespace tsukikage
