#include "view/golden.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <cstring>
#include <optional>

namespace {

QString GoldenPath(const QString& name, const QString& suffix) {
    return QStringLiteral(TSUKIKAGE_GOLDEN_DIR "/") + name + suffix;
}

bool Updating() {
    return qEnvironmentVariable("TSUKIKAGE_UPDATE_GOLDEN") == QStringLiteral("1");
}

bool SavePng(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QImageWriter writer(path, "png");
    writer.setQuality(0);  // the smallest file: PNG stays lossless whatever the quality
    return writer.write(image);
}

QString Colour(QRgb pixel) {
    return QStringLiteral("#%1").arg(pixel & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

// The first pixel, row by row, where two images of one size and format differ.
std::optional<QPoint> FirstDifference(const QImage& a, const QImage& b) {
    const auto row_bytes = static_cast<std::size_t>(a.width()) * 4;
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), row_bytes) == 0) continue;
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) return QPoint(x, y);
        }
    }
    return std::nullopt;
}

}  // namespace

QString GoldenMismatch(const QImage& actual, const QString& name) {
    const QImage image = actual.convertToFormat(QImage::Format_RGB32);
    const QString expected_path = GoldenPath(name, QStringLiteral(".png"));
    const QString actual_path = GoldenPath(name, QStringLiteral(".actual.png"));
    if (Updating()) {
        QFile::remove(actual_path);
        return SavePng(image, expected_path) ? QString() : "cannot write " + expected_path;
    }

    QString problem;
    const QImage expected = QImage(expected_path).convertToFormat(QImage::Format_RGB32);
    if (expected.isNull()) {
        problem =
            "there is no expected picture " + expected_path + " (scripts/update-golden writes it)";
    } else if (expected.size() != image.size()) {
        problem = QStringLiteral("the size is %1 x %2, expected %3 x %4")
                      .arg(image.width())
                      .arg(image.height())
                      .arg(expected.width())
                      .arg(expected.height());
    } else if (const std::optional<QPoint> at = FirstDifference(expected, image)) {
        problem = QStringLiteral("the first differing pixel, (%1, %2), is %3, expected %4")
                      .arg(at->x())
                      .arg(at->y())
                      .arg(Colour(image.pixel(*at)), Colour(expected.pixel(*at)));
    } else {
        QFile::remove(actual_path);
        return {};
    }
    SavePng(image, actual_path);
    return name + ": " + problem + "; the actual picture is " + actual_path;
}
