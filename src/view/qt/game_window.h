#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

#include "engine/engine.h"
#include "engine/pad.h"
#include "view/qt/about_dialog.h"

class QAction;
class QMenuBar;

namespace tsukikage {

class Canvas;
class CanvasAccessibility;

// The main window: the menu bar built from the form's menus above the canvas. Every event
// goes to the engine; afterwards the widgets are brought up to date with the model.
//
// How large the client area shows is the view's own business: a whole factor (Ctrl+1 to
// Ctrl+4, Ctrl+0 for the largest that fits the screen), or fullscreen (F11, Alt+Return) with
// the picture centred and letterboxed, at a whole factor or, as the settings choose, as large
// as the screen allows and smoothed. In fullscreen the menu bar shows while the pointer is
// at the top edge, or after Alt until the next Alt or click.
class GameWindow : public QWidget {
    Q_OBJECT

  public:
    explicit GameWindow(Engine& engine, QWidget* parent = nullptr);

    Canvas* canvas() const { return canvas_; }
    QMenuBar* menu_bar() const { return menu_bar_; }
    // The action of a menu item (for a menu title, the action that opens it).
    QAction* action(MenuId id) const { return actions_[static_cast<std::size_t>(id)]; }
    // The about box while it is open, or nullptr.
    AboutDialog* about_dialog() const { return about_.dialog(); }

    // Device pixels per client pixel in the window; 0 for the largest that fits the screen,
    // and so does a factor the screen's room cannot hold. In fullscreen, the window is shown
    // again at the factor. Returns the factor used.
    int SetFactor(int factor);
    void SetFullscreen(bool fullscreen);
    bool fullscreen() const { return fullscreen_; }

    // The menu of the player's conveniences at a point on the screen, and their settings.
    void ShowContextMenu(const QPoint& global_position);
    void OpenSettings();
    // Writes the settings down; a file that cannot be written is told in a box.
    void SaveSettings();

    void FormLoad();
    // Brings caption, menus, timers, picture and pointer up to date with the model.
    void Sync();
    // Sync, and paint now rather than at the next turn of the event loop: a modal box is
    // about to open over the window.
    void RepaintNow();
    // A game controller's button (game_window_pad.cpp): the key or the window's action it
    // stands for, or, while a menu or a box is open, the key that works it.
    void PadPressed(PadButton button);
    void PadReleased(PadButton button);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void AddShortcuts();
    // Canvas and menu bar laid out one above the other, or the canvas filling the screen.
    void LayOut();
    void ShowFullscreenMenu(bool shown);
    void KeepOnScreen(bool centre);
    int LargestFactorForScreen() const;
    void BuildMenus();
    void TakeKeysBackFromMenuBar();
    template <typename Handler>
    void Dispatch(Handler&& handler);
    void SyncTimers();
    void SyncSmoothing();
    // Skip lasts while Control is held; a release the window never saw (a box had the
    // keyboard) is found by asking the keyboard at each tick.
    void SetSkipHeld(bool held);

    Engine& engine_;
    QMenuBar* menu_bar_ = nullptr;
    Canvas* canvas_ = nullptr;
    CanvasAccessibility* accessibility_ = nullptr;
    std::array<QAction*, kMenuCount> actions_{};
    std::array<std::string, kMenuCount> shown_menu_captions_;
    std::string shown_caption_;
    std::uint64_t requested_revision_ = 0;
    bool requested_any_ = false;
    bool centred_ = false;
    bool fullscreen_ = false;
    QPoint normal_position_;
    // Alt pressed with no other key since: its release shows or hides the menu bar.
    bool alt_alone_ = false;
    bool menu_pinned_ = false;
    bool skip_held_ = false;
    // Skip held by a pad's button, which the keyboard's modifiers know nothing of.
    bool pad_skip_held_ = false;
    // Smooth scaling asked for everywhere (TSUKIKAGE_SMOOTH=1).
    bool smooth_always_ = false;

    std::array<QTimer, kTimerCount> timers_;
    AboutWindow about_;
};

}  // namespace tsukikage
