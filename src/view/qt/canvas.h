#pragma once

#include <QCursor>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "view/qt/overlay_painter.h"
#include "view/qt/scaling.h"
#include "window/form.h"

namespace tsukikage {

// The client area of the main window: paints the form model and passes the left button and
// the pointer on, in client-area pixels. The model is painted into a picture of the client
// area's own size once per change; the widget shows that picture scaled by a whole factor
// (its size follows), or, filling whatever room it gets, centred and letterboxed in black.
class Canvas : public QWidget {
    Q_OBJECT

  public:
    explicit Canvas(const Form& form, QWidget* parent = nullptr);

    std::function<void(int x, int y, bool double_click)> on_mouse_down;
    std::function<void(int x, int y)> on_mouse_up;
    std::function<void(int x, int y)> on_mouse_move;
    // One notch of the wheel turned towards the player, or away from the player.
    std::function<void()> on_wheel_down;
    std::function<void()> on_wheel_up;
    // The right button pressed, at a point on the screen.
    std::function<void(QPoint global)> on_right_press;

    // Shows the pointer the model asks for at the mouse position, if the mouse is here.
    void RefreshPointer();

    // Device pixels per client pixel while the canvas does not fill.
    void SetFactor(int factor);
    int factor() const { return factor_; }
    // Filling: the canvas takes the room it is given and centres the picture in it.
    void SetFilling(bool filling);
    bool filling() const { return filling_; }
    // Smooth scaling instead of the sharp nearest-pixel default.
    void SetSmooth(bool smooth);
    Placement placement() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void PaintModel();
    void PaintControl(QPainter& painter, const Control& control);
    void ShowPointerAt(std::optional<QPoint> client);
    void ShowArrow();
    const QCursor& CursorFor(const MouseIcon& icon);
    void Rescaled();

    const Form& form_;
    QImage frame_;
    OverlayPainter overlay_painter_;
    // A second after the last drawing, the font files' pages go (view/qt/font_pages.h).
    QTimer font_pages_timer_;
    std::optional<std::uint64_t> painted_revision_;
    int factor_ = 1;
    bool filling_ = false;
    bool smooth_ = false;
    // The pointer keeps its look while the button is held.
    bool pressing_ = false;
    // Fine-grained wheels (touchpads) send parts of a notch; they add up to whole notches.
    int wheel_turned_ = 0;

    struct CachedCursor {
        std::weak_ptr<const Surface> image;
        int hot_x = 0;
        int hot_y = 0;
        QCursor cursor;
    };
    std::map<const Surface*, CachedCursor> cursors_;
    std::weak_ptr<const Surface> shown_icon_;
    bool arrow_shown_ = true;
};

}  // namespace tsukikage
