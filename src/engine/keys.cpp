#include <algorithm>
#include <vector>

#include "engine/engine.h"
#include "engine/key_steps.h"
#include "window/title_images.h"

namespace tsukikage {
namespace {

// The title screen's images shown, in the order the keyboard goes through them.
std::vector<ControlId> TitleImagesShown(const Form& form) {
    std::vector<ControlId> shown;
    for (const TitleImage& title_image : kTitleImages) {
        const ControlId image = title_image.image;
        if (form.IsShown(image) && form[image].enabled) shown.push_back(image);
    }
    return shown;
}

}  // namespace

// Return, Space, Page Down, the Right arrow and the wheel turned down are the advance marker;
// with choices shown, 1 and 2 pick a caption, Up and Down move the focus between them, and
// Return picks the focused one; on the title screen the arrows go through the images and
// Return or Space clicks one. Every key goes through the click it stands for, so a hidden
// marker and a restore in progress stop it alike; a page key in a transition finishes it.
void Engine::KeyPress(Key key) {
    if (ExtrasKeyPress(key)) return;
    const bool choosing = form.ChoicesShown();
    if (ComfortKeyPress(key, choosing)) return;
    if (form.key_focus && !form.IsShown(*form.key_focus)) form.key_focus.reset();
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
                form.key_focus = LblSel(key == Key::Up ? 0 : 1);
                form.Changed();
                return;
            case Key::Return:
                if (form.key_focus) Click(*form.key_focus);
                return;
            default:
                return;
        }
    }
    if (const std::vector<ControlId> images = TitleImagesShown(form); !images.empty()) {
        switch (key) {
            case Key::Up:
            case Key::Left:
            case Key::Down:
            case Key::Right: {
                const bool back = key == Key::Up || key == Key::Left;
                form.key_focus = Step(images, form.key_focus, back ? -1 : 1);
                form.Changed();
                return;
            }
            case Key::Return:
            case Key::Space:
                if (form.key_focus) {
                    const ControlId image = *form.key_focus;
                    if (ConfirmKeyedTitleImage(image)) Click(image);
                }
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
            // A transition holds the marker back: the key brings it to its last frame at once,
            // as skip does, instead of being lost. A click in it still does nothing.
            if (state.EffectMode != 0) {
                graphics.FinishRunningEffect();
                return;
            }
            Click(ControlId::imgAhead);
            return;
        default:
            return;
    }
}

}  // namespace tsukikage
