#pragma once

#include <QAccessible>
#include <QObject>
#include <QRect>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "window/accessible_items.h"
#include "window/form.h"
#include "window/window_state.h"

namespace tsukikage {

class Canvas;

// The canvas draws everything in one widget; this gives screen readers (Qt's accessibility,
// AT-SPI on Linux) an accessible child for each thing it draws that carries meaning, and
// tells them what changed after each event, so a new page or a new choice is read out
// without the player moving anything. Lives as a child of the canvas it describes.
class CanvasAccessibility : public QObject {
    Q_OBJECT

  public:
    CanvasAccessibility(Canvas* canvas, const Form& form, const WindowState& state);
    ~CanvasAccessibility() override;

    // An assistive technology pressed an item: a click on that control.
    std::function<void(ControlId)> on_press;

    // Brings the items up to date with the model, and sends the events that announce the
    // change to whoever listens.
    void Update();

    Canvas* canvas() const { return canvas_; }
    const std::vector<AccessibleItem>& items() const { return items_; }
    const AccessibleItem* Item(int key) const;
    // The interface of an item, made the first time it is asked for and kept until the end.
    QAccessibleInterface* Child(int key);
    // Client-area pixels to the screen, through the canvas's scale and placement.
    QRect ScreenRect(const Rect& client) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Tells that the focused item has the focus, as the window's own focus event would
    // otherwise leave the screen reader on the window.
    void AnnounceFocus();
    // The item's interface goes; the next one asked for under its key is a new object.
    void Retire(int key);

    Canvas* canvas_;
    const Form& form_;
    const WindowState& state_;
    std::vector<AccessibleItem> items_;
    std::optional<std::uint64_t> seen_revision_;
    std::array<QAccessible::Id, kAccessibleKeyCount> child_ids_{};
};

}  // namespace tsukikage
