#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/surface.h"
#include "window/overlay.h"

namespace tsukikage {

// The form model of the main window: plain data that the engine changes and the view paints.
// Positions are pixels in the 662 x 601 client area (children of Picture1 already offset).

inline constexpr int kClientWidth = 662;
inline constexpr int kClientHeight = 601;
// Picture boxes have a 3D border of this width; their drawing area starts inside it.
inline constexpr int kPictureBoxBorder = 2;

enum class ControlKind { PictureBox, Image, Label, TextBox, Shape };

enum class ControlId : int {
    Picture1,
    Shape1,
    NewGameImage,
    LoadGameImage,
    CGImage,
    SceneImage,
    MusicImage,
    EndImage,
    Label1,
    Label2,
    lblSel0,
    lblSel1,
    imgSel0,
    imgSel1,
    imgAhead,
    CGBack,
    SystemBack,
    MusicBack,
    CGGo,
    MusicPlay,
    MusicGo,
    MusicStop,
    txtTell,
    CGPic0,
    CGPicLast = CGPic0 + 16,
    Master0,
    Master1,
    Count
};

inline constexpr int kControlCount = static_cast<int>(ControlId::Count);

inline ControlId LblSel(int index) {
    return static_cast<ControlId>(int(ControlId::lblSel0) + index);
}
inline ControlId ImgSel(int index) {
    return static_cast<ControlId>(int(ControlId::imgSel0) + index);
}
inline ControlId CGPic(int index) {
    return static_cast<ControlId>(int(ControlId::CGPic0) + index);
}

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool Contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
};

// 0xRRGGBB
using Rgb = std::uint32_t;
inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kRed = 0xFF0000;

struct Font {
    std::string face;    // as the design names it, e.g. "ＭＳ Ｐゴシック"
    double points = 0;   // design size
    int pixel_size = 0;  // the size drawn, independent of the desktop's dpi
};

enum class Pointer { Default, Custom };

// A mouse pointer image with its hot spot.
struct MouseIcon {
    std::shared_ptr<const Surface> image;
    int hot_x = 0;
    int hot_y = 0;
};

struct Control {
    ControlId id{};
    std::string_view name;
    ControlKind kind{};
    std::optional<ControlId> container;  // Picture1 for the controls drawn inside it
    Rect rect;
    bool visible = true;
    bool enabled = true;
    std::string caption;  // labels and text boxes
    Rgb back_color = kBlack;
    Rgb fore_color = kRed;
    Font font;
    std::shared_ptr<const Surface> picture;  // images and picture boxes
    Pointer pointer = Pointer::Default;
    MouseIcon mouse_icon;

    // Picture boxes have a second layer: the persistent image that drawing goes into and the
    // screen shows. It belongs to the picture it was made from: assigning a picture (through
    // AssignPicture or directly) resets it to the picture, and so does clearing; copies and
    // fills change only the image (see graphics/picture_box.h).
    std::shared_ptr<Surface> image;
    std::shared_ptr<const Surface> image_source;  // the picture the image was made from

    void AssignPicture(std::shared_ptr<const Surface> new_picture) {
        picture = std::move(new_picture);
        ClearImage();
    }
    void ClearImage() {
        image.reset();
        image_source.reset();
    }
    // The image to show, or nothing while the box shows just its picture on its back colour.
    const Surface* ShownImage() const {
        return image && image_source == picture ? image.get() : nullptr;
    }
};

enum class MenuId : int {
    SystemMenu,
    NewGame,
    SaveMenu,
    save1,
    save2,
    save3,
    save4,
    save5,
    LoadMenu,
    load1,
    load2,
    load3,
    load4,
    load5,
    EndMenu,
    VerData,
    Count
};

inline constexpr int kMenuCount = static_cast<int>(MenuId::Count);

struct MenuItem {
    MenuId id{};
    std::string_view name;
    std::string caption;
    std::optional<MenuId> parent;  // nothing for items on the menu bar itself
    bool enabled = true;
};

struct Timer {
    int interval_ms = 0;
    bool enabled = true;
};

enum class TimerId : int {
    Timer1,    // transitions, every 50 ms for the whole run
    Timer2,    // the start-up sequence, every second for the whole run
    BgmWatch,  // the looping-music watch, only while a looping piece is open
    Comfort,   // skip and auto mode, only while one of them is on
    Count
};

inline constexpr int kTimerCount = static_cast<int>(TimerId::Count);
// Skip shows a page per screen refresh at most.
inline constexpr int kComfortTickMs = 16;
inline constexpr int kThumbnailCount = 17;  // CGPic(0) to CGPic(16)

// Keys and wheel turns the player may use beside the mouse.
enum class Key {
    Return,
    Space,
    PageDown,
    PageUp,
    Right,
    Left,
    Up,
    Down,
    Digit1,
    Digit2,
    WheelDown,
    WheelUp,
    Escape,
    A,
    Backspace,
    V,
};

// The design names of controls and menu items ("lblSel(0)", "save1").
std::string_view ControlName(ControlId id);
std::string_view MenuName(MenuId id);
std::string_view TimerName(TimerId id);

class Form {
  public:
    Form();  // every control, menu and timer in its design state

    std::string caption;
    std::shared_ptr<const Surface> window_picture;  // drawn behind every control
    // The control the keyboard points at (a choice caption or a title image): drawn with a
    // dotted frame while it is shown.
    std::optional<ControlId> key_focus;
    // The history, and the sign of skip and auto mode, drawn over everything.
    Overlay overlay;
    // Counts changes of the model, so the view repaints only when something changed.
    std::uint64_t revision = 0;
    void Changed() { ++revision; }
    Timer& timer(TimerId id) { return timers_[static_cast<std::size_t>(id)]; }
    const Timer& timer(TimerId id) const { return timers_[static_cast<std::size_t>(id)]; }

    Control& operator[](ControlId id) { return controls_[static_cast<std::size_t>(id)]; }
    const Control& operator[](ControlId id) const {
        return controls_[static_cast<std::size_t>(id)];
    }
    MenuItem& menu(MenuId id) { return menus_[static_cast<std::size_t>(id)]; }
    const MenuItem& menu(MenuId id) const { return menus_[static_cast<std::size_t>(id)]; }
    const std::array<MenuItem, kMenuCount>& menus() const { return menus_; }

    // Front to back: the order in which controls cover each other.
    const std::vector<ControlId>& stacking() const { return stacking_; }

    // Shows a control and lets it take events, or hides it and keeps them away.
    void Show(ControlId id);
    void Hide(ControlId id);

    // Shown on screen: visible itself and inside a visible container.
    bool IsShown(ControlId id) const;
    // The rectangle actually drawn: clipped to the container and the client area.
    Rect VisibleRect(ControlId id) const;

    // The front-most shown and enabled control under a client-area point: the one that
    // receives a click or a mouse move there.
    std::optional<ControlId> HitTest(int x, int y) const;

    // The pointer to show over a point: the custom image of the control under it, if that
    // control's pointer is custom.
    const MouseIcon* PointerAt(int x, int y) const;

    // The two-way choice waits for a pick: its captions and their markers are shown.
    bool ChoicesShown() const { return IsShown(ControlId::lblSel0) && IsShown(ControlId::imgSel0); }

    // A menu item that can be chosen: enabled, and all its parents enabled.
    bool IsMenuAvailable(MenuId id) const;

  private:
    std::array<Control, kControlCount> controls_;
    std::array<MenuItem, kMenuCount> menus_;
    std::array<Timer, kTimerCount> timers_;
    std::vector<ControlId> stacking_;
};

}  // namespace tsukikage
