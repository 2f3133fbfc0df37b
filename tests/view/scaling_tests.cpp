// The client area shown larger: canvas points map back to exactly one client pixel at every
// factor, the letterbox reaches nothing, the picture is the 1x picture with each pixel
// repeated, and the window's keys change the factor and the fullscreen state.

#include <QGuiApplication>
#include <QImage>
#include <QMenuBar>
#include <QScreen>
#include <QtTest>

#include <memory>
#include <optional>
#include <vector>

#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "view/qt/canvas.h"
#include "view/qt/game_window.h"
#include "view/qt/scaling.h"
#include "view/view_tests.h"
#include "view/window_fixture.h"

using namespace tsukikage;

namespace {

constexpr auto kNoTestScreens = "the test screens are set up only on the offscreen platform";
const QRect kAhead(600, 552, 32, 32);
const QRect kTextArea(8, 496, 592, 105);

// The test screens (screens.json): the first 800 x 600, the second 2100 x 1900.
QScreen* TestScreen(const char* name) {
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == QLatin1String(name)) return screen;
    }
    return nullptr;
}

QImage Doubled(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

class ScalingTests : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        fixture_ =
            std::make_unique<WindowFixture>("First page line\r\n.\r\nSecond page line\r\n.\r\n");
        engine_ = fixture_->engine.get();
        canvas_ = fixture_->window->canvas();
        window_ = fixture_->window.get();
        // Room for every factor up to 3.
        if (!PutOn("large")) QSKIP(kNoTestScreens);
    }

    void cleanup() { fixture_.reset(); }

    // Both ends of every range: the first and last client pixel, and the first point past
    // them, at whole factors, on a high-density display, and centred on a full screen.
    void canvasPointsMapToClientPixels() {
        const Placement one = Placement::Window(1, 1);
        const Placement two = Placement::Window(2, 1);
        const Placement three = Placement::Window(3, 1);
        const Placement dense = Placement::Window(2, 2);  // 2 device pixels a logical one
        const Placement full_hd = Placement::Centred(QSizeF(1920, 1080), 1, false);
        const Placement full_qhd = Placement::Centred(QSizeF(2560, 1440), 1, false);
        const Placement small = Placement::Centred(QSizeF(331, 601), 1, false);
        const struct {
            const char* name;
            const Placement& placement;
            QPointF at;
            std::optional<QPoint> client;
        } cases[] = {
            {"1x first", one, {0, 0}, QPoint(0, 0)},
            {"1x last", one, {661, 600}, QPoint(661, 600)},
            {"1x past", one, {662, 300}, std::nullopt},
            {"1x before", one, {-1, 300}, std::nullopt},
            {"2x first", two, {0, 0}, QPoint(0, 0)},
            {"2x first's other half", two, {1, 1}, QPoint(0, 0)},
            {"2x second", two, {2, 3}, QPoint(1, 1)},
            {"2x fraction", two, {599.9, 0.5}, QPoint(299, 0)},
            {"2x last", two, {1323, 1201}, QPoint(661, 600)},
            {"2x past right", two, {1324, 0}, std::nullopt},
            {"2x past bottom", two, {0, 1202}, std::nullopt},
            {"3x first", three, {2, 2}, QPoint(0, 0)},
            {"3x second", three, {3, 5}, QPoint(1, 1)},
            {"3x last", three, {1985, 1802}, QPoint(661, 600)},
            {"3x past", three, {1986, 1802}, std::nullopt},
            {"dense last", dense, {661.5, 600.5}, QPoint(661, 600)},
            {"dense past", dense, {662, 0}, std::nullopt},
            // 1920 x 1080 takes 1x: 629 columns and 239 rows of letterbox before it.
            {"full HD corner", full_hd, {0, 0}, std::nullopt},
            {"full HD before", full_hd, {628, 239}, std::nullopt},
            {"full HD above", full_hd, {629, 238}, std::nullopt},
            {"full HD first", full_hd, {629, 239}, QPoint(0, 0)},
            {"full HD last", full_hd, {1290, 839}, QPoint(661, 600)},
            {"full HD past", full_hd, {1291, 839}, std::nullopt},
            {"full HD below", full_hd, {1290, 840}, std::nullopt},
            // 2560 x 1440 takes 2x: (2560 - 1324) / 2 and (1440 - 1202) / 2 before it.
            {"QHD before", full_qhd, {617, 119}, std::nullopt},
            {"QHD first", full_qhd, {618, 119}, QPoint(0, 0)},
            {"QHD last", full_qhd, {618 + 1323, 119 + 1201}, QPoint(661, 600)},
            {"QHD past", full_qhd, {618 + 1324, 119 + 1201}, std::nullopt},
            // Too small a screen shrinks the picture to half: every second pixel.
            {"half first", small, {0, 150}, QPoint(0, 0)},
            {"half last", small, {330, 449}, QPoint(660, 598)},
            {"half past", small, {330, 450}, std::nullopt},
        };
        for (const auto& c : cases) {
            QVERIFY2(c.placement.ClientPoint(c.at) == c.client, c.name);
            if (c.client) QCOMPARE(c.placement.ClientPointAnywhere(c.at), *c.client);
        }
        QCOMPARE(full_hd.target(), QRectF(629, 239, 662, 601));
        QCOMPARE(full_qhd.target(), QRectF(618, 119, 1324, 1202));
        // The letterbox still maps, outside the client area, for a held button's release.
        QCOMPARE(full_hd.ClientPointAnywhere({628, 238}), QPoint(-1, -1));
        QCOMPARE(two.ClientPointAnywhere({1324, 1202}), QPoint(662, 601));
    }

    void largestFactorThatFits() {
        const struct {
            QSize screen;
            int factor;
        } cases[] = {
            {{1920, 1080}, 1}, {{1920, 1202}, 2}, {{1323, 1202}, 1},   {{2560, 1440}, 2},
            {{3840, 2160}, 3}, {{640, 480}, 1},   {{20000, 20000}, 8},
        };
        for (const auto& c : cases) QCOMPARE(LargestFittingFactor(c.screen), c.factor);
        QCOMPARE(DefaultFactor(1.0), 1);
        QCOMPARE(DefaultFactor(1.25), 1);
        QCOMPARE(DefaultFactor(1.5), 2);
        QCOMPARE(DefaultFactor(2.0), 2);
        QCOMPARE(DefaultFactor(0.5), 1);
    }

    // The larger picture is the 1x picture with each pixel repeated, nothing smoothed.
    void largerPicturesRepeatEachPixel() {
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        const QImage at_one = Grab(canvas_);
        QCOMPARE(at_one.size(), QSize(662, 601));
        for (int factor : {2, 3}) {
            window_->SetFactor(factor);
            QCOMPARE(canvas_->size(), QSize(662, 601) * factor);
            QCOMPARE(Grab(canvas_), Doubled(at_one, factor));
        }
        window_->SetFactor(1);
        QCOMPARE(Grab(canvas_), at_one);
    }

    // The marker's first and last device pixel at 2x advance the page; the pixels just
    // outside do not.
    void clicksAtTwiceReachTheMarker() {
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        window_->SetFactor(2);
        const QImage first = Grab(canvas_);
        const QRect ahead(kAhead.topLeft() * 2, kAhead.size() * 2);
        const QRect text(kTextArea.topLeft() * 2, kTextArea.size() * 2);
        for (QPoint outside : {ahead.topLeft() - QPoint(1, 0), ahead.topLeft() - QPoint(0, 1),
                               ahead.bottomRight() + QPoint(1, 0)}) {
            Click(canvas_, outside);
            QCOMPARE(Grab(canvas_).copy(text), first.copy(text));
        }
        Click(canvas_, ahead.bottomRight());
        const QImage second = Grab(canvas_);
        QVERIFY(second.copy(text) != first.copy(text));
        window_->action(MenuId::NewGame)->trigger();
        Click(canvas_, ahead.topLeft());
        QCOMPARE(Grab(canvas_), second);
    }

    // The gallery's frame goes to the cell under the pointer at 2x as at 1x, and shows there.
    void galleryFrameFollowsThePointerAtTwice() {
        engine_->extras.OpenGallery();
        const QPoint cell(10 + 160 * 2 + 5, 10 + 120 + 7);  // column 2, row 1
        MoveMouse(canvas_, cell);
        const Rect at_one = engine_->form[ControlId::Shape1].rect;
        const QImage picture_at_one = Grab(canvas_);
        MoveMouse(canvas_, QPoint(20, 20));
        QVERIFY(engine_->form[ControlId::Shape1].rect.left != at_one.left);

        window_->SetFactor(2);
        MoveMouse(canvas_, QPointF(cell * 2) + QPointF(1.5, 1.5));
        const Rect at_two = engine_->form[ControlId::Shape1].rect;
        QCOMPARE(at_two.left, at_one.left);
        QCOMPARE(at_two.top, at_one.top);
        QCOMPARE(Grab(canvas_), Doubled(picture_at_one, 2));
    }

    void pointerImagesGrowWithTheFactor() {
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
        MoveMouse(canvas_, kAhead.center());
        const QSize at_one = canvas_->cursor().pixmap().size();
        QVERIFY(!at_one.isEmpty());
        window_->SetFactor(3);
        MoveMouse(canvas_, kAhead.center() * 3);
        QCOMPARE(canvas_->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(canvas_->cursor().pixmap().size(), at_one * 3);
        QCOMPARE(canvas_->cursor().hotSpot(), QPoint(3, 3));
        MoveMouse(canvas_, QPoint(300, 300));
        QCOMPARE(canvas_->cursor().shape(), Qt::ArrowCursor);
    }

    // A filling canvas centres the picture in black; presses there reach nothing, and the
    // picture's own points reach the engine as client pixels.
    void fillingCanvasLetterboxesInBlack() {
        Form form;
        form[ControlId::Label1].caption = "letterboxed";
        form.Changed();
        Canvas canvas(form);
        const QImage at_one = Grab(&canvas);
        std::vector<QPoint> pressed;
        canvas.on_mouse_down = [&](int x, int y, bool) { pressed.emplace_back(x, y); };
        canvas.SetFilling(true);
        canvas.resize(1920, 1080);
        const QImage screen = Grab(&canvas);
        QCOMPARE(screen.copy(629, 239, 662, 601), at_one);
        for (QPoint black : {QPoint(0, 0), QPoint(628, 239), QPoint(1291, 839), QPoint(1919, 1079),
                             QPoint(629, 238), QPoint(1290, 840)}) {
            QCOMPARE(screen.pixel(black), qRgb(0, 0, 0));
        }
        for (QPoint at : {QPoint(628, 500), QPoint(629, 239), QPoint(1290, 839), QPoint(5, 5)}) {
            Click(&canvas, at);
        }
        QCOMPARE(pressed, (std::vector<QPoint>{QPoint(0, 0), QPoint(661, 600)}));
    }

    // Ctrl+digit sets the factor, F11 and Alt+Return switch fullscreen; in fullscreen the
    // menu bar comes at the top edge and with Alt.
    void keysChangeFactorAndFullscreen() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        QTest::keyClick(window_, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(canvas_->size(), QSize(1324, 1202));
        QTest::keyClick(window_, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(canvas_->size(), QSize(662, 601));

        QTest::keyClick(window_, Qt::Key_F11);
        QVERIFY(window_->fullscreen());
        QVERIFY(canvas_->filling());
        QTRY_COMPARE(canvas_->size(), window_->size());
        QVERIFY(!window_->menu_bar()->isVisible());
        MoveMouse(canvas_, QPoint(300, 0));
        QVERIFY(window_->menu_bar()->isVisible());
        MoveMouse(canvas_, QPoint(300, 300));
        QVERIFY(!window_->menu_bar()->isVisible());
        QTest::keyClick(window_, Qt::Key_Alt);
        QVERIFY(window_->menu_bar()->isVisible());
        MoveMouse(canvas_, QPoint(300, 300));
        QVERIFY2(window_->menu_bar()->isVisible(), "Alt keeps it up");
        QTest::keyClick(window_, Qt::Key_Alt);
        QVERIFY(!window_->menu_bar()->isVisible());

        QTest::keyClick(window_, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(!window_->fullscreen());
        QCOMPARE(canvas_->size(), QSize(662, 601));
        QVERIFY(window_->menu_bar()->isVisible());
        QCOMPARE(canvas_->y(), window_->menu_bar()->height());

        // A factor chosen in fullscreen shows the window at it.
        window_->SetFullscreen(true);
        QTest::keyClick(window_, Qt::Key_3, Qt::ControlModifier);
        QVERIFY(!window_->fullscreen());
        QCOMPARE(canvas_->size(), QSize(1986, 1803));
        // 2648 x 2404 is more than the screen holds: the largest that fits instead.
        QTest::keyClick(window_, Qt::Key_4, Qt::ControlModifier);
        QCOMPARE(canvas_->size(), QSize(1986, 1803));
        QTest::keyClick(window_, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(canvas_->size(), QSize(662, 601));
    }

    // A factor larger than the screen's room gives way to the largest that fits; 1 always
    // stays, even where the screen is too small for it.
    void factorsTheScreenCannotHoldAreRefused() {
        const struct {
            const char* screen;
            int asked;
            int used;
        } cases[] = {
            {"small", 1, 1}, {"small", 2, 1}, {"small", 8, 1}, {"small", 0, 1}, {"large", 2, 2},
            {"large", 3, 3}, {"large", 4, 3}, {"large", 8, 3}, {"large", 0, 3},
        };
        for (const auto& c : cases) {
            init();
            if (!PutOn(c.screen)) QSKIP(kNoTestScreens);
            window_->show();
            QCOMPARE(window_->SetFactor(c.asked), c.used);
            QCOMPARE(canvas_->factor(), c.used);
            QVERIFY(window_->frameGeometry().width() <= window_->screen()->geometry().width() ||
                    c.used == 1);
        }
    }

    // On the full screen the picture takes the largest whole factor, sharp; fitting the screen
    // takes all the room one side allows, and leaves the window at its factor.
    void fullscreenFitsTheScreenWhenAsked() {
        window_->show();
        window_->SetFullscreen(true);
        QTRY_COMPARE(canvas_->size(), QSize(2100, 1900));
        QCOMPARE(canvas_->placement().target(), QRectF(57, 48, 1986, 1803));

        PlaySettings settings = engine_->comfort.settings();
        settings.fit_screen = true;
        engine_->ApplySettings(settings);
        window_->Sync();
        // 1900 / 601 is the tighter side: the full height, and 662 times that across.
        QCOMPARE(canvas_->placement().target(), QRectF(4, 0, 2092, 1900));

        window_->SetFullscreen(false);
        QCOMPARE(canvas_->size(), QSize(662, 601));
        QCOMPARE(canvas_->placement().target(), QRectF(0, 0, 662, 601));
    }

  private:
    // The window moved onto a test screen; false where there are none.
    bool PutOn(const char* name) {
        QScreen* screen = TestScreen(name);
        if (!screen) return false;
        window_->setScreen(screen);
        window_->move(screen->geometry().topLeft());
        return true;
    }

    std::unique_ptr<WindowFixture> fixture_;
    Canvas* canvas_ = nullptr;
    Engine* engine_ = nullptr;
    GameWindow* window_ = nullptr;
};

int RunScalingTests(int argc, char** argv) {
    ScalingTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "scaling_tests.moc"
