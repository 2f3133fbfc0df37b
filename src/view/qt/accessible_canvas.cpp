#include "view/qt/accessible_canvas.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "view/qt/canvas.h"

namespace tsukikage {
namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Text is a paragraph, not a label: Orca reads a new name of the focused object, except of a
// label or a list item, whose name changes it ignores as noise.
QAccessible::Role RoleOf(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::Button:
            return QAccessible::Button;
        case AccessibleRole::ListItem:
            return QAccessible::ListItem;
        case AccessibleRole::StaticText:
            break;
    }
    return QAccessible::Paragraph;
}

// One thing the canvas draws. It asks its owner for the item each time, so it never tells
// stale words; while the item is not shown it reports itself invisible and childless.
class ItemInterface : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    ItemInterface(CanvasAccessibility* owner, int key) : owner_(owner), key_(key) {}

    bool isValid() const override { return !owner_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return owner_ ? owner_->canvas()->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return owner_ ? QAccessible::queryAccessibleInterface(owner_->canvas()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        const AccessibleItem* item = Item();
        if (!item || t != QAccessible::Name) return {};
        return FromUtf8(item->name);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const AccessibleItem* item = Item();
        return item ? owner_->ScreenRect(item->rect) : QRect();
    }
    QAccessible::Role role() const override {
        const AccessibleItem* item = Item();
        return item ? RoleOf(item->role) : QAccessible::Paragraph;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        const AccessibleItem* item = Item();
        if (!item) {
            state.invisible = true;
            return state;
        }
        state.disabled = !item->enabled;
        state.focusable = item->role != AccessibleRole::StaticText || item->focused;
        state.focused = item->focused;
        state.readOnly = item->role == AccessibleRole::StaticText;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        const AccessibleItem* item = Item();
        if (type == QAccessible::ActionInterface && item &&
            item->role != AccessibleRole::StaticText)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        const AccessibleItem* item = Item();
        if (name != pressAction() || !item || !item->enabled || item->key >= kControlCount) return;
        if (owner_->on_press) owner_->on_press(static_cast<ControlId>(item->key));
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    const AccessibleItem* Item() const { return owner_ ? owner_->Item(key_) : nullptr; }

    QPointer<CanvasAccessibility> owner_;
    int key_;
};

// The canvas itself, with the items as its children in reading order.
class CanvasInterface : public QAccessibleWidget {
  public:
    CanvasInterface(Canvas* canvas, CanvasAccessibility* owner)
        : QAccessibleWidget(canvas, QAccessible::Canvas), owner_(owner) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return QStringLiteral("ゲーム画面");
        return QAccessibleWidget::text(t);
    }
    int childCount() const override {
        return owner_ ? static_cast<int>(owner_->items().size()) : 0;
    }
    QAccessibleInterface* child(int index) const override {
        if (!owner_ || index < 0 || index >= childCount()) return nullptr;
        return owner_->Child(owner_->items()[static_cast<std::size_t>(index)].key);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (this->child(i) == child) return i;
        }
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        if (!owner_) return nullptr;
        for (const AccessibleItem& item : owner_->items()) {
            if (item.focused) return owner_->Child(item.key);
        }
        return nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (!owner_) return nullptr;
        // The front-most is the last one in reading order that covers the point.
        const std::vector<AccessibleItem>& items = owner_->items();
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            if (owner_->ScreenRect(it->rect).contains(x, y)) return owner_->Child(it->key);
        }
        return nullptr;
    }

  private:
    QPointer<CanvasAccessibility> owner_;
};

QAccessibleInterface* CanvasFactory(const QString& class_name, QObject* object) {
    // The canvas's window is a plain widget, which would read as a filler: it is the frame
    // that screen readers name the game by.
    if (class_name == QLatin1String("tsukikage::GameWindow")) {
        auto* window = qobject_cast<QWidget*>(object);
        return window ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
    }
    if (class_name != QLatin1String(Canvas::staticMetaObject.className())) return nullptr;
    auto* canvas = qobject_cast<Canvas*>(object);
    if (!canvas) return nullptr;
    auto* owner = canvas->findChild<CanvasAccessibility*>(QString(), Qt::FindDirectChildrenOnly);
    return owner ? new CanvasInterface(canvas, owner) : nullptr;
}

int IndexOfKey(const std::vector<AccessibleItem>& items, int key) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].key == key) return static_cast<int>(i);
    }
    return -1;
}

const AccessibleItem* Focused(const std::vector<AccessibleItem>& items) {
    const auto at = std::find_if(items.begin(), items.end(),
                                 [](const AccessibleItem& item) { return item.focused; });
    return at == items.end() ? nullptr : &*at;
}

}  // namespace

CanvasAccessibility::CanvasAccessibility(Canvas* canvas, const Form& form, const WindowState& state)
    : QObject(canvas), canvas_(canvas), form_(form), state_(state) {
    static const bool installed = [] {
        QAccessible::installFactory(CanvasFactory);
        return true;
    }();
    (void)installed;
    canvas->window()->installEventFilter(this);
}

bool CanvasAccessibility::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::WindowActivate) {
        // After the window's own focus event, which comes once this returns.
        QTimer::singleShot(0, this, [this] { AnnounceFocus(); });
    }
    return QObject::eventFilter(watched, event);
}

void CanvasAccessibility::AnnounceFocus() {
    if (!QAccessible::isActive() || !canvas_->window()->isActiveWindow()) return;
    if (const AccessibleItem* focused = Focused(items_)) {
        QAccessibleEvent focus(Child(focused->key), QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

CanvasAccessibility::~CanvasAccessibility() {
    for (QAccessible::Id id : child_ids_) {
        if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }
}

const AccessibleItem* CanvasAccessibility::Item(int key) const {
    const int index = IndexOfKey(items_, key);
    return index < 0 ? nullptr : &items_[static_cast<std::size_t>(index)];
}

QAccessibleInterface* CanvasAccessibility::Child(int key) {
    if (key < 0 || key >= kAccessibleKeyCount) return nullptr;
    QAccessible::Id& id = child_ids_[static_cast<std::size_t>(key)];
    if (id == 0) id = QAccessible::registerAccessibleInterface(new ItemInterface(this, key));
    return QAccessible::accessibleInterface(id);
}

QRect CanvasAccessibility::ScreenRect(const Rect& client) const {
    const QRectF target = canvas_->placement().target();
    const qreal scale = target.width() / kClientWidth;
    const QRectF shown(target.left() + client.left * scale, target.top() + client.top * scale,
                       client.width * scale, client.height * scale);
    return QRect(canvas_->mapToGlobal(shown.topLeft().toPoint()), shown.size().toSize());
}

void CanvasAccessibility::Update() {
    if (seen_revision_ == form_.revision) return;
    seen_revision_ = form_.revision;
    std::vector<AccessibleItem> before = std::exchange(items_, AccessibleItems(form_, state_));
    if (!QAccessible::isActive()) return;

    // An item whose words changed goes, and a new one takes its place and the focus: a screen
    // reader reads what takes the focus, but Orca does not read a new name of what has it
    // (it ignores the name changes of text, and Qt 6.4 sends the object instead of the name).
    for (const AccessibleItem& old : before) {
        const AccessibleItem* now = Item(old.key);
        if (!now || now->name != old.name) Retire(old.key);
    }
    bool focus_renewed = false;
    for (const AccessibleItem& item : items_) {
        const int was = IndexOfKey(before, item.key);
        if (was >= 0 && before[static_cast<std::size_t>(was)].name == item.name) continue;
        QAccessibleEvent added(Child(item.key), QAccessible::ObjectCreated);
        QAccessible::updateAccessibility(&added);
        focus_renewed = focus_renewed || item.focused;
    }
    const AccessibleItem* focused = Focused(items_);
    const AccessibleItem* was_focused = Focused(before);
    if (focused && (focus_renewed || !was_focused || was_focused->key != focused->key)) {
        AnnounceFocus();
    }
}

void CanvasAccessibility::Retire(int key) {
    QAccessible::Id& id = child_ids_[static_cast<std::size_t>(key)];
    if (id == 0) return;
    QAccessibleEvent gone(QAccessible::accessibleInterface(id), QAccessible::ObjectDestroyed);
    QAccessible::updateAccessibility(&gone);
    QAccessible::deleteAccessibleInterface(id);
    id = 0;
}

}  // namespace tsukikage
