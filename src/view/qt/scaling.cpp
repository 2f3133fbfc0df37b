#include "view/qt/scaling.h"

#include <algorithm>
#include <cmath>

#include "window/form.h"

namespace tsukikage {

Placement Placement::Window(int factor, qreal device_pixel_ratio) {
    const qreal per_pixel = factor / device_pixel_ratio;
    return Placement(QRectF(0, 0, kClientWidth * per_pixel, kClientHeight * per_pixel));
}

Placement Placement::Centred(QSizeF area, qreal device_pixel_ratio, bool fill) {
    // Everything is worked out in device pixels, so the picture starts on a whole one.
    const qreal area_width = area.width() * device_pixel_ratio;
    const qreal area_height = area.height() * device_pixel_ratio;
    qreal factor = std::min(area_width / kClientWidth, area_height / kClientHeight);
    if (!fill && factor >= 1) factor = std::floor(factor);
    const qreal width = std::floor(kClientWidth * factor);
    const qreal height = std::floor(kClientHeight * factor);
    const qreal left = std::floor((area_width - width) / 2);
    const qreal top = std::floor((area_height - height) / 2);
    return Placement(QRectF(left / device_pixel_ratio, top / device_pixel_ratio,
                            width / device_pixel_ratio, height / device_pixel_ratio));
}

QPoint Placement::ClientPointAnywhere(QPointF at) const {
    if (target_.isEmpty()) return QPoint(-1, -1);
    // Multiplying first keeps whole factors exact: no point slips into its neighbour.
    const qreal x = std::floor((at.x() - target_.left()) * kClientWidth / target_.width());
    const qreal y = std::floor((at.y() - target_.top()) * kClientHeight / target_.height());
    return QPoint(static_cast<int>(x), static_cast<int>(y));
}

std::optional<QPoint> Placement::ClientPoint(QPointF at) const {
    if (target_.isEmpty()) return std::nullopt;
    const QPoint client = ClientPointAnywhere(at);
    if (client.x() < 0 || client.y() < 0 || client.x() >= kClientWidth ||
        client.y() >= kClientHeight) {
        return std::nullopt;
    }
    return client;
}

int LargestFittingFactor(QSize device_pixels) {
    const int factor =
        std::min(device_pixels.width() / kClientWidth, device_pixels.height() / kClientHeight);
    return std::clamp(factor, kMinScale, kMaxScale);
}

int DefaultFactor(qreal device_pixel_ratio) {
    return std::clamp(static_cast<int>(std::lround(device_pixel_ratio)), kMinScale, kMaxScale);
}

}  // namespace tsukikage
