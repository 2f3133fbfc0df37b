// Every frame of the three transitions, as the screen shows it, against its expected picture
// under tests/golden/transitions/ (scripts/update-golden rewrites them).

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "graphics/picture_box.h"
#include "view/golden.h"
#include "view/qt/qt_platform.h"
#include "view/qt/surface_image.h"
#include "view/view_tests.h"

using namespace tsukikage;

namespace {

// Every pixel has a colour of its own, which tells its position: the low byte of x and y in
// two channels, the rest in the third; the two pictures put them in different channels. Such
// gradients pack smaller than flat blocks in PNG, yet a copy one pixel off changes pixels all
// along the copied area, where flat blocks show it only at their edges.
QImage Gradients(bool incoming) {
    QImage image(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const int fine_x = x & 0xFF;
            const int fine_y = y & 0xFF;
            const int coarse = 0x20 + 0x30 * (x >> 8) + 0x18 * (y >> 8);
            image.setPixel(x, y,
                           incoming ? qRgb(coarse, fine_y, fine_x) : qRgb(fine_x, fine_y, coarse));
        }
    }
    return image;
}

}  // namespace

class TransitionGoldenTests : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        root_ = folder_->path().toStdString();
        std::filesystem::create_directories(root_ / "data");
        // Saved as PNG under the game's names: the decoder goes by content, and every pixel
        // stays exact.
        QVERIFY(Gradients(false).save(QString::fromStdString((root_ / "data" / "001.jpg").string()),
                                      "PNG"));
        QVERIFY(Gradients(true).save(QString::fromStdString((root_ / "data" / "002.jpg").string()),
                                     "PNG"));
        Platform& fake = platform_.platform;
        real_platform_ = std::make_unique<Platform>(
            Platform{fake.message_box, fake.beeper, fake.busy_pointer, fake.process, decoder_,
                     fake.wave_voice, fake.music_device});
        engine_ = std::make_unique<Engine>(*real_platform_, root_);
        engine_->form.menu(MenuId::SystemMenu).enabled = true;
    }

    void cleanup() {
        engine_.reset();
        real_platform_.reset();
        folder_.reset();
    }

    void everyFrameMatchesItsPicture_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("frames");
        QTest::newRow("squeeze") << ".a 1" << 21;
        QTest::newRow("shrink") << ".b 1" << 34;
        QTest::newRow("turn") << ".d 1" << 48;
    }

    void everyFrameMatchesItsPicture() {
        QFETCH(QString, command);
        QFETCH(int, frames);
        std::ofstream(root_ / "datafile", std::ios::binary) << command.toStdString() << "\r\n.\r\n";
        engine_->MenuCommand(MenuId::NewGame);
        for (int frame = 1; frame <= frames; ++frame) {
            QVERIFY(!engine_->form[ControlId::imgAhead].enabled);
            engine_->Tick(TimerId::Timer1);
            const Surface& screen = DrawingImage(engine_->form[ControlId::Picture1]);
            COMPARE_WITH_GOLDEN(SurfaceImage(screen), QStringLiteral("transitions/%1_%2")
                                                          .arg(QTest::currentDataTag())
                                                          .arg(frame, 2, 10, QLatin1Char('0')));
        }
        QVERIFY(engine_->form[ControlId::imgAhead].enabled);
        QVERIFY(platform_.message_box.shown.empty());
    }

  private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::filesystem::path root_;
    fakes::RecordingPlatform platform_;
    QtPictureDecoder decoder_;
    std::unique_ptr<Platform> real_platform_;
    std::unique_ptr<Engine> engine_;
};

int RunTransitionGoldenTests(int argc, char** argv) {
    TransitionGoldenTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "transition_golden_tests.moc"
