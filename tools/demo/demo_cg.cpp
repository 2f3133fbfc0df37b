// The demo game's numbered pictures: a moonlit temple corridor, its garden, a hand lantern,
// a small door onto a daylit garden, a mountain path and the dawn.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <stdexcept>
#include <string>

#include "demo_files.h"
#include "demo_pictures.h"

namespace tsukikage::demo {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

}  // namespace

void Sky(QPainter& p, QColor top, QColor bottom, int horizon) {
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    p.fillRect(QRect(0, 0, kWidth, horizon), sky);
}

void Stars(QPainter& p, int count, int max_y, unsigned seed) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int x = static_cast<int>((seed >> 8) % kWidth);
        seed = seed * 1103515245u + 12345u;
        const int y = static_cast<int>((seed >> 8) % static_cast<unsigned>(max_y));
        p.setBrush(QColor(230, 230, 210, 120 + static_cast<int>(seed % 120)));
        p.drawEllipse(QPointF(x, y), 1.0, 1.0);
    }
}

void Moon(QPainter& p, QPointF at, qreal r) {
    QRadialGradient glow(at, r * 3.5);
    glow.setColorAt(0, QColor(250, 240, 200, 90));
    glow.setColorAt(1, QColor(250, 240, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(at, r * 3.5, r * 3.5);
    p.setBrush(QColor(250, 243, 214));
    p.drawEllipse(at, r, r);
    p.setBrush(QColor(228, 220, 190));
    p.drawEllipse(at + QPointF(-r * 0.3, r * 0.2), r * 0.18, r * 0.14);
    p.drawEllipse(at + QPointF(r * 0.25, -r * 0.3), r * 0.12, r * 0.1);
}

namespace {

// The corridor seen down its length: floor boards, a row of pillars and the railing.
void Corridor(QPainter& p, QColor wood, QColor shade, int pillars, bool moonlit) {
    const QPointF vanish(420, 200);
    // Floor.
    QPainterPath floor;
    floor.moveTo(0, kHeight);
    floor.lineTo(kWidth, kHeight);
    floor.lineTo(vanish.x() + 40, vanish.y() + 40);
    floor.lineTo(vanish.x() - 40, vanish.y() + 40);
    floor.closeSubpath();
    QLinearGradient boards(0, kHeight, 0, vanish.y());
    boards.setColorAt(0, wood);
    boards.setColorAt(1, shade);
    p.setPen(Qt::NoPen);
    p.setBrush(boards);
    p.drawPath(floor);
    p.setPen(QPen(shade.darker(140), 1));
    for (int i = -6; i <= 6; ++i)
        p.drawLine(QPointF(kWidth / 2 + i * 70, kHeight), vanish + QPointF(i * 6, 40));
    // Roof edge.
    p.setPen(Qt::NoPen);
    p.setBrush(shade.darker(200));
    QPainterPath roof;
    roof.moveTo(0, 0);
    roof.lineTo(kWidth, 0);
    roof.lineTo(vanish.x() + 40, vanish.y() - 60);
    roof.lineTo(vanish.x() - 40, vanish.y() - 60);
    roof.closeSubpath();
    p.drawPath(roof);
    // Pillars receding on the left, each with its moonlit edge.
    for (int i = 0; i < pillars; ++i) {
        const qreal t = std::pow(0.78, i);
        const qreal x = vanish.x() - 40 - (vanish.x() - 40 + 60) * t;
        const qreal w = 46 * t + 3;
        const qreal top = vanish.y() - 60 - (vanish.y() - 60) * t;
        const qreal bottom = vanish.y() + 40 + (kHeight - vanish.y() - 40) * t;
        p.setBrush(shade.darker(170));
        p.drawRect(QRectF(x, top, w, bottom - top));
        if (moonlit) {
            p.setBrush(QColor(220, 225, 240, 90));
            p.drawRect(QRectF(x + w - std::max<qreal>(2, w * 0.15), top,
                              std::max<qreal>(2, w * 0.15), bottom - top));
        }
    }
    // Railing on the right.
    p.setPen(QPen(shade.darker(160), 5));
    p.drawLine(QPointF(kWidth, 330), vanish + QPointF(40, 20));
    p.setPen(QPen(shade.darker(160), 3));
    for (int i = 0; i < 8; ++i) {
        const qreal t = std::pow(0.75, i);
        const QPointF top =
            vanish + QPointF(40, 20) + (QPointF(kWidth, 330) - vanish - QPointF(40, 20)) * t;
        p.drawLine(top, top + QPointF(0, 90 * t + 6));
    }
}

void Garden(QPainter& p, QColor sand, QColor rake) {
    p.setPen(Qt::NoPen);
    p.setBrush(sand);
    p.drawRect(0, 300, kWidth, 180);
    p.setPen(QPen(rake, 1.5));
    for (int y = 310; y < kHeight; y += 10) p.drawLine(0, y, kWidth, y);
    // Raked circles round two stones.
    for (QPointF at : {QPointF(180, 380), QPointF(470, 420)}) {
        p.setPen(QPen(rake, 1.5));
        p.setBrush(sand);
        for (int r = 60; r > 20; r -= 10) p.drawEllipse(at, r * 1.6, r * 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 62, 70));
        p.drawEllipse(at + QPointF(0, -8), 34, 20);
    }
    // A low wall and pines behind.
    p.setBrush(QColor(40, 40, 48));
    p.drawRect(0, 270, kWidth, 30);
    p.setBrush(QColor(20, 32, 30));
    for (int x = -20; x < kWidth; x += 90) p.drawEllipse(QPointF(x + 40, 250), 70, 40);
}

void Lantern(QPainter& p, QPointF at, qreal scale) {
    QRadialGradient light(at, 220 * scale);
    light.setColorAt(0, QColor(255, 200, 120, 170));
    light.setColorAt(1, QColor(255, 170, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawEllipse(at, 220 * scale, 220 * scale);
    p.setBrush(QColor(250, 226, 170));
    p.drawRoundedRect(QRectF(at.x() - 30 * scale, at.y() - 40 * scale, 60 * scale, 80 * scale),
                      12 * scale, 12 * scale);
    p.setPen(QPen(QColor(90, 50, 30), 3 * scale));
    p.setBrush(Qt::NoBrush);
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(at.x() - 30 * scale, at.y() + i * 20 * scale),
                   QPointF(at.x() + 30 * scale, at.y() + i * 20 * scale));
    p.setPen(QPen(QColor(60, 40, 30), 5 * scale));
    p.drawLine(QPointF(at.x(), at.y() - 40 * scale), QPointF(at.x(), at.y() - 90 * scale));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 200));
    p.drawEllipse(at, 8 * scale, 14 * scale);
}

void Mountains(QPainter& p, QColor colour, int base, unsigned seed) {
    QPainterPath ridge;
    ridge.moveTo(0, kHeight);
    for (int x = 0; x <= kWidth; x += 20) {
        seed = seed * 1103515245u + 12345u;
        const qreal y = base - 60 * std::sin(x / 140.0 + seed % 7) - static_cast<qreal>(seed % 25);
        ridge.lineTo(x, y);
    }
    ridge.lineTo(kWidth, kHeight);
    ridge.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(ridge);
}

}  // namespace

QImage DrawNumberedPicture(int number) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (number) {
        case 1:  // The west corridor under the moon.
            Sky(p, QColor(10, 14, 34), QColor(34, 44, 78));
            Stars(p, 60, 200, 1);
            Moon(p, QPointF(560, 80), 34);
            Corridor(p, QColor(92, 84, 96), QColor(40, 40, 58), 7, true);
            break;
        case 2:  // The white-sand garden holding the moon.
            Sky(p, QColor(8, 12, 30), QColor(40, 52, 86), 300);
            Stars(p, 80, 240, 2);
            Moon(p, QPointF(320, 110), 46);
            Garden(p, QColor(196, 200, 214), QColor(160, 166, 186));
            break;
        case 3:  // The old monk's hand lantern in the dark corridor.
            Sky(p, QColor(6, 6, 12), QColor(20, 18, 26));
            Corridor(p, QColor(70, 52, 40), QColor(24, 20, 22), 6, false);
            Lantern(p, QPointF(250, 250), 1.0);
            break;
        case 4:  // Deep into the corridor: one pillar too many.
            Sky(p, QColor(4, 6, 16), QColor(18, 22, 40));
            Corridor(p, QColor(60, 58, 76), QColor(20, 22, 36), 13, true);
            break;
        case 5:  // The small wooden door behind the thirteenth pillar.
            Sky(p, QColor(16, 14, 22), QColor(36, 30, 38));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(70, 50, 36));
            p.drawRect(220, 110, 200, 300);
            p.setBrush(QColor(110, 80, 54));
            p.drawRect(236, 126, 168, 268);
            p.setPen(QPen(QColor(70, 50, 36), 4));
            for (int x = 264; x < 404; x += 28) p.drawLine(x, 126, x, 394);
            p.setBrush(QColor(200, 170, 90));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(384, 270), 7, 7);
            // Daylight through the gap under the door.
            p.setBrush(QColor(255, 246, 200));
            p.drawRect(236, 394, 168, 5);
            Lantern(p, QPointF(120, 300), 0.6);
            break;
        case 6:  // The bright garden of noon beyond the door.
            Sky(p, QColor(110, 170, 235), QColor(200, 228, 250), 300);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 250, 220));
            p.drawEllipse(QPointF(520, 70), 40, 40);
            Garden(p, QColor(246, 242, 226), QColor(214, 206, 184));
            break;
        case 7:  // The garden late at night, the moon low.
            Sky(p, QColor(6, 8, 22), QColor(30, 36, 64), 300);
            Stars(p, 120, 260, 7);
            Moon(p, QPointF(110, 210), 28);
            Garden(p, QColor(150, 156, 176), QColor(120, 126, 150));
            break;
        case 8:  // Dawn over the eastern hills.
            Sky(p, QColor(60, 80, 140), QColor(250, 190, 150));
            Mountains(p, QColor(70, 60, 90), 330, 8);
            Mountains(p, QColor(40, 34, 56), 400, 9);
            break;
        default:  // A mountain path at night.
            Sky(p, QColor(4, 8, 20), QColor(24, 34, 54));
            Stars(p, 140, 300, 9);
            Mountains(p, QColor(20, 28, 40), 300, 10);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(96, 90, 82));
            {
                QPainterPath path;
                path.moveTo(260, kHeight);
                path.cubicTo(300, 400, 380, 380, 330, 310);
                path.lineTo(344, 310);
                path.cubicTo(420, 380, 360, 420, 420, kHeight);
                path.closeSubpath();
                p.drawPath(path);
            }
            break;
    }
    // The number as a row of small dots in the corner (the generator runs without fonts):
    // the gallery and the screenshots can tell the pictures apart.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    for (int i = 0; i < number; ++i)
        p.drawEllipse(QPointF(kWidth - 12 - 9 * i, kHeight - 12), 2.5, 2.5);
    p.end();
    return image;
}

QImage Thumbnail(const QImage& picture) {
    return picture.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage DrawPlaceholderPicture() {
    return PaintedPicture(kWidth, kHeight, [](QPainter& p) {
        Sky(p, QColor(24, 24, 30), QColor(12, 12, 16));
        p.setPen(QPen(QColor(120, 120, 136), 6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(320, 240), 90, 90);
        // A question mark drawn as strokes.
        QPainterPath mark;
        mark.moveTo(290, 200);
        mark.cubicTo(290, 160, 350, 160, 350, 200);
        mark.cubicTo(350, 230, 320, 230, 320, 262);
        p.setPen(QPen(QColor(150, 150, 166), 14, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(mark);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 150, 166));
        p.drawEllipse(QPointF(320, 292), 8, 8);
    });
}

QImage DrawLoadingPicture() {
    return PaintedPicture(kWidth, kHeight, [](QPainter& p) {
        Sky(p, QColor(10, 14, 34), QColor(4, 6, 14));
        Moon(p, QPointF(320, 200), 40);
        // Three dots under the moon, like a loading indicator.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 220, 230));
        for (int i = -1; i <= 1; ++i) p.drawEllipse(QPointF(320 + 30 * i, 320), 6, 6);
    });
}

namespace {

void SaveJpeg(const std::filesystem::path& path, const QImage& image) {
    std::filesystem::create_directories(path.parent_path());
    if (!image.save(QString::fromStdString(path.string()), "JPG", 90)) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ThreeDigits(int number) {
    std::string digits = std::to_string(number);
    return std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits;
}

}  // namespace

void WritePictureFiles(const std::filesystem::path& game_folder) {
    const std::filesystem::path data = game_folder / "Data";
    for (int number = 1; number <= kNumberedPictures; ++number) {
        const QImage picture = DrawNumberedPicture(number);
        const std::string name = ThreeDigits(number) + ".jpg";
        SaveJpeg(data / name, picture);
        SaveJpeg(data / "smallsize" / name, Thumbnail(picture));
    }
    const QImage placeholder = DrawPlaceholderPicture();
    SaveJpeg(data / "nothing.jpg", placeholder);
    SaveJpeg(data / "smallsize" / "nothing.jpg", Thumbnail(placeholder));
    SaveJpeg(data / "nowload.jpg", DrawLoadingPicture());
}

}  // namespace tsukikage::demo
