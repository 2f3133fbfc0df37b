// Draws the program's icon in the desktop's usual sizes: make_icon <folder> writes
// <folder>/<N>x<N>/apps/tsukikage.png for each size.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <filesystem>
#include <iostream>

namespace {

QImage Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A night sky in a rounded square.
    QLinearGradient sky(0, 0, 0, s);
    sky.setColorAt(0, QColor(0x14, 0x1a, 0x3c));
    sky.setColorAt(1, QColor(0x2c, 0x34, 0x6c));
    painter.setBrush(sky);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
    // A crescent moon: a disc with a second disc taken out of it.
    QPainterPath moon;
    moon.addEllipse(QPointF(s * 0.52, s * 0.48), s * 0.30, s * 0.30);
    QPainterPath bite;
    bite.addEllipse(QPointF(s * 0.66, s * 0.38), s * 0.26, s * 0.26);
    painter.setBrush(QColor(0xf6, 0xe7, 0xa8));
    painter.drawPath(moon.subtracted(bite));
    // Two stars.
    painter.setBrush(QColor(0xff, 0xf8, 0xdc));
    for (const QPointF& star : {QPointF(s * 0.78, s * 0.74), QPointF(s * 0.24, s * 0.22)}) {
        painter.drawEllipse(star, s * 0.035 + 0.5, s * 0.035 + 0.5);
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icon <folder>\n";
        return 2;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) /
                                             (std::to_string(size) + "x" + std::to_string(size)) /
                                             "apps";
        std::filesystem::create_directories(folder);
        const std::string file = (folder / "tsukikage.png").string();
        if (!Icon(size).save(QString::fromStdString(file), "PNG")) {
            std::cerr << "make_icon: cannot write " << file << '\n';
            return 1;
        }
    }
    return 0;
}
