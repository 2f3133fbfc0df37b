// Pictures read from disk by the real decoder: exact pixels, the two errors, and file names
// that are raw Shift-JIS bytes.

#include <QBuffer>
#include <QElapsedTimer>
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

QImage Filled(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    return image;
}

// A 54-byte bitmap header of 24-bit pixels declaring the given size, with no pixels after it:
// "BM", the file header (size, reserved, pixel offset), then the info header (its size, width,
// height, 1 plane and 24 bits a pixel, compression, pixel bytes, resolutions, colours).
std::string BitmapHeader(std::int32_t width, std::int32_t height) {
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    const std::uint32_t fields[] = {54, 0, 54, 40, w, h, 1 | 24 << 16, 0, 0, 2835, 2835, 0, 0};
    std::string bytes = "BM";
    for (const std::uint32_t value : fields) {
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    }
    return bytes;
}

// A 4 x 2 bitmap of 8-bit run-length rows (compression 1) with two colours, black and red,
// whose only run sets the first two pixels of the bottom row before the bitmap ends.
std::string RunLengthBitmap() {
    const std::string colours("\0\0\0\0\0\0\xFF\0", 8);
    const std::string runs("\x02\x01\x00\x01", 4);
    std::string bytes = BitmapHeader(4, 2);
    bytes[10] = static_cast<char>(54 + colours.size());  // where the pixels start
    bytes[28] = 8;                                       // bits a pixel
    bytes[30] = 1;                                       // run-length compression
    bytes[46] = 2;                                       // colours in the table
    return bytes + colours + runs;
}

// A picture whose JPEG form is mostly pixel data, not tables.
QImage Patterned(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 7 ^ y * 13, x * y, y * 5));
    }
    return image;
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

        const Surface surface = *decoder_.Decode(path);
        QCOMPARE(surface.width, 3);
        QCOMPARE(surface.height, 2);
        for (int i = 0; i < 6; ++i) QCOMPARE(surface.at(i % 3, i / 3), colours[i]);
    }

    void jpegDecodesOpaque() {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(QColor(200, 40, 40));
        const std::filesystem::path path = root_ / "photo.jpg";
        Write(path, Encode(image, "JPEG"));

        const Surface surface = *decoder_.Decode(path);
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

    // The largest side taken is 8192 pixels; a header declaring more is refused before any
    // pixel memory is taken. A JPEG cut short shows what arrived, the rest grey.
    void sizeBoundAndCutFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("width");
        QTest::addColumn<quint32>("corner");  // the top left pixel, 0 for any
        const auto row = [](const char* name, const std::string& bytes, int error, int width,
                            quint32 corner = 0) {
            QTest::newRow(name) << QByteArray::fromStdString(bytes) << error << width << corner;
        };
        const std::string jpeg = Encode(Patterned(200, 150), "JPEG");
        row("bitmap 8192 wide", Encode(Filled(8192, 1), "BMP"), 0, 8192, 0xFFC82828);
        row("bitmap 8193 wide", Encode(Filled(8193, 1), "BMP"), err::kInvalidPicture, 0);
        row("bitmap 8193 tall", Encode(Filled(1, 8193), "BMP"), err::kInvalidPicture, 0);
        row("header of 60000 x 60000", BitmapHeader(60000, 60000), err::kInvalidPicture, 0);
        row("header of 60000 x -60000", BitmapHeader(60000, -60000), err::kInvalidPicture, 0);
        row("header of 8192 x 8192", BitmapHeader(8192, 8192), err::kInvalidPicture, 0);
        row("jpeg cut in half", jpeg.substr(0, jpeg.size() / 2), 0, 200);
        row("jpeg cut in its header", jpeg.substr(0, 100), err::kInvalidPicture, 0);
        const std::string bitmap = Encode(Filled(4, 3), "BMP");
        row("bitmap one byte short", bitmap.substr(0, bitmap.size() - 1), err::kInvalidPicture, 0);
        // 4 x 2 pixels in 8-bit run-length rows: two red pixels, then the end of the bitmap.
        // The pixels it never sets are black, not what the memory held.
        row("run-length bitmap ending early", RunLengthBitmap(), 0, 4, 0xFF000000);
    }

    void sizeBoundAndCutFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(int, width);
        QFETCH(quint32, corner);
        const std::filesystem::path path = root_ / "picture";
        Write(path, bytes.toStdString());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ErrorOf(decoder_, path), error);
        QVERIFY(timer.elapsed() < 1000);
        if (error == 0) {
            const Surface surface = *decoder_.Decode(path);
            QCOMPARE(surface.width, width);
            if (corner != 0) QCOMPARE(surface.at(0, 0), corner);
        }
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
