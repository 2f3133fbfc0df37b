#include "view/qt/game_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "view/qt/canvas.h"

namespace tsukikage {
namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t Index(MenuId id) {
    return static_cast<std::size_t>(id);
}

}  // namespace

GameWindow::GameWindow(Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      engine_(engine),
      about_(
          this, [this] { Dispatch([&] { engine_.AboutOK(); }); },
          [this] { Dispatch([&] { engine_.AboutClosed(); }); }) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    menu_bar_ = new QMenuBar(this);
    layout->setMenuBar(menu_bar_);
    canvas_ = new Canvas(engine_.form, this);
    layout->addWidget(canvas_);
    canvas_->on_mouse_down = [this](int x, int y, bool double_click) {
        Dispatch([&] { engine_.MouseDown(x, y, double_click); });
    };
    canvas_->on_mouse_up = [this](int x, int y) { Dispatch([&] { engine_.MouseUp(x, y); }); };
    canvas_->on_mouse_move = [this](int x, int y) { Dispatch([&] { engine_.MouseMoveAt(x, y); }); };
    BuildMenus();

    // Ticks keep coming while a message box is open, as on the original platform; a handler
    // that must not run twice at once guards itself in the engine.
    for (int i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        connect(&timers_[static_cast<std::size_t>(i)], &QTimer::timeout, this,
                [this, id] { Dispatch([&] { engine_.Tick(id); }); });
    }
    setWindowTitle(FromUtf8(shown_caption_ = engine_.form.caption));
    Sync();
}

void GameWindow::BuildMenus() {
    const auto& items = engine_.form.menus();
    std::array<bool, kMenuCount> has_children{};
    for (const MenuItem& item : items) {
        if (item.parent) has_children[Index(*item.parent)] = true;
    }
    std::array<QMenu*, kMenuCount> menus{};
    for (const MenuItem& item : items) {
        const MenuId id = item.id;
        QMenu* parent_menu = item.parent ? menus[Index(*item.parent)] : nullptr;
        const auto command = [this, id] { Dispatch([&] { engine_.MenuCommand(id); }); };
        QAction* action = nullptr;
        if (has_children[Index(id)]) {
            auto* menu = new QMenu(FromUtf8(item.caption), this);
            // Opening a menu is its Click on the original platform.
            connect(menu, &QMenu::aboutToShow, this, command);
            menus[Index(id)] = menu;
            action = menu->menuAction();
        } else {
            action = new QAction(FromUtf8(item.caption), this);
            action->setSeparator(item.caption == "-");
            connect(action, &QAction::triggered, this, command);
        }
        // A menu title's action stands in its parent menu like any item.
        if (parent_menu) {
            parent_menu->addAction(action);
        } else {
            menu_bar_->addAction(action);
        }
        actions_[Index(id)] = action;
        shown_menu_captions_[Index(id)] = item.caption;
    }
}

template <typename Handler>
void GameWindow::Dispatch(Handler&& handler) {
    handler();
    Sync();
}

void GameWindow::FormLoad() {
    Dispatch([&] { engine_.Form_Load(); });
}

void GameWindow::Sync() {
    const Form& form = engine_.form;
    if (form.caption != shown_caption_) {
        shown_caption_ = form.caption;
        setWindowTitle(FromUtf8(shown_caption_));
    }
    for (const MenuItem& item : form.menus()) {
        QAction* action = actions_[Index(item.id)];
        if (!action) continue;
        action->setEnabled(item.enabled);
        std::string& shown = shown_menu_captions_[Index(item.id)];
        if (shown != item.caption) {
            shown = item.caption;
            action->setText(FromUtf8(shown));
        }
    }
    SyncTimers();
    about_.Sync(engine_.about_form);
    // Only a changed model is painted again: idle ticks cost no drawing.
    if (!requested_any_ || form.revision != requested_revision_) {
        requested_any_ = true;
        requested_revision_ = form.revision;
        canvas_->update();
        canvas_->RefreshPointer();
    }
}

void GameWindow::SyncTimers() {
    for (int i = 0; i < kTimerCount; ++i) {
        const Timer& model = engine_.form.timer(static_cast<TimerId>(i));
        QTimer& timer = timers_[static_cast<std::size_t>(i)];
        if (!model.enabled || model.interval_ms <= 0) {
            timer.stop();
        } else if (!timer.isActive() || timer.interval() != model.interval_ms) {
            timer.start(model.interval_ms);
        }
    }
}

void GameWindow::RepaintNow() {
    Sync();
    canvas_->repaint();
}

void GameWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (QScreen* screen = this->screen()) {
        adjustSize();
        const QRect available = screen->availableGeometry();
        move(available.center() -
             QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void GameWindow::closeEvent(QCloseEvent* event) {
    // Form_Unload normally ends the program; if it comes back, the window closes.
    Dispatch([&] { engine_.Form_Unload(); });
    for (QTimer& timer : timers_) timer.stop();
    event->accept();
}

}  // namespace tsukikage
