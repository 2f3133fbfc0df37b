#pragma once

#include <QCursor>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/form.h"

namespace tsukikage {

// The client area of the main window: paints the form model and turns mouse input into the
// events of the controls (a click is a left press and release on the same control).
class Canvas : public QWidget {
    Q_OBJECT

  public:
    explicit Canvas(const Form& form, QWidget* parent = nullptr);

    std::function<void(ControlId)> on_click;
    std::function<void(ControlId)> on_mouse_move;

    // The revision of the model last painted.
    std::uint64_t painted_revision() const { return painted_revision_; }

    // Shows the pointer the model asks for at the mouse position, if the mouse is here.
    void RefreshPointer();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void PaintControl(QPainter& painter, const Control& control);
    void ShowPointerAt(QPoint position);
    const QCursor& CursorFor(const MouseIcon& icon);

    const Form& form_;
    std::uint64_t painted_revision_ = 0;

    // The control under a left press; it gets the click if the release is over it too.
    std::optional<ControlId> pressed_;
    bool pressing_ = false;
    // The second press of a double click raises no click, as on the original platform.
    bool double_click_ = false;

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
