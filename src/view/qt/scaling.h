#pragma once

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <optional>

#include "cli/command_line.h"

namespace tsukikage {

// The smallest and largest factor the client area may be shown at.
constexpr int kMinScale = WindowOptions::kMinScale;
constexpr int kMaxScale = WindowOptions::kMaxScale;

// Where the client area's picture sits on a canvas, in the canvas's own (logical) pixels,
// and how canvas points map back to client pixels.
class Placement {
  public:
    // The picture filling a canvas of exactly its size: the window at a factor. The factor
    // counts device pixels, so on a high-density display it is divided by the device-pixel
    // ratio to give the canvas's logical size.
    static Placement Window(int factor, qreal device_pixel_ratio);
    // The picture centred on an area of `area` logical pixels, letterboxed: at the largest
    // integer factor that fits, or, with `fill`, as large as fits at any factor. An area
    // smaller than the picture shrinks it to fit either way.
    static Placement Centred(QSizeF area, qreal device_pixel_ratio, bool fill);

    QRectF target() const { return target_; }
    // The client pixel under a canvas point, or nothing outside the picture.
    std::optional<QPoint> ClientPoint(QPointF at) const;
    // The same mapping without the bounds: a point in the letterbox gives a client point
    // outside the client area, as a point outside the window does at 1x.
    QPoint ClientPointAnywhere(QPointF at) const;

  private:
    explicit Placement(QRectF target) : target_(target) {}
    QRectF target_;
};

// The largest integer factor at which the client area fits into `device_pixels`; at least 1.
int LargestFittingFactor(QSize device_pixels);

// The factor a window starts with when none is asked for: the display's device-pixel ratio
// rounded to an integer, so the picture keeps the size the desktop gives other windows.
int DefaultFactor(qreal device_pixel_ratio);

}  // namespace tsukikage
