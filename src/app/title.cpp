#include "app/title.h"

#include "app/engine.h"

namespace tsukikage {

void Title::Form_Load() {
    WindowState& s = e_.state;
    s.EffectMode = 0;
    s.SceneMarker = 1;
    s.StepCount = 0;
    s.MidiOpen = false;
    // Until the title screen exists the game is started from the menu.
    e_.form.menu(MenuId::SystemMenu).enabled = true;
}

void Title::Timer2_Timer() {}

void Title::ModeSelect() {}

}  // namespace tsukikage
