#include "extras/scene_replay.h"

#include "base/numeric.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "extras/back_to_title.h"
#include "extras/name_list.h"
#include "scenario/commands.h"
#include "scenario/reader.h"
#include "sound/sound.h"

namespace tsukikage {
namespace {

constexpr std::string_view kWaitingPicture = "\\data\\nowload.jpg";

}  // namespace

void SceneReplay::ClaimEvents(EventTable& events) {
    constexpr Screen kOn = Screen::SceneList;
    events.OnClick(
        ControlId::MusicGo, "SceneReplay::Next", [this] { Next(); }, kOn);
    events.OnClick(
        ControlId::MusicBack, "SceneReplay::Previous", [this] { Previous(); }, kOn);
    events.OnClick(
        ControlId::MusicPlay, "SceneReplay::Play", [this] { Play(); }, kOn);
    events.OnClick(
        ControlId::SystemBack, "SceneReplay::SystemBack_Click", [this] { SystemBack_Click(); },
        kOn);
}

void SceneReplay::SystemBack_Click() {
    BackToTitleWithTheme(w_, sound_);
}

void SceneReplay::ReadList() {
    SceneNames = ReadNameList(w_.folder, "\\Scenelist.dat");
}

void SceneReplay::ShowScene() {
    const bool listed = SceneNo >= 1 && static_cast<std::size_t>(SceneNo) <= SceneNames.size();
    w_.form[ControlId::Label1].caption = listed ? SceneNames[SceneNo - 1] : std::string();
    w_.form.Changed();
}

void SceneReplay::Open() {
    w_.SelectMode(Mode::SceneList);
    ReadList();
    w_.state.SceneMarker = 1;
    w_.form.key_focus.reset();  // the keys start afresh on the screen
    SceneNo = 1;
    ShowScene();
}

void SceneReplay::Next() {
    if (w_.state.GameMode) return;
    if (static_cast<std::size_t>(SceneNo) < SceneNames.size()) {
        w_.state.SceneMarker = static_cast<std::uint8_t>(w_.state.SceneMarker + 2);
        ++SceneNo;
        ShowScene();
    }
}

void SceneReplay::Previous() {
    if (w_.state.GameMode) return;
    if (static_cast<std::size_t>(SceneNo) <= SceneNames.size() && SceneNo > 1) {
        w_.state.SceneMarker = static_cast<std::uint8_t>(w_.state.SceneMarker - 2);
        --SceneNo;
        ShowScene();
    }
}

void SceneReplay::Play() {
    if (w_.state.GameMode) return;
    w_.SelectMode(Mode::Replay);
    w_.state.Loading = true;
    Control& screen = w_.form[ControlId::Picture1];
    try {
        screen.AssignPicture(w_.LoadPictureIfPresent(kWaitingPicture));
    } catch (const RuntimeError&) {
        screen.AssignPicture(nullptr);
    }
    w_.form.Changed();
    sound_.StopAllSound();
    // Only the start marker's exact text matches; the lines before it are passed over, their
    // commands not run.
    const std::string start = "h " + DecimalText(w_.state.SceneMarker);
    try {
        reader_.OpenScenario();
        while (!reader_.AtEnd()) {
            std::string_view raw = reader_.ReadRawLine();
            if (IsCommandLine(raw) && raw.substr(1) == start) {  // ASCII: bytes compare alike
                w_.form.Show(ControlId::imgAhead);
                reader_.imgAhead_Click();
                break;
            }
        }
    } catch (const RuntimeError& error) {
        reader_.FailScenario(error);
    }
    // The replay plays as a game: its choices are skipped, so nothing is left to restore,
    // and a game started after it must take picks again.
    w_.state.Loading = false;
}

void SceneReplay::Check(std::string_view argument) {
    if (ParseNumber(argument) != w_.state.SceneMarker + 1) return;
    w_.SelectMode(Mode::SceneList);
    ReadList();
    ShowScene();
    // The list is back: what follows the end marker is not read behind it.
    reader_.CloseScenario();
    w_.form.Hide(ControlId::imgAhead);
}

}  // namespace tsukikage
