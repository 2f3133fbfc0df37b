// The real window passes keys and wheel notches on as the clicks they stand for, and draws
// the highlight of the caption the keyboard points at.
#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QtTest>

#include "view/qt/canvas.h"
#include "view/view_tests.h"
#include "view/window_fixture.h"

using namespace tsukikage;

class KeysViewTests : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        fixture_ = std::make_unique<WindowFixture>(
            "intro\r\n.\r\none\r\n.\r\ntwo\r\n.\r\n.s\r\nA\r\nleft\r\nB\r\nright\r\n-\r\n"
            ".A\r\nwent left\r\n.\r\n.B\r\nwent right\r\n.\r\n");
        engine_ = fixture_->engine.get();
        window_ = fixture_->window.get();
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
    }
    void cleanup() { fixture_.reset(); }

    void keysAndTheWheelTurnPagesAndPick() {
        const auto page = [this] { return engine_->form[ControlId::Label1].caption; };
        QTest::keyClick(window_, Qt::Key_Space);
        QCOMPARE(page(), std::string("one\r\n"));
        QTest::keyClick(window_, Qt::Key_Return, Qt::ControlModifier);  // not a page turn
        QCOMPARE(page(), std::string("one\r\n"));
        Wheel(-60);  // half a notch: nothing yet
        QCOMPARE(page(), std::string("one\r\n"));
        Wheel(-60);
        QCOMPARE(page(), std::string("two\r\n"));
        Wheel(-120);  // the choice
        QVERIFY(engine_->form[ControlId::lblSel1].visible);

        const QImage before = Grab(window_->canvas());
        QTest::keyClick(window_, Qt::Key_Down);
        QVERIFY(engine_->form.key_focus == LblSel(1));
        // Clearly drawn: a solid frame two pixels wide changes nearly two rings of pixels round
        // the caption, where a dotted line of one pixel changes half of one at most.
        const QImage after = Grab(window_->canvas());
        const Rect caption = engine_->form[LblSel(1)].rect;
        int changed = 0;
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x)
                changed += after.pixel(x, y) != before.pixel(x, y);
        }
        QVERIFY2(changed >= 3 * (caption.width + caption.height),
                 qPrintable(QString::number(changed) + " pixels changed"));
        QTest::keyClick(window_, Qt::Key_Return);
        QCOMPARE(page(), std::string("went right\r\n"));
    }

    // Wheel up opens the history over the page; the wheel scrolls it and closes it past the
    // newest page; Escape and the right button close it too. Control held skips read pages.
    void historyAndSkipInTheWindow() {
        const auto page = [this] { return engine_->form[ControlId::Label1].caption; };
        QTest::keyClick(window_, Qt::Key_Space);
        const QImage page_shown = Grab(window_->canvas());
        Wheel(120);
        QVERIFY(engine_->form.overlay.history.open);
        QCOMPARE(engine_->form.overlay.history.position, std::size_t{2});
        const QImage history_shown = Grab(window_->canvas());
        QVERIFY2(history_shown != page_shown, "the history is not drawn");
        // The page's text does not show through the history: other words under it leave the
        // picture as it was.
        Control& label = engine_->form[ControlId::Label1];
        const std::string caption = label.caption;
        label.caption = "other words\r\n";
        engine_->form.Changed();
        QCOMPARE(Grab(window_->canvas()), history_shown);
        label.caption = caption;
        engine_->form.Changed();
        Wheel(120);
        QCOMPARE(engine_->form.overlay.history.position, std::size_t{1});
        QTest::keyClick(window_, Qt::Key_Space);  // no page turns under the history
        Wheel(-120);
        Wheel(-120);
        QVERIFY(!engine_->form.overlay.history.open);
        QCOMPARE(page(), std::string("one\r\n"));
        QCOMPARE(Grab(window_->canvas()), page_shown);
        QTest::keyClick(window_, Qt::Key_PageUp);
        QTest::keyClick(window_, Qt::Key_Escape);
        QVERIFY(!engine_->form.overlay.history.open);
        QTest::keyClick(window_, Qt::Key_Up);
        QVERIFY(engine_->form.overlay.history.open);
        const QPoint centre = window_->canvas()->rect().center();
        QTest::mousePress(window_->canvas(), Qt::RightButton, Qt::NoModifier, centre);
        QVERIFY(!engine_->form.overlay.history.open);

        // The pages read so far are skipped with Control held, up to the unread one.
        window_->action(MenuId::NewGame)->trigger();
        QTest::keyPress(window_, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(engine_->comfort.skipping());
        QVERIFY(engine_->form.timer(TimerId::Comfort).enabled);
        for (int tick = 0; tick < 5; ++tick) engine_->Tick(TimerId::Comfort);
        QCOMPARE(page(), std::string("two\r\n"));
        QTest::keyRelease(window_, Qt::Key_Control);
        QVERIFY(!engine_->comfort.skipping());
    }

  private:
    void Wheel(int delta) {
        Canvas* canvas = window_->canvas();
        const QPointF at(300, 300);
        QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
    }

    std::unique_ptr<WindowFixture> fixture_;
    Engine* engine_ = nullptr;
    GameWindow* window_ = nullptr;
};

int RunKeysViewTests(int argc, char** argv) {
    KeysViewTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "keys_view_tests.moc"
