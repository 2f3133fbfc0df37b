// The right button's menu and the settings dialog in the real window: the menu's items follow
// the screen and reach the engine; the dialog applies while open, Cancel goes back, OK keeps
// the settings for the next run; a damaged settings file never hurts.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "view/qt/settings_dialog.h"
#include "view/qt/settings_store.h"
#include "view/view_tests.h"
#include "view/window_fixture.h"

using namespace tsukikage;

namespace {

struct ShownItem {
    QString text;
    bool enabled;
    bool checked;
};

constexpr auto kScenario = "intro\r\n.\r\none\r\n.\r\ntwo\r\n.\r\n";
constexpr char kGarbage[] = "\x00\xff\xfe[[[=\n==\n\x81\x40=\x01\n";

}  // namespace

Q_DECLARE_METATYPE(tsukikage::PlaySettings)

namespace QTest {
template <>
char* toString(const PlaySettings& settings) {
    return qstrdup(QStringLiteral("music %1%2, effects %3%4, skip unread %5, auto %6 ms, fit %7")
                       .arg(settings.music_volume)
                       .arg(settings.music_muted ? " muted" : "")
                       .arg(settings.effects_volume)
                       .arg(settings.effects_muted ? " muted" : "")
                       .arg(settings.skip_unread)
                       .arg(settings.auto_ms_per_character)
                       .arg(settings.fit_screen)
                       .toUtf8()
                       .constData());
}
}  // namespace QTest

class SettingsViewTests : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        config_ = std::make_unique<QTemporaryDir>();
        UseConfigFolder(config_->path());
        fixture_ = std::make_unique<WindowFixture>(kScenario);
        engine_ = fixture_->engine.get();
        window_ = fixture_->window.get();
    }
    void cleanup() {
        fixture_.reset();
        config_.reset();
    }

    void contextMenuFollowsTheScreen_data() {
        QTest::addColumn<bool>("game_screen");
        QTest::newRow("title") << false;
        QTest::newRow("game screen") << true;
    }
    void contextMenuFollowsTheScreen() {
        QFETCH(bool, game_screen);
        if (game_screen) StartGame();
        const int menu_bar_items = window_->menu_bar()->actions().size();
        const std::vector<ShownItem> items = ContextMenuItems();
        const std::vector<QString> texts = {
            QStringLiteral("履歴"),           QStringLiteral("スキップ"),
            QStringLiteral("オート"),         QStringLiteral("全画面表示"),
            QStringLiteral("画面に合わせる"), QString(),
            QStringLiteral("セーブ"),         QStringLiteral("ロード"),
            QStringLiteral("タイトルへ戻る"), QString(),
            QStringLiteral("設定...")};
        QCOMPARE(items.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) QCOMPARE(items[i].text, texts[i]);
        QCOMPARE(items[0].enabled, game_screen);  // the history holds the first page
        QCOMPARE(items[1].enabled, game_screen);
        QVERIFY(items[2].enabled && !items[2].checked);
        QVERIFY(items[3].enabled && !items[3].checked);
        QVERIFY(items[4].enabled && !items[4].checked);
        QCOMPARE(items[8].enabled, game_screen);  // back to the title
        QVERIFY(!items[7].enabled);               // no slot saved yet
        QVERIFY(items[10].enabled);
        // The game's menu bar stays as it was.
        QCOMPARE(window_->menu_bar()->actions().size(), menu_bar_items);
    }

    void contextMenuItemsReachTheEngine() {
        StartGame();
        ChooseFromContextMenu(QStringLiteral("オート"));
        QVERIFY(engine_->comfort.auto_on());
        QVERIFY(ContextMenuItems()[2].checked);
        ChooseFromContextMenu(QStringLiteral("オート"));
        QVERIFY(!engine_->comfort.auto_on());

        ChooseFromContextMenu(QStringLiteral("スキップ"));
        QVERIFY(engine_->comfort.skipping());
        ChooseFromContextMenu(QStringLiteral("履歴"));
        QVERIFY(engine_->comfort.history_open());

        ChooseFromContextMenu(QStringLiteral("全画面表示"));
        QVERIFY(window_->fullscreen());
        QVERIFY(ContextMenuItems()[3].checked);
        ChooseFromContextMenu(QStringLiteral("全画面表示"));
        QVERIFY(!window_->fullscreen());

        // Fitting the screen is a setting: kept at once, as the dialog's OK keeps it.
        ChooseFromContextMenu(QStringLiteral("画面に合わせる"));
        QVERIFY(engine_->comfort.settings().fit_screen);
        QVERIFY(ContextMenuItems()[4].checked);
        QVERIFY(LoadPlaySettings().fit_screen);
        ChooseFromContextMenu(QStringLiteral("画面に合わせる"));
        QVERIFY(!LoadPlaySettings().fit_screen);

        bool opened = false;
        WhenSettingsOpen([&](SettingsDialog*) { opened = true; });
        ChooseFromContextMenu(QStringLiteral("設定..."));
        QVERIFY(opened);
    }

    // Both ends of every range, driven through the widgets, applied at once, kept by OK and
    // read back as a new run would.
    void okAppliesAndKeepsAcrossARestart_data() {
        QTest::addColumn<int>("speed");  // the auto slider's place
        QTest::addColumn<PlaySettings>("expected");
        QTest::newRow("lowest ends, slowest")
            << kMinAutoMsPerCharacter << PlaySettings{0, true, 0, true, true, 200, false, true};
        QTest::newRow("highest ends, fastest")
            << kMaxAutoMsPerCharacter << PlaySettings{100, false, 100, false, false, 10, true};
    }
    void okAppliesAndKeepsAcrossARestart() {
        QFETCH(int, speed);
        QFETCH(PlaySettings, expected);
        const bool muted = expected.music_muted;
        engine_->ApplySettings({50, !muted, 50, !muted, !muted, 100, muted});
        PlaySettings live;
        WhenSettingsOpen([&](SettingsDialog* dialog) {
            dialog->music_volume()->setValue(expected.music_volume);
            live = engine_->comfort.settings();  // heard while the slider moves
            dialog->music_muted()->setChecked(muted);
            dialog->effects_volume()->setValue(expected.effects_volume);
            dialog->effects_muted()->setChecked(muted);
            dialog->skip_unread()->setChecked(muted);
            dialog->auto_speed()->setValue(speed);
            dialog->fit_screen()->setChecked(expected.fit_screen);
            dialog->self_voicing()->setChecked(expected.self_voicing);
            dialog->buttons()->button(QDialogButtonBox::Ok)->click();
        });
        window_->OpenSettings();

        QCOMPARE(live.music_volume, expected.music_volume);
        QCOMPARE(engine_->comfort.settings(), expected);
        QCOMPARE(PlaySettingsFile(), config_->filePath(QStringLiteral("tsukikage/tsukikage.ini")));
        QVERIFY(QFile::exists(PlaySettingsFile()));
        QCOMPARE(LoadPlaySettings(), expected);
        QVERIFY(fixture_->platform->message_box.shown.empty());
    }

    void cancelRestoresTheEarlierSettings() {
        const PlaySettings before{40, false, 70, true, false, 120};
        engine_->ApplySettings(before);
        PlaySettings shown;
        PlaySettings live;
        WhenSettingsOpen([&](SettingsDialog* dialog) {
            shown = dialog->settings();
            dialog->music_volume()->setValue(0);
            dialog->effects_muted()->setChecked(false);
            dialog->auto_speed()->setValue(kMaxAutoMsPerCharacter);
            live = engine_->comfort.settings();
            dialog->buttons()->button(QDialogButtonBox::Cancel)->click();
        });
        window_->OpenSettings();

        QCOMPARE(shown, before);
        QCOMPARE(live, (PlaySettings{0, false, 70, false, false, kMinAutoMsPerCharacter}));
        QCOMPARE(engine_->comfort.settings(), before);
        QVERIFY(!QFile::exists(PlaySettingsFile()));
    }

    void settingsFileIsReadWithoutTrust_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<PlaySettings>("expected");
        const QByteArray sound = "[sound]\n";
        const QByteArray play = "[play]\n";
        const QByteArray view = "[view]\n";
        const PlaySettings defaults;
        QTest::newRow("missing") << QByteArray() << defaults;
        QTest::newRow("empty") << QByteArray("") << defaults;
        QTest::newRow("lowest ends")
            << sound + "music_volume=0\nmusic_muted=true\neffects_volume=0\neffects_muted=1\n" +
                   play + "skip_unread=true\nauto_ms_per_character=10\n" + view +
                   "fit_screen=false\n"
            << PlaySettings{0, true, 0, true, true, 10, false};
        QTest::newRow("highest ends")
            << sound + "music_volume=100\nmusic_muted=false\neffects_volume=100\n" + play +
                   "skip_unread=0\nauto_ms_per_character=200\n" + view + "fit_screen=true\n" +
                   "[speech]\nself_voicing=true\n"
            << PlaySettings{100, false, 100, false, false, 200, true, true};
        QTest::newRow("just beyond the ends")
            << sound + "music_volume=101\neffects_volume=-1\n" + play + "auto_ms_per_character=9\n"
            << PlaySettings{100, false, 0, false, false, 10};
        QTest::newRow("far beyond the ends")
            << sound + "music_volume=-99999999999\neffects_volume=99999999999\n" + play +
                   "auto_ms_per_character=2147483648\n"
            << PlaySettings{0, false, 100, false, false, 200};
        QTest::newRow("no numbers")
            << sound +
                   "music_volume=loud\nmusic_muted=maybe\neffects_volume=\neffects_muted=yes\n" +
                   play + "skip_unread=2\nauto_ms_per_character=50.5\n" + view +
                   "fit_screen=fill\n" + "[speech]\nself_voicing=on\n"
            << defaults;
        QTest::newRow("number too long for any integer")
            << sound + "music_volume=123456789012345678901234567890\n"
            << defaults;
        QTest::newRow("binary garbage") << QByteArray(kGarbage, sizeof kGarbage - 1) << defaults;
        QTest::newRow("damaged lines around good ones")
            << "garbage without equals\n[sound\n" + sound + "music_volume= 30 \n%%%\n" + play +
                   "auto_ms_per_character=150\n"
            << PlaySettings{30, false, 100, false, false, 150};
    }
    void settingsFileIsReadWithoutTrust() {
        QFETCH(QByteArray, file);
        QFETCH(PlaySettings, expected);
        if (!file.isNull()) WriteSettingsFile(file);
        QCOMPARE(LoadPlaySettings(), expected);

        // Saving over whatever was there gives a file that reads back as saved.
        const PlaySettings saved{7, true, 93, false, true, 33, true};
        QVERIFY(SavePlaySettings(saved));
        QCOMPARE(LoadPlaySettings(), saved);
    }

    // V turns self-voicing over and writes it down at once; with Control it is no game key.
    void vTurnsSelfVoicingOverAndKeepsIt() {
        QTest::keyClick(window_, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!engine_->comfort.settings().self_voicing);
        QVERIFY(!QFile::exists(PlaySettingsFile()));
        QTest::keyClick(window_, Qt::Key_V);
        QVERIFY(engine_->comfort.settings().self_voicing);
        QVERIFY(LoadPlaySettings().self_voicing);
        QTest::keyClick(window_, Qt::Key_V);
        QVERIFY(!LoadPlaySettings().self_voicing);
    }

    void aFailedSaveTellsThePlayerAndKeepsTheSettings() {
        // The configuration folder's place is taken by a file: nothing can be written there.
        QFile blocker(config_->filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        UseConfigFolder(blocker.fileName());
        WhenSettingsOpen([](SettingsDialog* dialog) {
            dialog->music_volume()->setValue(55);
            dialog->buttons()->button(QDialogButtonBox::Ok)->click();
        });
        window_->OpenSettings();

        QCOMPARE(engine_->comfort.settings().music_volume, 55);
        const auto& shown = fixture_->platform->message_box.shown;
        QCOMPARE(shown.size(), std::size_t{1});
        QVERIFY(QString::fromStdString(shown[0].text).startsWith("設定を保存できませんでした。"));
        QCOMPARE(shown[0].icon, MessageIcon::Exclamation);
    }

  private:
    static void UseConfigFolder(const QString& folder) {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    }

    void WriteSettingsFile(const QByteArray& bytes) {
        QVERIFY(QDir(config_->path()).mkpath(QStringLiteral("tsukikage")));
        QFile file(config_->filePath(QStringLiteral("tsukikage/tsukikage.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void StartGame() {
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        QVERIFY(engine_->state.GameMode);
    }

    // Runs `drive` on the settings dialog once it is open, from inside its modal loop; the
    // dialog is closed afterwards whatever `drive` did.
    void WhenSettingsOpen(std::function<void(SettingsDialog*)> drive, int tries = 500) {
        GameWindow* window = window_;
        QTimer::singleShot(10, window, [this, window, drive, tries] {
            auto* dialog = window->findChild<SettingsDialog*>();
            if (!dialog || !dialog->isVisible()) {
                if (tries > 0) WhenSettingsOpen(drive, tries - 1);
                return;
            }
            drive(dialog);
            if (dialog->isVisible()) dialog->reject();
        });
    }

    // Opens the context menu, and runs `inside` on it while it is shown; the menu closes
    // afterwards, unless `inside` chose an item.
    void WithContextMenu(const std::function<void(QMenu*)>& inside) {
        QTimer::singleShot(0, window_, [inside] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            inside(menu);
            menu->close();
        });
        window_->ShowContextMenu(window_->mapToGlobal(QPoint(100, 100)));
    }

    std::vector<ShownItem> ContextMenuItems() {
        std::vector<ShownItem> items;
        WithContextMenu([&items](QMenu* menu) {
            for (QAction* action : menu->actions()) {
                items.push_back({action->text(), action->isEnabled(), action->isChecked()});
            }
        });
        return items;
    }

    void ChooseFromContextMenu(const QString& text) {
        WithContextMenu([&text](QMenu* menu) {
            for (QAction* action : menu->actions()) {
                if (action->text() == text) action->trigger();
            }
        });
    }

    std::unique_ptr<QTemporaryDir> config_;
    std::unique_ptr<WindowFixture> fixture_;
    Engine* engine_ = nullptr;
    GameWindow* window_ = nullptr;
};

int RunSettingsViewTests(int argc, char** argv) {
    SettingsViewTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "settings_view_tests.moc"
