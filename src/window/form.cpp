#include "window/form.h"

#include <algorithm>

namespace tsukikage {
namespace {

const Font kMessageFont{"ＭＳ Ｐゴシック", 18.0, 24};
const Font kChoiceFont{"ＭＳ Ｐゴシック", 21.75, 29};

struct ControlDesign {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    bool in_picture1;
    Rect rect;  // relative to the container's drawing area
    bool visible;
    bool enabled;
};

// Every control of the window in its design state.
// clang-format off
constexpr ControlDesign kDesign[] = {
    {ControlId::Picture1, "Picture1", ControlKind::PictureBox, false, {8, 8, 645, 483}, true, true},
    {ControlId::Shape1, "Shape1", ControlKind::Shape, true, {0, 0, 160, 120}, false, true},
    {ControlId::NewGameImage, "NewGameImage", ControlKind::Image, true, {416, 264, 211, 26}, false, true},
    {ControlId::LoadGameImage, "LoadGameImage", ControlKind::Image, true, {416, 296, 211, 26}, false, true},
    {ControlId::CGImage, "CGImage", ControlKind::Image, true, {416, 328, 211, 26}, false, true},
    {ControlId::SceneImage, "SceneImage", ControlKind::Image, true, {416, 360, 211, 26}, false, true},
    {ControlId::MusicImage, "MusicImage", ControlKind::Image, true, {416, 392, 211, 26}, false, true},
    {ControlId::EndImage, "EndImage", ControlKind::Image, true, {416, 424, 211, 26}, false, true},
    {ControlId::Label1, "Label1", ControlKind::Label, false, {8, 496, 645, 105}, true, true},
    {ControlId::Label2, "Label2", ControlKind::Label, false, {88, 536, 89, 25}, false, false},
    {ControlId::lblSel0, "lblSel(0)", ControlKind::Label, false, {16, 504, 593, 41}, true, true},
    {ControlId::lblSel1, "lblSel(1)", ControlKind::Label, false, {16, 552, 593, 41}, true, true},
    {ControlId::imgSel0, "imgSel(0)", ControlKind::Image, false, {632, 504, 32, 32}, false, true},
    {ControlId::imgSel1, "imgSel(1)", ControlKind::Image, false, {632, 552, 32, 32}, false, true},
    {ControlId::imgAhead, "imgAhead", ControlKind::Image, false, {600, 552, 32, 32}, false, false},
    {ControlId::CGBack, "CGBack", ControlKind::Image, false, {240, 528, 32, 32}, false, false},
    {ControlId::SystemBack, "SystemBack", ControlKind::Image, false, {304, 528, 32, 32}, false, false},
    {ControlId::MusicBack, "MusicBack", ControlKind::Image, false, {352, 528, 35, 32}, false, false},
    {ControlId::CGGo, "CGGo", ControlKind::Image, false, {368, 528, 32, 32}, false, false},
    {ControlId::MusicPlay, "MusicPlay", ControlKind::Image, false, {400, 528, 32, 32}, false, false},
    {ControlId::MusicGo, "MusicGo", ControlKind::Image, false, {448, 528, 35, 32}, false, false},
    {ControlId::MusicStop, "MusicStop", ControlKind::Image, false, {504, 528, 35, 32}, false, false},
    {ControlId::txtTell, "txtTell", ControlKind::TextBox, false, {32, 600, 537, 97}, false, true},
    {ControlId::Master0, "Master(0)", ControlKind::PictureBox, false, {672, 520, 644, 484}, false, true},
    {ControlId::Master1, "Master(1)", ControlKind::PictureBox, false, {672, 528, 644, 484}, false, true},
};
// clang-format on

constexpr std::string_view kCGPicNames[] = {
    "CGPic(0)",  "CGPic(1)",  "CGPic(2)",  "CGPic(3)",  "CGPic(4)",  "CGPic(5)",
    "CGPic(6)",  "CGPic(7)",  "CGPic(8)",  "CGPic(9)",  "CGPic(10)", "CGPic(11)",
    "CGPic(12)", "CGPic(13)", "CGPic(14)", "CGPic(15)", "CGPic(16)"};

// Front to back.
constexpr ControlId kStacking[] = {
    ControlId::imgAhead,      ControlId::CGBack,    ControlId::SystemBack, ControlId::MusicBack,
    ControlId::CGGo,          ControlId::MusicPlay, ControlId::MusicGo,    ControlId::MusicStop,
    ControlId::Label2,        ControlId::Label1,    ControlId::imgSel0,    ControlId::imgSel1,
    ControlId::lblSel0,       ControlId::lblSel1,   ControlId::Shape1,     ControlId::NewGameImage,
    ControlId::LoadGameImage, ControlId::CGImage,   ControlId::SceneImage, ControlId::MusicImage,
    ControlId::EndImage,      ControlId::Picture1,  ControlId::txtTell,    ControlId::Master0,
    ControlId::Master1};

struct MenuDesign {
    MenuId id;
    std::string_view name;
    std::string_view caption;
    std::optional<MenuId> parent;
};

const MenuDesign kMenus[] = {
    {MenuId::SystemMenu, "SystemMenu", "システム", std::nullopt},
    {MenuId::NewGame, "NewGame", "ニューゲーム", MenuId::SystemMenu},
    {MenuId::SaveMenu, "SaveMenu", "セーブ", MenuId::SystemMenu},
    {MenuId::save1, "save1", "セーブ１", MenuId::SaveMenu},
    {MenuId::save2, "save2", "セーブ２", MenuId::SaveMenu},
    {MenuId::save3, "save3", "セーブ３", MenuId::SaveMenu},
    {MenuId::save4, "save4", "セーブ４", MenuId::SaveMenu},
    {MenuId::save5, "save5", "セーブ５", MenuId::SaveMenu},
    {MenuId::LoadMenu, "LoadMenu", "ロード", MenuId::SystemMenu},
    {MenuId::load1, "load1", "ロード１", MenuId::LoadMenu},
    {MenuId::load2, "load2", "ロード２", MenuId::LoadMenu},
    {MenuId::load3, "load3", "ロード３", MenuId::LoadMenu},
    {MenuId::load4, "load4", "ロード４", MenuId::LoadMenu},
    {MenuId::load5, "load5", "ロード５", MenuId::LoadMenu},
    {MenuId::EndMenu, "EndMenu", "おわり", MenuId::SystemMenu},
    {MenuId::VerData, "VerData", "バージョン情報", std::nullopt},
};

Rect Intersect(const Rect& a, const Rect& b) {
    int left = std::max(a.left, b.left);
    int top = std::max(a.top, b.top);
    int right = std::min(a.left + a.width, b.left + b.width);
    int bottom = std::min(a.top + a.height, b.top + b.height);
    if (right <= left || bottom <= top) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
}

}  // namespace

std::string_view ControlName(ControlId id) {
    for (const ControlDesign& d : kDesign) {
        if (d.id == id) return d.name;
    }
    const int thumbnail = static_cast<int>(id) - static_cast<int>(ControlId::CGPic0);
    if (thumbnail >= 0 && thumbnail < kThumbnailCount) return kCGPicNames[thumbnail];
    return "?";
}

std::string_view TimerName(TimerId id) {
    constexpr std::string_view kNames[] = {"Timer1", "Timer2", "BgmWatch", "Comfort"};
    static_assert(std::size(kNames) == kTimerCount);
    return kNames[static_cast<std::size_t>(id)];
}

std::string_view MenuName(MenuId id) {
    for (const MenuDesign& m : kMenus) {
        if (m.id == id) return m.name;
    }
    return "?";
}

Form::Form()
    : caption("月影回廊物語"),
      // The watch is short enough that a looping piece restarts without a gap.
      timers_{Timer{50, true}, Timer{1000, true}, Timer{20, false}, Timer{kComfortTickMs, false}} {
    const Rect picture1 = kDesign[0].rect;
    for (const ControlDesign& d : kDesign) {
        Control& c = (*this)[d.id];
        c.id = d.id;
        c.name = d.name;
        c.kind = d.kind;
        c.rect = d.rect;
        if (d.in_picture1) {
            c.container = ControlId::Picture1;
            c.rect.left += picture1.left + kPictureBoxBorder;
            c.rect.top += picture1.top + kPictureBoxBorder;
        }
        c.visible = d.visible;
        c.enabled = d.enabled;
    }
    for (int i = 0; i < kThumbnailCount; ++i) {
        Control& c = (*this)[CGPic(i)];
        c.id = CGPic(i);
        c.name = ControlName(CGPic(i));
        c.kind = ControlKind::PictureBox;
        c.rect = {0, 0, 57, 81};
        c.visible = false;
    }
    for (ControlId id : {ControlId::Label1, ControlId::Label2, ControlId::txtTell}) {
        (*this)[id].font = kMessageFont;
    }
    for (int i = 0; i < 2; ++i) (*this)[LblSel(i)].font = kChoiceFont;
    (*this)[ControlId::Label1].caption = "\u3000\u3000\u3000";
    (*this)[ControlId::Label2].caption = "1枚目";

    // The thumbnails stand in front of Shape1.
    for (ControlId id : kStacking) {
        if (id == ControlId::Shape1) {
            for (int i = 0; i < kThumbnailCount; ++i) stacking_.push_back(CGPic(i));
        }
        stacking_.push_back(id);
    }

    for (const MenuDesign& m : kMenus) {
        MenuItem& item = menu(m.id);
        item.id = m.id;
        item.name = m.name;
        item.caption = std::string(m.caption);
        item.parent = m.parent;
    }
    menu(MenuId::SystemMenu).enabled = false;
}

void Form::Show(ControlId id) {
    Control& c = (*this)[id];
    c.visible = true;
    c.enabled = true;
}

void Form::Hide(ControlId id) {
    Control& c = (*this)[id];
    c.visible = false;
    c.enabled = false;
}

bool Form::IsShown(ControlId id) const {
    const Control& c = (*this)[id];
    if (!c.visible) return false;
    return !c.container || IsShown(*c.container);
}

Rect Form::VisibleRect(ControlId id) const {
    const Control& c = (*this)[id];
    Rect area = Intersect(c.rect, {0, 0, kClientWidth, kClientHeight});
    if (c.container) {
        const Rect& outer = (*this)[*c.container].rect;
        Rect inner{outer.left + kPictureBoxBorder, outer.top + kPictureBoxBorder,
                   outer.width - 2 * kPictureBoxBorder, outer.height - 2 * kPictureBoxBorder};
        area = Intersect(area, inner);
    }
    return area;
}

std::optional<ControlId> Form::HitTest(int x, int y) const {
    for (ControlId id : stacking_) {
        const Control& c = (*this)[id];
        // A shape is drawn only: the pointer reaches what lies under it.
        if (!IsShown(id) || !c.enabled || c.kind == ControlKind::Shape) continue;
        if (c.container && !(*this)[*c.container].enabled) continue;
        if (VisibleRect(id).Contains(x, y)) return id;
    }
    return std::nullopt;
}

const MouseIcon* Form::PointerAt(int x, int y) const {
    std::optional<ControlId> id = HitTest(x, y);
    if (!id) return nullptr;
    const Control& c = (*this)[*id];
    if (c.pointer != Pointer::Custom || !c.mouse_icon.image) return nullptr;
    return &c.mouse_icon;
}

bool Form::IsMenuAvailable(MenuId id) const {
    for (std::optional<MenuId> m = id; m; m = menu(*m).parent) {
        if (!menu(*m).enabled) return false;
    }
    return true;
}

}  // namespace tsukikage
