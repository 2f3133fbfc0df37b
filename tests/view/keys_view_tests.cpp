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
        QVERIFY2(Grab(window_->canvas()) != before, "the highlight is not drawn");
        QTest::keyClick(window_, Qt::Key_Return);
        QCOMPARE(page(), std::string("went right\r\n"));
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
