#include "title/title.h"

#include "base/runtime_error.h"
#include "extras/extras.h"
#include "graphics/seen_record.h"
#include "saves/saves.h"
#include "scenario/new_game.h"

namespace tsukikage {

Title::Title(MainWindow& window, NewGame& new_game, Saves& saves, Extras& extras)
    : w_(window), new_game_(new_game), saves_(saves), extras_(extras) {
    w_.SetModeLayout([this] { ModeSelect(); });
}

void Title::ClaimEvents(EventTable& events) {
    events.OnTimer(TimerId::Timer2, [this] { Timer2_Timer(); });
    events.OnClick(ControlId::NewGameImage, [this] { NewGameImage_Click(); });
}

void Title::Form_Load() {
    WindowState& s = w_.state;
    s.EffectMode = 0;
    s.SceneMarker = 1;
    s.StepCount = 0;
    s.MidiOpen = false;
    // Until the title screen exists the game is started from the menu, and the two records
    // are read here, before anything can rewrite them.
    w_.form.menu(MenuId::SystemMenu).enabled = true;
    ReadRecords();
}

// A missing or damaged record counts as nothing seen and nothing reached.
void Title::ReadRecords() {
    try {
        LoadSeenRecord(w_.folder, w_.state);
    } catch (const RuntimeError&) {
    }
    extras_.LoadEndingRecord();
}

void Title::Timer2_Timer() {}

void Title::ModeSelect() {}

void Title::NewGameImage_Click() {
    if (w_.state.LoadMode) {
        saves_.LoadSlot(1);
        return;
    }
    new_game_.StartFromTitle();
}

}  // namespace tsukikage
