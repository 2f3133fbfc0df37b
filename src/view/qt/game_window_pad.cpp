// A game controller in the window: each button does what its key does (engine/pad.h), and
// works the right button's menu and the boxes while one of them is open.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "view/qt/canvas.h"
#include "view/qt/game_window.h"

namespace tsukikage {
namespace {

// The key a menu or a box takes for a button: the arrows move, A chooses, B and Start leave.
// Boxes go from button to button with Tab, where a menu takes the arrows.
std::optional<int> QtKeyInPopup(PadButton button, bool menu) {
    switch (button) {
        case PadButton::A:
            return Qt::Key_Return;
        case PadButton::B:
        case PadButton::Start:
            return Qt::Key_Escape;
        case PadButton::Up:
            return menu ? Qt::Key_Up : Qt::Key_Backtab;
        case PadButton::Left:
            return menu ? Qt::Key_Left : Qt::Key_Backtab;
        case PadButton::Down:
            return menu ? Qt::Key_Down : Qt::Key_Tab;
        case PadButton::Right:
            return menu ? Qt::Key_Right : Qt::Key_Tab;
        default:
            return std::nullopt;
    }
}

void SendKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

}  // namespace

void GameWindow::PadPressed(PadButton button) {
    QWidget* menu = QApplication::activePopupWidget();
    QWidget* box = QApplication::activeModalWidget();
    if (menu || (box && box != this)) {
        QWidget* target = menu ? menu : box;
        if (QWidget* focus = target->focusWidget(); focus && !menu) target = focus;
        if (const std::optional<int> key = QtKeyInPopup(button, menu != nullptr)) {
            SendKey(target, *key);
        }
        return;
    }
    const PadAction action = PadActionOf(button);
    if (action.key) {
        engine_.KeyPress(*action.key);
        Sync();
        return;
    }
    switch (*action.view) {
        case PadViewAction::SkipHeld:
            pad_skip_held_ = true;
            SetSkipHeld(true);
            return;
        case PadViewAction::Fullscreen:
            SetFullscreen(!fullscreen());
            return;
        case PadViewAction::ConveniencesMenu:
            ShowContextMenu(canvas_->mapToGlobal(canvas_->rect().center()));
            return;
    }
}

void GameWindow::PadReleased(PadButton button) {
    const PadAction action = PadActionOf(button);
    if (action.view == PadViewAction::SkipHeld && pad_skip_held_) {
        pad_skip_held_ = false;
        SetSkipHeld(false);
    }
}

}  // namespace tsukikage
