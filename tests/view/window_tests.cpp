// The real window over the real engine: pages appear in the painted canvas, clicks reach the
// controls under them, and nothing is painted or sent that should not be.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "view/qt/canvas.h"
#include "view/qt/game_window.h"
#include "view/qt/qt_platform.h"
#include "view/view_tests.h"
#include "view/window_fixture.h"

using namespace tsukikage;

namespace {

const QRect kLabel1(8, 496, 645, 105);
const QRect kAhead(600, 552, 32, 32);
// Label1's area left of the advance marker, which is red itself.
const QRect kTextArea(8, 496, 592, 105);

bool IsRed(QRgb pixel) {
    return qRed(pixel) > 160 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

// The bounding box of the red pixels inside an area; empty when there are none.
QRect RedBox(const QImage& image, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (IsRed(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace

class WindowTests : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        fixture_ = std::make_unique<WindowFixture>(
            "First page line\r\nand its second line\r\n.\r\nSecond page line\r\n.\r\n"
            "Third page line\r\n.\r\n");
        platform_ = fixture_->platform.get();
        engine_ = fixture_->engine.get();
        window_ = fixture_->window.get();
        canvas_ = window_->canvas();
    }

    void cleanup() { fixture_.reset(); }

    void menuBarFollowsTheModel() {
        QStringList bar;
        for (QAction* action : window_->menu_bar()->actions()) bar << action->text();
        QCOMPARE(bar, QStringList({"システム", "バージョン情報"}));
        QMenu* system = window_->action(MenuId::SystemMenu)->menu();
        QVERIFY(system);
        QStringList items;
        for (QAction* action : system->actions()) items << action->text();
        QCOMPARE(items, QStringList({"ニューゲーム", "セーブ", "ロード", "おわり"}));
        QCOMPARE(window_->action(MenuId::SaveMenu)->menu()->actions().size(), 5);
        QCOMPARE(window_->action(MenuId::load5)->text(), QString("ロード５"));

        // Enabled states follow the model after any event passed on.
        QVERIFY(!window_->action(MenuId::SystemMenu)->isEnabled());
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        engine_->form.menu(MenuId::save3).enabled = false;
        MoveMouse(canvas_, QPoint(300, 300));
        QVERIFY(window_->action(MenuId::SystemMenu)->isEnabled());
        QVERIFY(!window_->action(MenuId::save3)->isEnabled());
        QCOMPARE(window_->windowTitle(), QString("月影回廊物語"));
        QCOMPARE(canvas_->size(), QSize(kClientWidth, kClientHeight));
    }

    void newGameThenAdvanceShowsEachPage() {
        QVERIFY(RedBox(Grab(canvas_), kLabel1).isEmpty());

        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        const QImage first = Grab(canvas_);
        const QRect first_text = RedBox(first, kTextArea);
        QVERIFY(!first_text.isEmpty());
        QVERIFY(kLabel1.contains(first_text));
        QVERIFY2(first_text.top() < kLabel1.top() + 6, "text is top-aligned");
        QVERIFY2(first_text.left() < kLabel1.left() + 4, "text is left-aligned");
        QVERIFY2(first_text.height() > 30, "two lines: CR LF breaks the line");
        QVERIFY(!RedBox(first, kAhead).isEmpty());  // the marker is up

        Click(canvas_, kAhead.center());
        const QImage second = Grab(canvas_);
        QVERIFY(second.copy(kTextArea) != first.copy(kTextArea));

        // The same page painted from a model that holds only the second line.
        Form expected_form;
        expected_form[ControlId::Label1].caption = "Second page line\r\n";
        Canvas expected_canvas(expected_form);
        QCOMPARE(second.copy(kTextArea), Grab(&expected_canvas).copy(kTextArea));
        QVERIFY(platform_->message_box.shown.empty());
    }

    void clicksThatAreNoClicksChangeNothing() {
        // Before a game the marker is hidden: a click there reaches no reader.
        Click(canvas_, kAhead.center());
        QVERIFY(!engine_->reader.IsOpen());

        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        const QImage page = Grab(canvas_);

        Click(canvas_, QPoint(3, 300));  // the bare form: no control there
        QTest::mousePress(canvas_, Qt::LeftButton, {}, kAhead.center());
        QTest::mouseRelease(canvas_, Qt::LeftButton, {}, QPoint(300, 520));  // dragged off
        // The right button opens the conveniences' menu; left with no choice, it turns no page.
        // Its lines are the engine's, the slots in submenus, the load list's note disabled.
        bool menu_shown = false;
        QStringList lines;
        QTimer::singleShot(0, canvas_, [&menu_shown, &lines] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            menu_shown = menu != nullptr;
            if (!menu) return;
            for (QAction* action : menu->actions()) {
                QString line = action->isSeparator() ? QStringLiteral("-") : action->text();
                if (action->isEnabled()) line += QStringLiteral("+");
                if (QMenu* sub = action->menu()) {
                    for (QAction* item : sub->actions()) {
                        line += QStringLiteral("|") + (item->isSeparator() ? "-" : item->text());
                        if (item->isEnabled()) line += QStringLiteral("+");
                    }
                }
                lines << line;
            }
            menu->close();
        });
        QTest::mouseClick(canvas_, Qt::RightButton, {}, kAhead.center());
        QVERIFY(menu_shown);
        const QString empty_slot = QStringLiteral("スロット%1　（空き）");
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines.mid(0, 4), QStringList({"履歴+", "スキップ+", "オート+", "全画面表示+"}));
        QCOMPARE(lines[6], "セーブ+|" + empty_slot.arg(1) + "+|" + empty_slot.arg(2) + "+|" +
                               empty_slot.arg(3) + "+|" + empty_slot.arg(4) + "+|" +
                               empty_slot.arg(5) + "+");
        QCOMPARE(lines[7], "ロード|" + empty_slot.arg(1) + "|" + empty_slot.arg(2) + "|" +
                               empty_slot.arg(3) + "|" + empty_slot.arg(4) + "|" +
                               empty_slot.arg(5) + "|-+|ロードすると最後の区切りから始まります");
        QCOMPARE(lines.mid(8), QStringList({"タイトルへ戻る+", "-+", "設定...+"}));
        QCOMPARE(Grab(canvas_), page);

        engine_->form[ControlId::imgAhead].enabled = false;
        Click(canvas_, kAhead.center());
        QCOMPARE(Grab(canvas_).copy(kTextArea), page.copy(kTextArea));
    }

    void doubleClickAdvancesOnce() {
        // The second press of a double click makes a double click, not another click.
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        Click(canvas_, kAhead.center());
        const QImage second = Grab(canvas_);
        window_->action(MenuId::NewGame)->trigger();
        const QPoint at = kAhead.center();
        QTest::mousePress(canvas_, Qt::LeftButton, {}, at);
        QTest::mouseRelease(canvas_, Qt::LeftButton, {}, at);
        QMouseEvent second_press(QEvent::MouseButtonDblClick, at, canvas_->mapToGlobal(at),
                                 Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas_, &second_press);
        QTest::mouseRelease(canvas_, Qt::LeftButton, {}, at);
        QCOMPARE(Grab(canvas_), second);
    }

    void pointerOverTheMarkerIsItsOwn() {
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        MoveMouse(canvas_, kAhead.center());
        QCOMPARE(canvas_->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(canvas_->cursor().hotSpot(), QPoint(1, 1));
        MoveMouse(canvas_, QPoint(300, 300));
        QCOMPARE(canvas_->cursor().shape(), Qt::ArrowCursor);
    }

    void clickingAChoiceCaptionGoesOnAlongItsBranch() {
        std::ofstream(fixture_->root() / "datafile", std::ios::binary | std::ios::trunc)
            << "Which way?\r\n.\r\n.s\r\nLeft\r\nGo left\r\nRight\r\nGo right\r\n\r\n"
               ".Left\r\nThe left branch\r\n.\r\n.Right\r\nThe right branch\r\n.\r\n";
        const QRect caption0(16, 504, 593, 41);
        const QRect caption1(16, 552, 593, 41);
        const QRect marker0(632, 504, 30, 32);
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        Click(canvas_, kAhead.center());

        const QImage choice = Grab(canvas_);
        QVERIFY(!RedBox(choice, caption0).isEmpty());
        QVERIFY(!RedBox(choice, caption1).isEmpty());
        QVERIFY2(RedBox(choice, kAhead).isEmpty(), "the advance marker is down");
        MoveMouse(canvas_, caption1.center());
        QCOMPARE(canvas_->cursor().shape(), Qt::BitmapCursor);

        Click(canvas_, caption1.center());
        const QImage after = Grab(canvas_);
        Form expected_form;
        expected_form[ControlId::Label1].caption = "The right branch\r\n";
        Canvas expected_canvas(expected_form);
        QCOMPARE(after.copy(kTextArea), Grab(&expected_canvas).copy(kTextArea));
        QVERIFY(!RedBox(after, kAhead).isEmpty());  // the advance marker is back
        QVERIFY2(after.copy(marker0) != choice.copy(marker0), "the choice marker went away");
        QVERIFY(platform_->message_box.shown.empty());
        QCOMPARE(platform_->beeper.beeps, 1);
    }

    void idleTicksPaintNothing() {
        int paints = 0;
        struct PaintCounter : QObject {
            int& count;
            explicit PaintCounter(int& c) : count(c) {}
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint) ++count;
                return false;
            }
        } counter(paints);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        QTest::qWait(100);
        canvas_->installEventFilter(&counter);
        QTest::qWait(300);  // several Timer1 ticks
        QCOMPARE(paints, 0);

        engine_->form[ControlId::Label1].caption = "changed";
        engine_->form.Changed();
        MoveMouse(canvas_, QPoint(300, 300));
        QTRY_VERIFY(paints > 0);
    }

    // The view runs the looping-music watch while the model asks for it, and stops it after; it
    // sleeps while the piece is known to play on.
    void musicWatchTicksWhileTheModelRunsIt() {
        auto queries = [this] {
            int n = 0;
            for (const std::string& c : platform_->music_device.commands) {
                n += c == "Status MIDI1 mode" ? 1 : 0;
            }
            return n;
        };
        window_->FormLoad();
        engine_->state.MidiOpen = true;
        engine_->form.timer(TimerId::BgmWatch).enabled = true;
        window_->Sync();
        QTRY_VERIFY(queries() >= 2);
        engine_->form.timer(TimerId::BgmWatch).enabled = false;
        window_->Sync();
        const int stopped_at = queries();
        QTest::qWait(200);
        QCOMPARE(queries(), stopped_at);

        // While the device says the piece plays on, the watch sleeps until its end.
        platform_->music_device.until_stopped = 400;
        engine_->form.timer(TimerId::BgmWatch).enabled = true;
        window_->Sync();
        QTest::qWait(200);
        QCOMPARE(queries(), stopped_at);
        QTRY_VERIFY(queries() > stopped_at);
        platform_->music_device.until_stopped.reset();
    }

    void longLinesWrapInsideTheLabel() {
        Control& label = engine_->form[ControlId::Label1];
        for (const char* text : {"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみ"
                                 "むめもやゆよらりるれろわをん",
                                 "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"}) {
            label.caption = text;
            engine_->form.Changed();
            const QRect box = RedBox(Grab(canvas_), kLabel1);
            QVERIFY2(box.height() > 30, text);                   // more than one row
            QVERIFY2(box.right() > kLabel1.right() - 40, text);  // filled to the width first
        }
    }

    void runawayCaptionPaintsQuickly() {
        // A broken scenario can pile megabytes into the page; painting must not lay it all out.
        std::string& caption = engine_->form[ControlId::Label1].caption;
        caption.assign(5'000'000, 'W');
        for (int i = 0; i < 400'000; ++i) caption += "長い行\r\n";  // 10 MB in all
        engine_->form.Changed();
        QElapsedTimer clock;
        clock.start();
        const QImage image = Grab(canvas_);
        // Laying the whole caption out takes minutes; the bound leaves room for a sanitizer
        // build on a loaded machine, which takes about 300 ms.
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QVERIFY(!RedBox(image, kTextArea).isEmpty());
    }

  private:
    std::unique_ptr<WindowFixture> fixture_;
    fakes::RecordingPlatform* platform_ = nullptr;
    Engine* engine_ = nullptr;
    GameWindow* window_ = nullptr;
    Canvas* canvas_ = nullptr;
};

int RunWindowTests(int argc, char** argv) {
    WindowTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "window_tests.moc"
