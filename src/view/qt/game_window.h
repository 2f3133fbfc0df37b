#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

#include "engine/engine.h"
#include "view/qt/about_dialog.h"

class QAction;
class QMenuBar;

namespace tsukikage {

class Canvas;

// The main window: the menu bar built from the form's menus above the canvas. Every event
// goes to the engine; afterwards the widgets are brought up to date with the model.
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

    void FormLoad();
    // Brings caption, menus, timers, picture and pointer up to date with the model.
    void Sync();
    // Sync, and paint now rather than at the next turn of the event loop: a modal box is
    // about to open over the window.
    void RepaintNow();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    template <typename Handler>
    void Dispatch(Handler&& handler);
    void SyncTimers();

    Engine& engine_;
    QMenuBar* menu_bar_ = nullptr;
    Canvas* canvas_ = nullptr;
    std::array<QAction*, kMenuCount> actions_{};
    std::array<std::string, kMenuCount> shown_menu_captions_;
    std::string shown_caption_;
    std::uint64_t requested_revision_ = 0;
    bool requested_any_ = false;
    bool centred_ = false;

    std::array<QTimer, kTimerCount> timers_;
    AboutWindow about_;
};

}  // namespace tsukikage
