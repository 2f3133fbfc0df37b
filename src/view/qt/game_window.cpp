#include "view/qt/game_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "view/qt/accessible_canvas.h"
#include "view/qt/canvas.h"
#include "view/qt/scaling.h"

#include <algorithm>
#include <map>

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
    canvas_->on_wheel_down = [this] { Dispatch([&] { engine_.KeyPress(Key::WheelDown); }); };
    canvas_->on_wheel_up = [this] { Dispatch([&] { engine_.KeyPress(Key::WheelUp); }); };
    accessibility_ = new CanvasAccessibility(canvas_, engine_.form, engine_.state);
    accessibility_->on_press = [this](ControlId id) { Dispatch([&] { engine_.Click(id); }); };
    canvas_->on_right_press = [this](QPoint global) {
        bool closed = false;
        Dispatch([&] { closed = engine_.RightClick(); });
        if (!closed) ShowContextMenu(global);
    };
    // The keys that turn pages and pick choices come to the window wherever the focus is.
    setFocusPolicy(Qt::StrongFocus);
    smooth_always_ = qEnvironmentVariable("TSUKIKAGE_SMOOTH") == QStringLiteral("1");
    canvas_->installEventFilter(this);
    BuildMenus();
    AddShortcuts();
    canvas_->SetFactor(std::min(DefaultFactor(devicePixelRatioF()), LargestFactorForScreen()));

    // Ticks keep coming while a message box is open, as on the original platform; a handler
    // that must not run twice at once guards itself in the engine.
    for (int i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        connect(&timers_[static_cast<std::size_t>(i)], &QTimer::timeout, this, [this, id] {
            if (id == TimerId::Comfort && skip_held_ && !pad_skip_held_ &&
                !(QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier)) {
                SetSkipHeld(false);
            }
            Dispatch([&] { engine_.Tick(id); });
        });
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
            if (!parent_menu) {
                connect(menu, &QMenu::aboutToHide, this, [this] {
                    QTimer::singleShot(0, this, [this] { TakeKeysBackFromMenuBar(); });
                });
            }
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

// A menu closed with Escape leaves the menu bar holding the keyboard, its title lit: the next
// Return, the page key, would open the menu and a second one pick its first item (a new game).
// Once no menu is open any more, the keys go back to the game.
void GameWindow::TakeKeysBackFromMenuBar() {
    if (QApplication::activePopupWidget() != nullptr || !menu_bar_->hasFocus()) return;
    menu_bar_->setActiveAction(nullptr);
    setFocus(Qt::OtherFocusReason);
}

void GameWindow::AddShortcuts() {
    const auto add = [this](const QKeySequence& keys, auto&& slot) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    const auto toggle = [this] { SetFullscreen(!fullscreen()); };
    add(QKeySequence(Qt::Key_F11), toggle);
    add(QKeySequence(Qt::ALT | Qt::Key_Return), toggle);
    add(QKeySequence(Qt::ALT | Qt::Key_Enter), toggle);
    for (int factor = 1; factor <= 4; ++factor) {
        add(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + factor)),
            [this, factor] { SetFactor(factor); });
    }
    add(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { SetFactor(0); });
}

int GameWindow::LargestFactorForScreen() const {
    const QScreen* screen = this->screen();
    if (!screen) return kMinScale;
    // The room the desktop leaves, less the window's frame and its menu bar.
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize();
    const QSize room =
        screen->availableGeometry().size() - frame - QSize(0, menu_bar_->sizeHint().height());
    return LargestFittingFactor(room * screen->devicePixelRatio());
}

int GameWindow::SetFactor(int factor) {
    alt_alone_ = false;
    const int largest = LargestFactorForScreen();
    canvas_->SetFactor(factor == 0 ? largest : std::min(factor, largest));
    if (fullscreen()) {
        SetFullscreen(false);
    } else {
        adjustSize();
        KeepOnScreen(false);
    }
    return canvas_->factor();
}

// The window manager is asked for the full screen, and the window takes it itself as well:
// without a window manager that keeps the state, the request alone changes nothing.
void GameWindow::SetFullscreen(bool fullscreen) {
    alt_alone_ = false;
    if (fullscreen == fullscreen_) return;
    fullscreen_ = fullscreen;
    const Qt::WindowStates state = windowState();
    setWindowState(fullscreen ? state | Qt::WindowFullScreen : state & ~Qt::WindowFullScreen);
    LayOut();
    SyncSmoothing();
    if (isVisible()) show();
}

void GameWindow::LayOut() {
    menu_pinned_ = false;
    auto* box = static_cast<QVBoxLayout*>(layout());
    if (fullscreen_) {
        // The menu bar leaves the layout and floats over the top of the screen when shown.
        box->setMenuBar(nullptr);
        box->setSizeConstraint(QLayout::SetNoConstraint);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        menu_bar_->hide();
        canvas_->SetFilling(true);
        // The whole screen even where no window manager makes the window fill it.
        normal_position_ = pos();
        if (const QScreen* screen = this->screen()) setGeometry(screen->geometry());
    } else {
        canvas_->SetFilling(false);
        box->setMenuBar(menu_bar_);
        box->setSizeConstraint(QLayout::SetFixedSize);
        menu_bar_->show();
        adjustSize();
        if (centred_) move(normal_position_);
        KeepOnScreen(!centred_);
    }
}

void GameWindow::ShowFullscreenMenu(bool shown) {
    if (!fullscreen_ || shown == menu_bar_->isVisible()) return;
    if (shown) {
        menu_bar_->setGeometry(0, 0, width(), menu_bar_->sizeHint().height());
        menu_bar_->raise();
    }
    menu_bar_->setVisible(shown);
}

// Centres the window on its screen the first time; afterwards only brings it back so its
// top-left corner is on the screen. A window larger than the screen keeps its top-left
// corner (and with it the menu bar) in view.
void GameWindow::KeepOnScreen(bool centre) {
    QScreen* screen = this->screen();
    if (!screen || fullscreen_ || !isVisible()) return;
    const QRect available = screen->availableGeometry();
    QRect frame = frameGeometry();
    if (centre) {
        centred_ = true;
        frame.moveCenter(available.center());
    }
    frame.moveLeft(
        std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width())));
    frame.moveTop(
        std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height())));
    move(frame.topLeft());
}

void GameWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (fullscreen_ && menu_bar_->isVisible()) {
        menu_bar_->setGeometry(0, 0, width(), menu_bar_->sizeHint().height());
    }
}

void GameWindow::keyPressEvent(QKeyEvent* event) {
    alt_alone_ = event->key() == Qt::Key_Alt && !event->isAutoRepeat();
    if (event->key() == Qt::Key_Control) SetSkipHeld(true);
    // Keys with Control or Alt belong to the window and the menus.
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    static const std::map<int, Key> kKeys = {{Qt::Key_Return, Key::Return},
                                             {Qt::Key_Enter, Key::Return},
                                             {Qt::Key_Space, Key::Space},
                                             {Qt::Key_PageDown, Key::PageDown},
                                             {Qt::Key_Right, Key::Right},
                                             {Qt::Key_Left, Key::Left},
                                             {Qt::Key_Up, Key::Up},
                                             {Qt::Key_Down, Key::Down},
                                             {Qt::Key_1, Key::Digit1},
                                             {Qt::Key_2, Key::Digit2},
                                             {Qt::Key_PageUp, Key::PageUp},
                                             {Qt::Key_Escape, Key::Escape},
                                             {Qt::Key_Backspace, Key::Backspace},
                                             {Qt::Key_A, Key::A}};
    // V turns self-voicing over, kept for the next run as the dialog's settings are.
    if (held == Qt::NoModifier && event->key() == Qt::Key_V) {
        Dispatch([&] { engine_.KeyPress(Key::V); });
        SaveSettings();
        event->accept();
        return;
    }
    const auto key = kKeys.find(event->key());
    if (held == Qt::NoModifier && key != kKeys.end()) {
        Dispatch([&] { engine_.KeyPress(key->second); });
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void GameWindow::SetSkipHeld(bool held) {
    if (held == skip_held_) return;
    skip_held_ = held;
    Dispatch([&] { engine_.SetSkipHeld(held); });
}

void GameWindow::focusOutEvent(QFocusEvent* event) {
    SetSkipHeld(false);
    QWidget::focusOutEvent(event);
}

void GameWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control && !event->isAutoRepeat()) SetSkipHeld(false);
    if (event->key() == Qt::Key_Alt && alt_alone_ && fullscreen_) {
        menu_pinned_ = !menu_bar_->isVisible();
        ShowFullscreenMenu(menu_pinned_);
    }
    alt_alone_ = false;
    QWidget::keyReleaseEvent(event);
}

bool GameWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == canvas_ && fullscreen_) {
        if (event->type() == QEvent::MouseMove) {
            // The pointer at the top edge brings the menu bar; leaving it below takes it away,
            // unless Alt pinned it or one of its menus is open.
            const qreal y = static_cast<QMouseEvent*>(event)->position().y();
            if (y < 2) {
                ShowFullscreenMenu(true);
            } else if (!menu_pinned_ && !QApplication::activePopupWidget() &&
                       y > menu_bar_->sizeHint().height()) {
                ShowFullscreenMenu(false);
            }
        } else if (event->type() == QEvent::MouseButtonPress) {
            menu_pinned_ = false;
            ShowFullscreenMenu(false);
        }
    }
    return QWidget::eventFilter(watched, event);
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
    SyncSmoothing();
    // Only a changed model is painted again: idle ticks cost no drawing.
    if (!requested_any_ || form.revision != requested_revision_) {
        requested_any_ = true;
        requested_revision_ = form.revision;
        canvas_->update();
        canvas_->RefreshPointer();
    }
    accessibility_->Update();
}

// Fitting the screen fills it at any factor, which only smoothing keeps pleasant.
void GameWindow::SyncSmoothing() {
    canvas_->SetSmooth(smooth_always_ || (fullscreen_ && engine_.comfort.settings().fit_screen));
}

void GameWindow::SyncTimers() {
    for (int i = 0; i < kTimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        const Timer& model = engine_.form.timer(id);
        QTimer& timer = timers_[static_cast<std::size_t>(i)];
        // A timer whose tick would change nothing sleeps, so an idle window never wakes.
        if (!model.enabled || model.interval_ms <= 0 || engine_.TimerIdle(id)) {
            timer.stop();
            continue;
        }
        // A long wait must end on time: a coarse timer may come late by a twentieth of it.
        const int wait = engine_.TimerWaitMs(id);
        timer.setTimerType(wait > model.interval_ms ? Qt::PreciseTimer : Qt::CoarseTimer);
        if (!timer.isActive() || timer.interval() != wait) timer.start(wait);
    }
}

void GameWindow::RepaintNow() {
    Sync();
    canvas_->repaint();
}

void GameWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (centred_ || fullscreen_) return;
    adjustSize();
    KeepOnScreen(true);
}

void GameWindow::closeEvent(QCloseEvent* event) {
    // Form_Unload normally ends the program; if it comes back, the window closes.
    Dispatch([&] { engine_.Form_Unload(); });
    for (QTimer& timer : timers_) timer.stop();
    event->accept();
}

}  // namespace tsukikage
