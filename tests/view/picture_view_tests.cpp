// Numbered pictures in the real window: command c and a transition, read back from the
// painted canvas with the real picture decoder.

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "view/golden.h"
#include "view/qt/canvas.h"
#include "view/qt/game_window.h"
#include "view/qt/qt_platform.h"
#include "view/view_tests.h"

using namespace tsukikage;

namespace {

// Where Picture1's drawing area starts in the client area: its position plus its border.
constexpr int kScreenLeft = 8 + 2;
constexpr int kScreenTop = 8 + 2;

// A picture in two colours split at column 320, saved as BMP so every pixel stays exact.
QImage Halves(QRgb left, QRgb right) {
    QImage image(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) image.setPixel(x, y, x < 320 ? left : right);
    }
    return image;
}

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb ScreenPixel(const QImage& grab, int x, int y) {
    return grab.pixel(kScreenLeft + x, kScreenTop + y) | 0xFF000000u;
}

}  // namespace

class PictureViewTests : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        const std::filesystem::path root = folder_->path().toStdString();
        std::filesystem::create_directories(root / "data");
        // Saved under .jpg names: the decoder goes by content, as the original did.
        QVERIFY(Halves(0xFF2040A0, 0xFFC08020)
                    .save(QString::fromStdString((root / "data" / "001.jpg").string()), "BMP"));
        QVERIFY(Halves(0xFF10C010, 0xFFF0F0F0)
                    .save(QString::fromStdString((root / "data" / "002.jpg").string()), "BMP"));
        std::ofstream(root / "cgmode.dat", std::ios::binary) << "2\r\n#FALSE#\r\n#FALSE#\r\n";
        std::ofstream(root / "datafile", std::ios::binary)
            << Utf8ToCp932(".c 1\r\n月影の回廊を歩く。First\r\n.\r\n.a 1\r\nSecond\r\n.\r\n");
        platform_ = std::make_unique<fakes::RecordingPlatform>();
        Platform& fake = platform_->platform;
        real_platform_ = std::make_unique<Platform>(
            Platform{fake.message_box, fake.beeper, fake.busy_pointer, fake.process, decoder_,
                     fake.wave_voice, fake.music_device});
        engine_ = std::make_unique<Engine>(*real_platform_, root);
        window_ = std::make_unique<GameWindow>(*engine_);
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
        window_->action(MenuId::NewGame)->trigger();
    }

    void cleanup() {
        window_.reset();
        engine_.reset();
        real_platform_.reset();
        platform_.reset();
        folder_.reset();
    }

    void commandCShowsThePictureOnTheGameScreen() {
        const QImage shown = Grab(window_->canvas());
        QCOMPARE(ScreenPixel(shown, 0, 0), QRgb(0xFF2040A0));
        QCOMPARE(ScreenPixel(shown, 319, 478), QRgb(0xFF2040A0));
        QCOMPARE(ScreenPixel(shown, 320, 0), QRgb(0xFFC08020));
        QCOMPARE(ScreenPixel(shown, 639, 478), QRgb(0xFFC08020));
        QVERIFY(platform_->message_box.shown.empty());
    }

    // The whole window as it shows a page: picture, text in the Japanese font and the
    // advance marker, against tests/golden/window/game_page.png.
    void gamePageLooksAsExpected() {
        COMPARE_WITH_GOLDEN(Grab(window_->canvas()), QStringLiteral("window/game_page"));
    }

    void transitionFramesReachTheWindow() {
        engine_->Click(ControlId::imgAhead);
        QVERIFY(!engine_->form[ControlId::imgAhead].enabled);
        for (int k = 0; k <= 10; ++k) engine_->Tick(TimerId::Timer1);
        // Frame 10: both pictures squeezed to half width, each showing its two halves.
        const QImage middle = Grab(window_->canvas());
        QCOMPARE(ScreenPixel(middle, 100, 200), QRgb(0xFF2040A0));
        QCOMPARE(ScreenPixel(middle, 200, 200), QRgb(0xFFC08020));
        QCOMPARE(ScreenPixel(middle, 420, 200), QRgb(0xFF10C010));
        QCOMPARE(ScreenPixel(middle, 600, 200), QRgb(0xFFF0F0F0));
        for (int k = 11; k <= 20; ++k) engine_->Tick(TimerId::Timer1);
        const QImage after = Grab(window_->canvas());
        QCOMPARE(ScreenPixel(after, 0, 0), QRgb(0xFF10C010));
        QCOMPARE(ScreenPixel(after, 639, 478), QRgb(0xFFF0F0F0));
        QVERIFY(engine_->form[ControlId::imgAhead].enabled);
    }

    // A JPEG cut short decodes what it holds (the rest grey, as the decoder fills it); a
    // bitmap whose header lies is no picture.
    void damagedFilesNeverCrashTheDecoder() {
        const std::filesystem::path root = folder_->path().toStdString();
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(Halves(0xFF2040A0, 0xFFC08020).save(&buffer, "JPG", 90));
        std::ofstream(root / "cut.jpg", std::ios::binary).write(jpeg.constData(), jpeg.size() / 3);
        const Surface cut = *decoder_.Decode(root / "cut.jpg");
        QCOMPARE(cut.width, 640);
        QCOMPARE(cut.height, 480);

        std::string bitmap(54 + 4, '\0');
        bitmap[0] = 'B';
        bitmap[1] = 'M';
        bitmap[10] = 54;      // pixels at 54
        bitmap[14] = 40;      // header size
        bitmap[18] = '\x7f';  // width 0x7f7f7f7f
        bitmap[19] = '\x7f';
        bitmap[20] = '\x7f';
        bitmap[21] = '\x7f';
        bitmap[22] = 1;   // height 1
        bitmap[26] = 1;   // one plane
        bitmap[28] = 32;  // 32 bits a pixel
        std::ofstream(root / "bogus.bmp", std::ios::binary) << bitmap;
        int error = 0;
        try {
            decoder_.Decode(root / "bogus.bmp");
        } catch (const RuntimeError& e) {
            error = e.number();
        }
        QCOMPARE(error, err::kInvalidPicture);
    }

  private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<fakes::RecordingPlatform> platform_;
    QtPictureDecoder decoder_;
    std::unique_ptr<Platform> real_platform_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<GameWindow> window_;
};

int RunPictureViewTests(int argc, char** argv) {
    PictureViewTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "picture_view_tests.moc"
