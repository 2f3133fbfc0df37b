// The right button's menu of the player's conveniences, and the settings behind it. The
// window's menu bar stays the game's own: nothing here goes into it.
#include <QAction>
#include <QMenu>

#include <string>
#include <vector>

#include "view/qt/game_window.h"
#include "view/qt/settings_dialog.h"
#include "view/qt/settings_store.h"

namespace tsukikage {

namespace {

// Fills a menu with the engine's lines; the chosen line's name lands in `chosen`.
void AddItems(QMenu& menu, const std::vector<ConvenienceItem>& items, QMenu& top,
              std::string& chosen) {
    for (const ConvenienceItem& item : items) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        const QString text = QString::fromStdString(item.text);
        if (!item.items.empty()) {
            QMenu* sub = menu.addMenu(text);
            sub->setEnabled(item.enabled);
            AddItems(*sub, item.items, top, chosen);
            continue;
        }
        QAction* action = menu.addAction(text);
        action->setEnabled(item.enabled && !item.name.empty());
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(*item.checked);
        }
        QObject::connect(action, &QAction::triggered, &top,
                         [&chosen, name = item.name] { chosen = name; });
    }
}

}  // namespace

void GameWindow::ShowContextMenu(const QPoint& global_position) {
    ConvenienceViewState view;
    view.full_screen = fullscreen();
    view.offers_fit = true;
    QMenu menu(this);
    // The chosen item runs once the menu has gone, so a box it opens stands alone.
    std::string chosen;
    AddItems(menu, engine_.ConveniencesMenu(view), menu, chosen);
    menu.exec(global_position);
    if (chosen.empty()) return;
    if (chosen == kFullScreenItem) {
        SetFullscreen(!fullscreen());
    } else if (chosen == kFitItem) {
        PlaySettings settings = engine_.comfort.settings();
        settings.fit_screen = !settings.fit_screen;
        engine_.ApplySettings(settings);
        SaveSettings();
    } else if (chosen == kSettingsItem) {
        OpenSettings();
    } else {
        engine_.ChooseConvenience(chosen);
    }
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
