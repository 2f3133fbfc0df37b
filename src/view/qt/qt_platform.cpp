#include "view/qt/qt_platform.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/picture_file.h"
#include "base/runtime_error.h"

namespace tsukikage {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A header declaring more than kMaxPictureSide is refused before any pixel memory is taken;
// Qt's own limit on what one decoded picture may take is set to the same bound (the largest
// side squared, 4 bytes a pixel).
constexpr int kMaxPictureMiB = kMaxPictureSide / 1024 * kMaxPictureSide / 1024 * 4;

std::uint32_t LittleEndian(const QByteArray& bytes, int at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

// A bitmap of plain (uncompressed) rows is whole only when the file holds every row it
// declares; the decoder would leave the missing rows as whatever memory it was given.
bool BitmapCutShort(const QByteArray& bytes) {
    constexpr int kFileHeader = 14;
    if (bytes.size() < kFileHeader + 40 || !bytes.startsWith("BM")) return false;
    if (LittleEndian(bytes, kFileHeader, 4) < 40) return false;  // the old 12-byte header
    const std::uint32_t compression = LittleEndian(bytes, 30, 4);
    if (compression != 0 && compression != 3) return false;  // run-length rows vary
    const std::uint64_t width = LittleEndian(bytes, 18, 4);
    const auto height = static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
    const std::uint64_t bits = LittleEndian(bytes, 28, 2);
    const std::uint64_t row_bytes = (width * bits + 31) / 32 * 4;
    const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (width > kMaxPictureSide || rows > kMaxPictureSide) return false;  // refused anyway
    return LittleEndian(bytes, 10, 4) + row_bytes * rows > static_cast<std::uint64_t>(bytes.size());
}

}  // namespace

void QtMessageBox::SetOwner(QWidget* owner, std::function<void()> before_show) {
    owner_ = owner;
    before_show_ = std::move(before_show);
}

void QtMessageBox::Show(std::string_view text, MessageIcon icon, std::string_view title) {
    if (before_show_) before_show_();
    QMessageBox box(ToQtIcon(icon), FromUtf8(title), FromUtf8(text), QMessageBox::Ok, owner_);
    // Scenario text may hold '<': never let it be taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtMessageBox::Ask(std::string_view text, std::string_view title) {
    if (before_show_) before_show_();
    QMessageBox box(QMessageBox::Question, FromUtf8(title), FromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtBeeper::Beep() {
    QApplication::beep();
}

QtBusyPointer::~QtBusyPointer() {
    SetBusy(false);
}

void QtBusyPointer::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

void QtProcessControl::End(ExitStatus status) {
    std::_Exit(static_cast<int>(status));
}

std::shared_ptr<const Surface> QtPictureDecoder::Decode(const std::filesystem::path& path) {
    // Read through std::filesystem: names on disk may be raw Shift-JIS bytes that QString
    // cannot carry back to the file system.
    const std::string file = ReadPictureFile(path);
    QByteArray bytes(file.data(), static_cast<qsizetype>(file.size()));

    QImageReader::setAllocationLimit(kMaxPictureMiB);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();  // from the header alone
    if (declared.width() > kMaxPictureSide || declared.height() > kMaxPictureSide) {
        Raise(err::kInvalidPicture);
    }
    if (BitmapCutShort(bytes)) Raise(err::kInvalidPicture);
    // Pixels a bitmap does not set (skipped by its run-length rows) are black, not whatever
    // memory held before: the decoder reads into a picture of the declared size and format.
    QImage image;
    if (reader.format() == "bmp" && declared.isValid() &&
        reader.imageFormat() != QImage::Format_Invalid) {
        image = QImage(declared, reader.imageFormat());
        if (image.depth() == 32) {
            image.fill(Qt::black);
        } else {
            image.fill(0);
        }
    }
    if (!reader.read(&image) || image.isNull()) Raise(err::kInvalidPicture);
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide) {
        Raise(err::kInvalidPicture);
    }
    // The original draws pictures opaque whatever alpha a 32-bit BMP carries.
    image.convertTo(QImage::Format_RGB32);
    if (image.isNull()) Raise(err::kInvalidPicture);

    auto surface = std::make_shared<Surface>(image.width(), image.height());
    const std::size_t row_bytes = static_cast<std::size_t>(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(&surface->pixels[static_cast<std::size_t>(y) * image.width()],
                    image.constScanLine(y), row_bytes);
    }
    for (std::uint32_t& pixel : surface->pixels) pixel |= 0xFF000000u;
    return surface;
}

void InstallFontSubstitutions() {
    static const char* const kDesignFaces[] = {"ＭＳ Ｐゴシック", "MS PGothic", "ＭＳ ゴシック",
                                               "MS Gothic"};
    for (const char* face : kDesignFaces) {
        QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("IPAPGothic"));
    }
}

}  // namespace tsukikage
