#include "view/qt/canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "view/qt/font_pages.h"
#include "view/qt/overlay_painter.h"
#include "view/qt/surface_image.h"
#include "view/qt/text_layout.h"

namespace tsukikage {
namespace {

// The desktop colours of the original platform: form background and the 3D edge.
const QColor kFormBackColor(0xF0, 0xF0, 0xF0);
const QColor kEdgeShadow(0xA0, 0xA0, 0xA0);
const QColor kEdgeHighlight(0xFF, 0xFF, 0xFF);
const QColor kEdgeDarkShadow(0x69, 0x69, 0x69);
const QColor kEdgeLight(0xE3, 0xE3, 0xE3);

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

// Label text: top-left aligned, wrapped at the label width, cut off at the bottom.
void DrawCaption(QPainter& painter, const Control& control, const QRect& box) {
    if (control.caption.empty() || box.width() <= 0 || box.height() <= 0) return;
    const QFont font = ControlFont(control.font);
    // Lines are one em apart: the design's Gothic faces have no leading, and the pages were
    // written for that pitch (a substitute with taller metrics would fit fewer lines).
    const qreal line_height = font.pixelSize();
    // Every line of the caption takes at least one row, so no later line can be seen.
    const int max_lines = static_cast<int>(std::ceil(box.height() / line_height)) + 1;

    const QFontMetricsF metrics(font, painter.device());
    painter.setFont(font);
    painter.setPen(ToQColor(control.fore_color));
    qreal y = box.top();
    for (std::string_view line : LeadingLines(control.caption, max_lines)) {
        const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        for (const QString& row : WrapLine(text, metrics, box.width())) {
            if (y >= box.bottom() + 1) return;
            painter.drawText(QPointF(box.left(), y + metrics.ascent()), row);
            y += line_height;
        }
    }
}

// The sunken 3D edge of a picture box: two rings, shadow above and left, light below and right.
void DrawSunkenEdge(QPainter& painter, QRect r) {
    const QColor top_left[] = {kEdgeShadow, kEdgeDarkShadow};
    const QColor bottom_right[] = {kEdgeHighlight, kEdgeLight};
    for (int ring = 0; ring < kPictureBoxBorder && r.width() > 0 && r.height() > 0; ++ring) {
        painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), top_left[ring]);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), top_left[ring]);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottom_right[ring]);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottom_right[ring]);
        r.adjust(1, 1, -1, -1);
    }
}

// A band `width` pixels wide just inside the rectangle's edge.
void FillRing(QPainter& painter, const QRect& r, int width, const QColor& colour) {
    if (r.width() <= 2 * width || r.height() <= 2 * width) {
        painter.fillRect(r, colour);
        return;
    }
    painter.fillRect(r.left(), r.top(), r.width(), width, colour);
    painter.fillRect(r.left(), r.bottom() + 1 - width, r.width(), width, colour);
    painter.fillRect(r.left(), r.top() + width, width, r.height() - 2 * width, colour);
    painter.fillRect(r.right() + 1 - width, r.top() + width, width, r.height() - 2 * width, colour);
}

// What the keyboard points at: a frame two pixels wide in `colour`, edged in black on both
// sides so that it stands out on any picture.
void DrawFocusFrame(QPainter& painter, const QRect& r, const QColor& colour) {
    FillRing(painter, r, 1, Qt::black);
    FillRing(painter, r.adjusted(1, 1, -1, -1), 2, colour);
    FillRing(painter, r.adjusted(3, 3, -3, -3), 1, Qt::black);
}

void DrawPicture(QPainter& painter, QPoint at, const std::shared_ptr<const Surface>& picture) {
    if (!picture) return;
    const QImage image = SurfaceImage(*picture);
    if (!image.isNull()) painter.drawImage(at, image);
}

}  // namespace

Canvas::Canvas(const Form& form, QWidget* parent) : QWidget(parent), form_(form) {
    setMouseTracking(true);
    // Every pixel is painted each time: no background erase needed.
    setAttribute(Qt::WA_OpaquePaintEvent);
    font_pages_timer_.setSingleShot(true);
    font_pages_timer_.setInterval(1000);
    connect(&font_pages_timer_, &QTimer::timeout, this, [] { LetFontPagesGo(); });
    Rescaled();
}

void Canvas::SetFactor(int factor) {
    factor = std::clamp(factor, kMinScale, kMaxScale);
    if (factor == factor_) return;
    factor_ = factor;
    Rescaled();
}

void Canvas::SetFilling(bool filling) {
    if (filling == filling_) return;
    filling_ = filling;
    Rescaled();
}

void Canvas::SetSmooth(bool smooth) {
    if (smooth == smooth_) return;
    smooth_ = smooth;
    cursors_.clear();
    update();
}

Placement Canvas::placement() const {
    if (filling_) return Placement::Centred(QSizeF(size()), devicePixelRatioF(), smooth_);
    return Placement::Window(factor_, devicePixelRatioF());
}

// A new size or factor: the pointer images are made again at the new size.
void Canvas::Rescaled() {
    if (filling_) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    } else {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setFixedSize(placement().target().size().toSize());
    }
    cursors_.clear();
    arrow_shown_ = false;
    shown_icon_.reset();
    update();
    RefreshPointer();
}

void Canvas::paintEvent(QPaintEvent* /*event*/) {
    if (frame_.isNull() || painted_revision_ != form_.revision) PaintModel();
    QPainter painter(this);
    const QRectF target = placement().target();
    const QRegion letterbox = QRegion(rect()).subtracted(QRegion(target.toAlignedRect()));
    for (const QRect& band : letterbox) painter.fillRect(band, Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth_);
    painter.drawImage(target, frame_);
}

void Canvas::PaintModel() {
    if (frame_.isNull()) frame_ = QImage(kClientWidth, kClientHeight, QImage::Format_RGB32);
    painted_revision_ = form_.revision;
    QPainter painter(&frame_);
    painter.fillRect(frame_.rect(), kFormBackColor);
    DrawPicture(painter, QPoint(0, 0), form_.window_picture);
    const std::vector<ControlId>& order = form_.stacking();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (!form_.IsShown(*it)) continue;
        const Rect visible = form_.VisibleRect(*it);
        if (visible.width <= 0 || visible.height <= 0) continue;
        painter.save();
        painter.setClipRect(ToQRect(visible), Qt::IntersectClip);
        PaintControl(painter, form_[*it]);
        if (form_.key_focus == *it) {
            // In the text's colour on a caption, in white on a picture.
            const Control& control = form_[*it];
            DrawFocusFrame(painter, ToQRect(control.rect),
                           control.kind == ControlKind::Label ? ToQColor(control.fore_color)
                                                              : QColor(Qt::white));
        }
        painter.restore();
    }
    overlay_painter_.Paint(painter, form_.overlay, form_[ControlId::Label1].font);
    font_pages_timer_.start();
}

void Canvas::PaintControl(QPainter& painter, const Control& control) {
    const QRect box = ToQRect(control.rect);
    switch (control.kind) {
        case ControlKind::PictureBox: {
            DrawSunkenEdge(painter, box);
            const QRect inside = box.adjusted(kPictureBoxBorder, kPictureBoxBorder,
                                              -kPictureBoxBorder, -kPictureBoxBorder);
            if (inside.isEmpty()) break;
            painter.setClipRect(inside, Qt::IntersectClip);
            painter.fillRect(inside, ToQColor(control.back_color));
            if (const Surface* image = control.ShownImage()) {
                // The persistent image covers the drawing area in the box's own colours.
                const QImage shown = SurfaceImage(*image);
                if (!shown.isNull()) painter.drawImage(inside.topLeft(), shown);
            } else {
                DrawPicture(painter, inside.topLeft(), control.picture);
            }
            break;
        }
        case ControlKind::Image:
            DrawPicture(painter, box.topLeft(), control.picture);
            break;
        case ControlKind::Label:
        case ControlKind::TextBox:
            painter.fillRect(box, ToQColor(control.back_color));
            // The history over the page stands in for its text: under the shade the page's
            // lines would show through between the history's.
            if (!form_.overlay.history.open) DrawCaption(painter, control, box);
            break;
        case ControlKind::Shape:
            if (box.isEmpty()) break;
            painter.setPen(QPen(ToQColor(control.fore_color), 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            break;
    }
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (on_right_press) on_right_press(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    // A press in the letterbox is no press on the client area.
    const std::optional<QPoint> at = placement().ClientPoint(event->position());
    if (!at) return;
    pressing_ = true;
    if (on_mouse_down) on_mouse_down(at->x(), at->y(), false);
}

void Canvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const std::optional<QPoint> at = placement().ClientPoint(event->position());
    if (!at) return;
    pressing_ = true;
    if (on_mouse_down) on_mouse_down(at->x(), at->y(), true);
}

// While the button is held the pointer belongs to the pressed control wherever it goes, as
// on the original platform: the release and the moves outside the picture reach the engine
// as points outside the client area.
void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressing_) return;
    pressing_ = false;
    const QPoint at = placement().ClientPointAnywhere(event->position());
    if (on_mouse_up) on_mouse_up(at.x(), at.y());
}

void Canvas::wheelEvent(QWheelEvent* event) {
    constexpr int kNotch = 120;  // one notch, in eighths of a degree
    const int turned = event->angleDelta().y();
    // A turn the other way starts counting afresh.
    if ((turned > 0) != (wheel_turned_ > 0)) wheel_turned_ = 0;
    wheel_turned_ += turned;
    while (wheel_turned_ <= -kNotch) {
        wheel_turned_ += kNotch;
        if (on_wheel_down) on_wheel_down();
    }
    while (wheel_turned_ >= kNotch) {
        wheel_turned_ -= kNotch;
        if (on_wheel_up) on_wheel_up();
    }
    event->accept();
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    const Placement shown = placement();
    if (pressing_) {
        const QPoint at = shown.ClientPointAnywhere(event->position());
        if (on_mouse_move) on_mouse_move(at.x(), at.y());
        return;
    }
    const std::optional<QPoint> at = shown.ClientPoint(event->position());
    if (at && on_mouse_move) on_mouse_move(at->x(), at->y());
    ShowPointerAt(at);
}

void Canvas::RefreshPointer() {
    if (!underMouse() || pressing_) return;
    ShowPointerAt(placement().ClientPoint(mapFromGlobal(QCursor::pos())));
}

void Canvas::ShowArrow() {
    if (arrow_shown_) return;
    arrow_shown_ = true;
    shown_icon_.reset();
    setCursor(Qt::ArrowCursor);
}

void Canvas::ShowPointerAt(std::optional<QPoint> client) {
    const MouseIcon* icon = client ? form_.PointerAt(client->x(), client->y()) : nullptr;
    if (!icon) {
        ShowArrow();
        return;
    }
    if (!arrow_shown_ && shown_icon_.lock() == icon->image) return;
    arrow_shown_ = false;
    shown_icon_ = icon->image;
    setCursor(CursorFor(*icon));
}

const QCursor& Canvas::CursorFor(const MouseIcon& icon) {
    std::erase_if(cursors_, [](const auto& entry) { return entry.second.image.expired(); });
    CachedCursor& cached = cursors_[icon.image.get()];
    // A freed image's address may come back for a new one: check it is the same image.
    if (cached.image.lock() != icon.image || cached.hot_x != icon.hot_x ||
        cached.hot_y != icon.hot_y) {
        cached.image = icon.image;
        cached.hot_x = icon.hot_x;
        cached.hot_y = icon.hot_y;
        // The pointer image grows with the picture, in device pixels, its hot spot with it.
        const qreal ratio = devicePixelRatioF();
        const qreal scale = placement().target().width() * ratio / kClientWidth;
        const QImage image = SurfaceImage(*icon.image);
        QPixmap pixmap = QPixmap::fromImage(image.scaled(
            QSize(static_cast<int>(std::lround(image.width() * scale)),
                  static_cast<int>(std::lround(image.height() * scale))),
            Qt::IgnoreAspectRatio, smooth_ ? Qt::SmoothTransformation : Qt::FastTransformation));
        pixmap.setDevicePixelRatio(ratio);
        cached.cursor = QCursor(pixmap, static_cast<int>(std::lround(icon.hot_x * scale / ratio)),
                                static_cast<int>(std::lround(icon.hot_y * scale / ratio)));
    }
    return cached.cursor;
}

}  // namespace tsukikage
