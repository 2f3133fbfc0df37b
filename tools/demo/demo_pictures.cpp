#include "demo_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tsukikage::demo {
namespace {

constexpr int kClientWidth = 662;
constexpr int kClientHeight = 601;
// Where the message text sits (the message label's rectangle).
constexpr QRect kMessageArea{8, 496, 645, 105};
// The two choice captions fill the message area's left part, one above the other, and their
// markers stand at its right end, partly outside the window.
constexpr QRect kCaptions{16, 504, 593, 89};

}  // namespace

void DrawKnot(QPainter& painter, QPointF at, qreal size) {
    QPainterPath path;
    path.moveTo(at.x(), at.y() - size);
    path.lineTo(at.x() + size, at.y());
    path.lineTo(at.x(), at.y() + size);
    path.lineTo(at.x() - size, at.y());
    path.closeSubpath();
    painter.drawPath(path);
    painter.drawEllipse(at, size * 0.35, size * 0.35);
}

QImage DrawWindowPicture() {
    QImage image(kClientWidth, kClientHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kClientHeight);
    sky.setColorAt(0.0, QColor(0x2c, 0x34, 0x44));
    sky.setColorAt(0.6, QColor(0x1d, 0x23, 0x30));
    sky.setColorAt(1.0, QColor(0x12, 0x16, 0x1f));
    painter.fillRect(image.rect(), sky);

    // A faint glow of moonlight from the upper right.
    QRadialGradient glow(QPointF(560, 70), 320);
    glow.setColorAt(0.0, QColor(0xc8, 0xd4, 0xe8, 40));
    glow.setColorAt(1.0, QColor(0xc8, 0xd4, 0xe8, 0));
    painter.fillRect(image.rect(), glow);

    // The message label covers the whole message area on a text page; on a choice the
    // captions and their markers stand on the picture. A slightly darker panel behind the
    // captions, with a double hairline frame and lattice knots in its corners, all within
    // the margin around the captions so that none of it runs under them; the markers stand
    // beside it on the plain background.
    const int margin = kCaptions.left() - kMessageArea.left();
    const QRectF panel(kMessageArea.left(), kMessageArea.top(), kCaptions.width() + 2 * margin,
                       kMessageArea.height());
    painter.fillRect(panel, QColor(0x0b, 0x0e, 0x15, 110));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x6a, 0x76, 0x8c, 150), 1.0));
    painter.drawRect(panel.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(QPen(QColor(0x6a, 0x76, 0x8c, 70), 1.0));
    const QRectF inner = panel.adjusted(3.5, 3.5, -3.5, -3.5);
    painter.drawRect(inner);
    painter.setPen(QPen(QColor(0x8e, 0x9a, 0xb0, 140), 1.0));
    for (QPointF at :
         {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()}) {
        DrawKnot(painter, at, 3);
    }
    // A row of small dots in the gap between the picture box and the message label,
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x8e, 0x9a, 0xb0, 90));
    for (qreal x = kMessageArea.left() + 24; x < kMessageArea.right() - 20; x += 16) {
        painter.drawEllipse(QPointF(x, kMessageArea.top() - 3), 0.9, 0.9);
    }
    // a double hairline around the whole client area, and knots in its corners.
    painter.setBrush(Qt::NoBrush);
    const QRectF edge = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(QColor(0x4a, 0x55, 0x68), 1.0));
    painter.drawRect(edge);
    painter.setPen(QPen(QColor(0x4a, 0x55, 0x68, 120), 1.0));
    painter.drawRect(edge.adjusted(3, 3, -3, -3));
    painter.setPen(QPen(QColor(0x8e, 0x9a, 0xb0, 160), 1.0));
    const QRectF corners = edge.adjusted(3.5, 3.5, -3.5, -3.5);
    for (QPointF at :
         {corners.topLeft(), corners.topRight(), corners.bottomLeft(), corners.bottomRight()}) {
        DrawKnot(painter, at, 3);
    }
    painter.end();
    return image;
}

}  // namespace tsukikage::demo
