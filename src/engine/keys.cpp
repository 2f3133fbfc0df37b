#include "engine/engine.h"

namespace tsukikage {

// Return, Space, Page Down, the Right arrow and the wheel turned down are the advance marker;
// with choices shown, 1 and 2 pick a caption, Up and Down move the highlight between them,
// and Return picks the highlighted one. Every key goes through the click it stands for, so
// a marker hidden or held back by a transition, and a restore in progress, stop it alike.
void Engine::KeyPress(Key key) {
    const bool choosing = form.ChoicesShown();
    if (ComfortKeyPress(key, choosing)) return;
    if (choosing) {
        switch (key) {
            case Key::Digit1:
                Click(LblSel(0));
                return;
            case Key::Digit2:
                Click(LblSel(1));
                return;
            case Key::Up:
            case Key::Down:
                form.choice_highlight = key == Key::Up ? 0 : 1;
                form.Changed();
                return;
            case Key::Return:
                if (form.choice_highlight >= 0) Click(LblSel(form.choice_highlight));
                return;
            default:
                return;
        }
    }
    switch (key) {
        case Key::Return:
        case Key::Space:
        case Key::PageDown:
        case Key::Right:
        case Key::WheelDown:
            Click(ControlId::imgAhead);
            return;
        default:
            return;
    }
}

}  // namespace tsukikage
