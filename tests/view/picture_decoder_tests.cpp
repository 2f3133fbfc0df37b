// Pictures read from disk by the real decoder: exact pixels, the two errors, and file names
// that are raw Shift-JIS bytes.

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>

#include "base/runtime_error.h"
#include "view/qt/qt_platform.h"
#include "view/view_tests.h"

using namespace tsukikage;

namespace {

std::string Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int ErrorOf(QtPictureDecoder& decoder, const std::filesystem::path& path) {
    try {
        decoder.Decode(path);
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

}  // namespace

class PictureDecoderTests : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        root_ = dir_->path().toStdString();
    }

    void bitmapPixelsArriveExactlyInOrder() {
        QImage image(3, 2, QImage::Format_RGB32);
        const QRgb colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                0xFF123456, 0xFFFFFFFF, 0xFF000000};
        for (int i = 0; i < 6; ++i) image.setPixel(i % 3, i / 3, colours[i]);
        // Raw Shift-JIS bytes of 「テ.bmp」: no valid UTF-8, as on disks from the original.
        const std::filesystem::path path = root_ / "\x83\x65.bmp";
        Write(path, Encode(image, "BMP"));

        const Surface surface = decoder_.Decode(path);
        QCOMPARE(surface.width, 3);
        QCOMPARE(surface.height, 2);
        for (int i = 0; i < 6; ++i) QCOMPARE(surface.at(i % 3, i / 3), colours[i]);
    }

    void jpegDecodesOpaque() {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(QColor(200, 40, 40));
        const std::filesystem::path path = root_ / "photo.jpg";
        Write(path, Encode(image, "JPEG"));

        const Surface surface = decoder_.Decode(path);
        QCOMPARE(surface.width, 40);
        QCOMPARE(surface.height, 30);
        const std::uint32_t centre = surface.at(20, 15);
        QCOMPARE(centre >> 24, 0xFFu);
        QVERIFY(qAbs(qRed(centre) - 200) < 8 && qAbs(qGreen(centre) - 40) < 8);
    }

    void missingAndBrokenFilesRaiseTheirErrors() {
        QCOMPARE(ErrorOf(decoder_, root_ / "nothing.bmp"), err::kFileNotFound);
        Write(root_ / "empty.bmp", "");
        QCOMPARE(ErrorOf(decoder_, root_ / "empty.bmp"), err::kInvalidPicture);
        Write(root_ / "text.jpg", "this is no picture at all");
        QCOMPARE(ErrorOf(decoder_, root_ / "text.jpg"), err::kInvalidPicture);
        std::filesystem::create_directory(root_ / "folder.bmp");
        QVERIFY(ErrorOf(decoder_, root_ / "folder.bmp") != 0);
    }

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path root_;
    QtPictureDecoder decoder_;
};

int RunPictureDecoderTests(int argc, char** argv) {
    PictureDecoderTests tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "picture_decoder_tests.moc"
