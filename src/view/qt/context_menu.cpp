// The right button's menu of the player's conveniences, and the settings behind it. The
// window's menu bar stays the game's own: nothing here goes into it.
#include <QAction>
#include <QMenu>

#include <functional>

#include "view/qt/game_window.h"
#include "view/qt/settings_dialog.h"
#include "view/qt/settings_store.h"

namespace tsukikage {

void GameWindow::ShowContextMenu(const QPoint& global_position) {
    const bool game_screen = engine_.state.GameMode;
    QMenu menu(this);
    // The chosen item runs once the menu has gone, so a box it opens stands alone.
    std::function<void()> chosen;
    const auto add = [&](const QString& text, bool enabled, std::function<void()> command) {
        QAction* action = menu.addAction(text);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, &menu, [&chosen, command] { chosen = command; });
        return action;
    };
    add(QStringLiteral("履歴"), game_screen && engine_.comfort.history().size() > 0,
        [this] { engine_.OpenHistory(); });
    add(QStringLiteral("スキップ"), game_screen, [this] { engine_.StartSkip(); });
    QAction* auto_mode = add(QStringLiteral("オート"), true, [this] { engine_.ToggleAuto(); });
    auto_mode->setCheckable(true);
    auto_mode->setChecked(engine_.comfort.auto_on());
    QAction* full_screen =
        add(QStringLiteral("全画面表示"), true, [this] { SetFullscreen(!fullscreen()); });
    full_screen->setCheckable(true);
    full_screen->setChecked(fullscreen());
    QAction* fit = add(QStringLiteral("画面に合わせる"), true, [this] {
        PlaySettings settings = engine_.comfort.settings();
        settings.fit_screen = !settings.fit_screen;
        engine_.ApplySettings(settings);
        SaveSettings();
    });
    fit->setCheckable(true);
    fit->setChecked(engine_.comfort.settings().fit_screen);
    menu.addSeparator();
    add(QStringLiteral("設定..."), true, [this] { OpenSettings(); });

    menu.exec(global_position);
    if (!chosen) return;
    chosen();
    Sync();
}

// The settings apply while the dialog is open, so the player hears a level as it changes;
// Cancel brings back the ones from before, OK keeps them and writes them down.
void GameWindow::OpenSettings() {
    const PlaySettings before = engine_.comfort.settings();
    SettingsDialog dialog(before, this);
    dialog.on_change = [this](const PlaySettings& settings) {
        engine_.ApplySettings(settings);
        Sync();
    };
    if (dialog.exec() != QDialog::Accepted) {
        engine_.ApplySettings(before);
        Sync();
        return;
    }
    engine_.ApplySettings(dialog.settings());
    Sync();
    SaveSettings();
}

void GameWindow::SaveSettings() {
    if (!SavePlaySettings(engine_.comfort.settings())) {
        const QString text = QStringLiteral(
                                 "設定を保存できませんでした。\n%1\n"
                                 "設定はこのまま使えますが、次に起動したときには元に戻ります。")
                                 .arg(PlaySettingsFile());
        engine_.platform.message_box.Show(text.toStdString(), MessageIcon::Exclamation, "設定");
    }
}

}  // namespace tsukikage
