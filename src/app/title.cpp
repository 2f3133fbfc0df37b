#include "app/title.h"

#include "app/engine.h"
#include "graphics/seen_record.h"

namespace tsukikage {

void Title::Form_Load() {
    WindowState& s = e_.state;
    s.EffectMode = 0;
    s.SceneMarker = 1;
    s.StepCount = 0;
    s.MidiOpen = false;
    // Until the title screen exists the game is started from the menu, and the two records
    // are read here, before anything can rewrite them.
    e_.form.menu(MenuId::SystemMenu).enabled = true;
    ReadRecords();
}

// A missing or damaged record counts as nothing seen and nothing reached.
void Title::ReadRecords() {
    try {
        LoadSeenRecord(e_.folder, e_.state);
    } catch (const RuntimeError&) {
    }
    e_.extras.LoadEndingRecord();
}

void Title::Timer2_Timer() {}

void Title::ModeSelect() {}

}  // namespace tsukikage
