#pragma once

#include <QCursor>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "window/form.h"

namespace tsukikage {

// The client area of the main window: paints the form model and passes the left button and
// the pointer on, in client-area pixels.
class Canvas : public QWidget {
    Q_OBJECT

  public:
    explicit Canvas(const Form& form, QWidget* parent = nullptr);

    std::function<void(int x, int y, bool double_click)> on_mouse_down;
    std::function<void(int x, int y)> on_mouse_up;
    std::function<void(int x, int y)> on_mouse_move;

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
    // The pointer keeps its look while the button is held.
    bool pressing_ = false;

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
