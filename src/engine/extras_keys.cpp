// The gallery, the music room and the scene list by keys: the arrows move the highlight, Return
// or Space presses what it points at, Escape or Backspace is the way back. Each key goes through
// the click (or, on the gallery's thumbnails, the pointer's move and click) it stands for.
#include <algorithm>
#include <vector>

#include "engine/extras_keys.h"

#include "engine/engine.h"
#include "engine/key_steps.h"

namespace tsukikage {
namespace {

constexpr int kCellWidth = 160;
constexpr int kCellHeight = 120;
constexpr int kCellsAcross = 4;

constexpr ControlId kExtrasButtons[] = {
    ControlId::CGBack,    ControlId::CGGo,    ControlId::MusicBack, ControlId::MusicPlay,
    ControlId::MusicStop, ControlId::MusicGo, ControlId::SystemBack};

// The screen's buttons shown and enabled, from left to right.
std::vector<ControlId> ButtonsShown(const Form& form) {
    std::vector<ControlId> shown;
    for (ControlId button : kExtrasButtons) {
        if (form.IsShown(button) && form[button].enabled) shown.push_back(button);
    }
    std::sort(shown.begin(), shown.end(),
              [&form](ControlId a, ControlId b) { return form[a].rect.left < form[b].rect.left; });
    return shown;
}

int ScreenLeft(const Form& form) {
    return form[ControlId::Picture1].rect.left + kPictureBoxBorder;
}
int ScreenTop(const Form& form) {
    return form[ControlId::Picture1].rect.top + kPictureBoxBorder;
}

// The thumbnail the gallery's frame stands on, by its column and row.
struct Cell {
    int column;
    int row;
};

Cell FramedCell(const Form& form) {
    const Rect& frame = form[ControlId::Shape1].rect;
    return {std::clamp((frame.left - ScreenLeft(form)) / kCellWidth, 0, kCellsAcross - 1),
            std::clamp((frame.top - ScreenTop(form)) / kCellHeight, 0, kCellsAcross - 1)};
}

}  // namespace

void PressOnExtras(Engine& engine, Key key) {
    Form& form = engine.form;
    if (form.key_focus && !form.IsShown(*form.key_focus)) form.key_focus.reset();
    const std::vector<ControlId> buttons = ButtonsShown(form);
    const bool on_button = form.key_focus && std::find(buttons.begin(), buttons.end(),
                                                       *form.key_focus) != buttons.end();
    const auto focus = [&form](std::optional<ControlId> control) {
        form.key_focus = control;
        form.Changed();
    };
    if (key == Key::Escape || key == Key::Backspace) {
        engine.Click(ControlId::SystemBack);
        return;
    }
    const bool press = key == Key::Return || key == Key::Space;
    const bool gallery = engine.state.CGMode;
    if (gallery && engine.extras.gallery.viewing()) {
        // The full view: any press goes back to the page, as its way back does.
        if (press) engine.Click(ControlId::SystemBack);
        return;
    }
    if (gallery && (key == Key::PageDown || key == Key::PageUp)) {
        engine.Click(key == Key::PageDown ? ControlId::CGGo : ControlId::CGBack);
        return;
    }
    const bool across = key == Key::Left || key == Key::Right;
    const bool down = key == Key::Down || key == Key::Right;
    if (key != Key::Up && key != Key::Down && !across) {
        if (press && on_button) {
            engine.Click(*form.key_focus);
        } else if (press && gallery) {
            engine.Click(ControlId::Picture1);
        }
        return;
    }
    if (buttons.empty()) return;
    if (!gallery) {
        // One row of buttons: every arrow goes along it.
        focus(Step(buttons, form.key_focus, down ? 1 : -1));
        return;
    }
    if (on_button) {
        // Up leaves the buttons for the thumbnails above them.
        if (across) {
            focus(Step(buttons, form.key_focus, down ? 1 : -1));
        } else if (key == Key::Up) {
            focus(std::nullopt);
        }
        return;
    }
    // The frame goes from thumbnail to thumbnail; down from the last row reaches the buttons.
    Cell cell = FramedCell(form);
    const int step = down ? 1 : -1;
    if (across) {
        cell.column = std::clamp(cell.column + step, 0, kCellsAcross - 1);
    } else if (key == Key::Down && cell.row == kCellsAcross - 1) {
        focus(buttons.front());
        return;
    } else {
        cell.row = std::clamp(cell.row + step, 0, kCellsAcross - 1);
    }
    engine.MouseMove(ControlId::Picture1,
                     ScreenLeft(form) + kCellWidth * cell.column + kCellWidth / 2,
                     ScreenTop(form) + kCellHeight * cell.row + kCellHeight / 2);
}

}  // namespace tsukikage
