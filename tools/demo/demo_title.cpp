// The start-up and title pictures: the title lettering on paper, the disclaimer, the title
// screen and the small title images. Their lettering is set in an installed Japanese font.
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <initializer_list>
#include <stdexcept>

#include "demo_pictures.h"

namespace tsukikage::demo {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The lettering face: a Mincho where one is installed, else the Gothic the player uses.
QFont LetteringFont(int pixels) {
    static const QString family = [] {
        if (!QGuiApplication::instance()) {
            throw std::logic_error("lettering needs a QGuiApplication for the font database");
        }
        const QStringList installed = QFontDatabase::families(QFontDatabase::Japanese);
        for (const char* face : {"IPAPMincho", "IPAMincho", "IPAPGothic", "IPAGothic"}) {
            if (installed.contains(face)) return QString(face);
        }
        if (installed.isEmpty()) {
            throw std::runtime_error("no Japanese font installed (fonts-ipafont-gothic)");
        }
        return installed.front();
    }();
    QFont font(family);
    font.setPixelSize(pixels);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Draws `text` centred on the point, one character under the other.
void VerticalText(QPainter& p, QPointF centre, std::string_view text, qreal step) {
    const QString characters = Text(text);
    const QFontMetricsF metrics(p.font());
    qreal y = centre.y() - step * characters.size() / 2;
    for (QChar c : characters) {
        const QRectF cell(centre.x() - step / 2, y, step, step);
        p.drawText(cell, Qt::AlignCenter, QString(c));
        y += step;
    }
}

// Text with a soft halo of `glow` around it.
void GlowingText(QPainter& p, const QRectF& box, int flags, const QString& text, QColor ink,
                 QColor glow) {
    p.setPen(glow);
    for (QPointF offset : {QPointF(-1.5, 0), QPointF(1.5, 0), QPointF(0, -1.5), QPointF(0, 1.5),
                           QPointF(-1, -1), QPointF(1, 1), QPointF(-1, 1), QPointF(1, -1)}) {
        p.drawText(box.translated(offset), flags, text);
    }
    p.setPen(ink);
    p.drawText(box, flags, text);
}

// Hand-made paper: a warm ground with faint fibres and darker edges.
void Paper(QPainter& p) {
    p.fillRect(0, 0, kWidth, kHeight, QColor(0xef, 0xe6, 0xd2));
    unsigned seed = 4;
    for (int i = 0; i < 900; ++i) {
        seed = seed * 1103515245u + 12345u;
        const qreal x = (seed >> 8) % kWidth;
        seed = seed * 1103515245u + 12345u;
        const qreal y = (seed >> 8) % kHeight;
        const qreal length = 4 + seed % 14;
        const qreal slope = static_cast<qreal>(static_cast<int>(seed >> 4) % 9 - 4) / 4;
        p.setPen(
            QPen(seed % 3 == 0 ? QColor(0xb8, 0xa8, 0x88, 60) : QColor(255, 252, 240, 120), 0.8));
        p.drawLine(QPointF(x, y), QPointF(x + length, y + slope * length / 3));
    }
    QRadialGradient edges(QPointF(kWidth / 2, kHeight / 2), 430);
    edges.setColorAt(0.55, QColor(120, 90, 50, 0));
    edges.setColorAt(1.0, QColor(120, 90, 50, 70));
    p.fillRect(0, 0, kWidth, kHeight, edges);
}

// A square vermilion seal with two characters cut into it.
void Seal(QPainter& p, QRectF box, std::string_view text) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb3, 0x2e, 0x25, 230));
    p.drawRoundedRect(box, 3, 3);
    p.setPen(QPen(QColor(0xef, 0xe6, 0xd2), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(3.5, 3.5, -3.5, -3.5));
    p.setFont(LetteringFont(static_cast<int>(box.height() * 0.38)));
    VerticalText(p, box.center(), text, box.height() * 0.4);
}

// A dark blue-grey ground with a double hairline and lattice knots in its corners, in the
// manner of the window picture.
void FramedGround(QPainter& p) {
    QLinearGradient ground(0, 0, 0, kHeight);
    ground.setColorAt(0.0, QColor(0x26, 0x2d, 0x3c));
    ground.setColorAt(1.0, QColor(0x10, 0x13, 0x1b));
    p.fillRect(0, 0, kWidth, kHeight, ground);
    const QRectF frame(24.5, 24.5, kWidth - 49, kHeight - 49);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x8e, 0x9a, 0xb0, 150), 1.0));
    p.drawRect(frame);
    p.setPen(QPen(QColor(0x8e, 0x9a, 0xb0, 70), 1.0));
    p.drawRect(frame.adjusted(4, 4, -4, -4));
    p.setPen(QPen(QColor(0xc8, 0xb8, 0x8a, 170), 1.0));
    for (QPointF at :
         {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()}) {
        DrawKnot(p, at, 6);
    }
}

// A soft ridge of hills through the given points, filled down to the bottom.
void Hills(QPainter& p, QColor colour, std::initializer_list<QPointF> ridge) {
    QPainterPath hills;
    const QPointF* previous = nullptr;
    for (const QPointF& at : ridge) {
        if (!previous) {
            hills.moveTo(at);
        } else {
            const qreal middle = (previous->x() + at.x()) / 2;
            hills.cubicTo(QPointF(middle, previous->y()), QPointF(middle, at.y()), at);
        }
        previous = &at;
    }
    hills.lineTo(kWidth, kHeight);
    hills.lineTo(0, kHeight);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(hills);
}

// A temple hall seen from the garden: a sweeping roof on a row of pillars, a veranda, and
// the warm light of one lantern inside.
void TempleHall(QPainter& p) {
    const QColor shadow(0x0a, 0x0c, 0x15);
    QRadialGradient lamp(QPointF(150, 318), 95);
    lamp.setColorAt(0, QColor(255, 196, 120, 150));
    lamp.setColorAt(1, QColor(255, 170, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x16, 0x16, 0x20));
    p.drawRect(QRectF(-10, 240, 356, 160));
    p.setBrush(lamp);
    p.drawEllipse(QPointF(150, 318), 95, 95);
    p.setBrush(QColor(250, 222, 160));
    p.drawRoundedRect(QRectF(141, 300, 18, 26), 5, 5);

    p.setBrush(shadow);
    QPainterPath roof;
    roof.moveTo(-10, 246);
    roof.quadTo(20, 240, 40, 222);
    roof.lineTo(90, 184);
    roof.lineTo(258, 184);
    roof.lineTo(316, 222);
    roof.quadTo(334, 240, 362, 236);
    roof.lineTo(356, 250);
    roof.lineTo(-10, 256);
    roof.closeSubpath();
    p.drawPath(roof);
    for (qreal x : {8.0, 84.0, 196.0, 272.0, 330.0}) p.drawRect(QRectF(x, 250, 12, 160));
    p.drawRect(QRectF(-10, 398, 372, 14));
    p.setPen(QPen(shadow, 4));
    p.drawLine(QPointF(-10, 366), QPointF(350, 366));
    p.setPen(QPen(shadow, 2.5));
    for (qreal x = 30; x < 350; x += 26) p.drawLine(QPointF(x, 366), QPointF(x, 398));
    // Moonlight on the ridge and the eaves.
    p.setPen(QPen(QColor(200, 210, 235, 110), 1.2));
    p.drawLine(QPointF(90, 184.5), QPointF(258, 184.5));
    p.drawLine(QPointF(258, 184.5), QPointF(316, 222.5));
}

}  // namespace

QImage DrawTitleLettering() {
    return PaintedPicture(kWidth, kHeight, [](QPainter& p) {
        Paper(p);
        p.setPen(QColor(0x1c, 0x1a, 0x1e));
        p.setFont(LetteringFont(56));
        VerticalText(p, QPointF(kWidth / 2 + 20, kHeight / 2), "月影回廊物語", 64);
        p.setPen(QColor(0x5a, 0x52, 0x4a));
        p.setFont(LetteringFont(17));
        VerticalText(p, QPointF(kWidth / 2 - 48, 318), "体験版", 22);
        Seal(p, QRectF(kWidth / 2 - 70, 380, 44, 44), "朧堂");
    });
}

QImage DrawDisclaimer() {
    return PaintedPicture(kWidth, kHeight, [](QPainter& p) {
        FramedGround(p);

        const QColor gold(0xe8, 0xdc, 0xb8);
        p.setPen(gold);
        p.setFont(LetteringFont(30));
        p.drawText(QRectF(0, 78, kWidth, 44), Qt::AlignCenter, Text("お断り"));
        p.setPen(QPen(QColor(0xc8, 0xb8, 0x8a, 150), 1.0));
        p.drawLine(QPointF(230, 132.5), QPointF(410, 132.5));
        p.setBrush(QColor(0xc8, 0xb8, 0x8a, 150));
        DrawKnot(p, QPointF(320, 132.5), 4);

        p.setPen(QColor(0xcc, 0xd2, 0xdc));
        p.setFont(LetteringFont(19));
        qreal y = 168;
        for (std::string_view line :
             {"この物語はフィクションです。", "登場する人物・団体・地名などは架空のものであり、",
              "実在するものとは一切関係ありません。", "", "本作は『月影回廊物語』の体験版です。",
              "製品版とは内容が異なる場合があります。"}) {
            p.drawText(QRectF(40, y, kWidth - 80, 32), Qt::AlignCenter, Text(line));
            y += 36;
        }
        p.setPen(gold);
        p.setFont(LetteringFont(20));
        p.drawText(QRectF(0, 400, kWidth, 30), Qt::AlignCenter, Text("朧堂"));
    });
}

QImage DrawTitlePicture() {
    return PaintedPicture(kWidth, kHeight, [](QPainter& p) {
        Sky(p, QColor(7, 10, 28), QColor(48, 50, 88), 404);
        Stars(p, 110, 300, 11);
        Moon(p, QPointF(526, 92), 36);
        Hills(p, QColor(30, 34, 58),
              {{0, 318}, {130, 288}, {270, 312}, {410, 280}, {530, 304}, {640, 290}});
        Hills(p, QColor(20, 23, 40), {{0, 372}, {150, 348}, {330, 366}, {470, 342}, {640, 358}});
        // White sand under the moon, raked in long lines.
        QLinearGradient sand(0, 400, 0, kHeight);
        sand.setColorAt(0, QColor(70, 74, 98));
        sand.setColorAt(1, QColor(40, 42, 60));
        p.fillRect(0, 404, kWidth, kHeight - 404, sand);
        p.setPen(QPen(QColor(96, 100, 126), 1));
        for (int y = 412; y < kHeight; y += 9) p.drawLine(0, y, kWidth, y);
        TempleHall(p);

        const QString title = Text("月影回廊物語");
        p.setFont(LetteringFont(50));
        GlowingText(p, QRectF(36, 44, 360, 64), Qt::AlignLeft | Qt::AlignVCenter, title,
                    QColor(0xf3, 0xea, 0xc8), QColor(0x9a, 0xa8, 0xd8, 60));
        p.setFont(LetteringFont(18));
        p.setPen(QColor(0xc8, 0xc4, 0xb0));
        p.drawText(QRectF(40, 112, 300, 26), Qt::AlignLeft | Qt::AlignVCenter,
                   Text("―― 体験版 ――"));
    });
}

QImage DrawTitleImage(const TitleImage& look) {
    constexpr int kImageWidth = 211;
    constexpr int kImageHeight = 26;
    return PaintedPicture(kImageWidth, kImageHeight, [&look](QPainter& p) {
        QLinearGradient band(0, 0, kImageWidth, 0);
        band.setColorAt(0.0, QColor(0x10, 0x13, 0x1f));
        band.setColorAt(0.5, QColor(0x27, 0x2c, 0x42));
        band.setColorAt(1.0, QColor(0x10, 0x13, 0x1f));
        p.fillRect(0, 0, kImageWidth, kImageHeight, band);

        const QColor frame = look.dim ? QColor(0x5a, 0x5e, 0x70) : QColor(0xa8, 0x90, 0x5a);
        const QRectF edge(0.5, 0.5, kImageWidth - 1, kImageHeight - 1);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(frame, 1.0));
        p.drawRect(edge);
        p.setPen(QPen(QColor(frame.red(), frame.green(), frame.blue(), 80), 1.0));
        p.drawRect(edge.adjusted(2, 2, -2, -2));
        p.setPen(QPen(frame, 1.0));
        p.setBrush(QColor(frame.red(), frame.green(), frame.blue(), 120));
        DrawKnot(p, QPointF(12, kImageHeight / 2.0), 4);
        DrawKnot(p, QPointF(kImageWidth - 12, kImageHeight / 2.0), 4);

        p.setFont(LetteringFont(16));
        p.setPen(look.dim ? QColor(0x86, 0x8a, 0xa0) : QColor(0xf2, 0xe8, 0xc9));
        p.drawText(QRectF(22, 0, kImageWidth - 44, kImageHeight), Qt::AlignCenter,
                   Text(look.caption));
    });
}

}  // namespace tsukikage::demo
