#include "extras/gallery.h"

#include <cmath>

#include "base/runtime_error.h"
#include "base/surface_ops.h"
#include "graphics/graphics.h"
#include "graphics/picture_box.h"
#include "graphics/picture_names.h"

namespace tsukikage {
namespace {

constexpr int kCellWidth = 160;
constexpr int kCellHeight = 120;
constexpr int kColumns = 4;
constexpr int kCells = 16;
constexpr std::string_view kPlaceholderThumbnail = "\\data\\smallsize\\nothing.jpg";
constexpr std::string_view kPlaceholder = "\\data\\nothing.jpg";

// The drawing area of the game screen starts inside its border.
int ScreenLeft(const Form& form) {
    return form[ControlId::Picture1].rect.left + kPictureBoxBorder;
}
int ScreenTop(const Form& form) {
    return form[ControlId::Picture1].rect.top + kPictureBoxBorder;
}

// The cell a pointer coordinate picks when clicked: 0 up to and including the first bound,
// and so on; nothing beyond the last.
std::optional<int> CellUpTo(int at, int size) {
    for (int cell = 0; cell < 4; ++cell) {
        if (at <= size * (cell + 1)) return cell;
    }
    return std::nullopt;
}

}  // namespace

void Gallery::ClaimEvents(EventTable& events) {
    constexpr Screen kOn = Screen::Gallery;
    events.OnClick(
        ControlId::CGGo, "Gallery::CGGo_Click", [this] { CGGo_Click(); }, kOn);
    events.OnClick(
        ControlId::CGBack, "Gallery::CGBack_Click", [this] { CGBack_Click(); }, kOn);
    events.OnClick(
        ControlId::SystemBack, "Gallery::SystemBack_Click", [this] { SystemBack_Click(); }, kOn);
    events.OnClick(
        ControlId::Picture1, "Gallery::Picture1_Click", [this] { Picture1_Click(); }, kOn);
    events.OnMouseMove(
        ControlId::Picture1, "Gallery::Picture1_MouseMove",
        [this](int x, int y) { Picture1_MouseMove(x, y); }, kOn);
}

void Gallery::Open() {
    w_.state.CGPage = 1;
    w_.SelectMode(Mode::Gallery);
    w_.form.key_focus.reset();  // the keys start afresh on the screen
    w_.form[ControlId::Shape1].visible = true;
    w_.form.Show(ControlId::SystemBack);
    CGViewing = false;
    graphics_.LoadRecord();
    ShowPage();
}

// A seen picture shows its thumbnail, any other the placeholder; numbers past the last
// picture have no record entry and show the placeholder too. A thumbnail that cannot be
// loaded shows the placeholder, and a missing placeholder leaves its cell empty.
void Gallery::LoadThumbnails() {
    std::shared_ptr<const Surface> placeholder;
    bool placeholder_tried = false;
    for (int k = 0; k < kCells; ++k) {
        const int number = w_.state.CGPage + k;
        std::shared_ptr<const Surface> thumbnail;
        if (number <= kLastPicture && w_.state.CGSeen[static_cast<std::size_t>(number)]) {
            try {
                thumbnail = w_.LoadPictureIfPresent(ThumbnailFileName(number));
            } catch (const RuntimeError&) {
            }
        }
        if (!thumbnail) {
            if (!placeholder_tried) {
                placeholder_tried = true;
                try {
                    placeholder = w_.LoadPictureIfPresent(kPlaceholderThumbnail);
                } catch (const RuntimeError&) {
                }
            }
            thumbnail = placeholder;
        }
        w_.form[CGPic(k)].AssignPicture(thumbnail);
    }
}

void Gallery::PaintThumbnailPage() {
    Surface& screen = DrawingImage(w_.form[ControlId::Picture1]);
    for (int k = 0; k < kCells; ++k) {
        const std::shared_ptr<const Surface>& thumbnail = w_.form[CGPic(k)].picture;
        if (!thumbnail) continue;
        const PixelRect whole{0, 0, thumbnail->width, thumbnail->height};
        CopySurface(screen, kCellWidth * (k % kColumns), kCellHeight * (k / kColumns), *thumbnail,
                    whole);
    }
    w_.form.Changed();
}

// The page afresh: thumbnails over the screen's own picture.
void Gallery::ShowPage() {
    LoadThumbnails();
    w_.form[ControlId::Picture1].ClearImage();
    PaintThumbnailPage();
}

void Gallery::TurnPage(int by) {
    w_.state.CGPage = static_cast<std::uint8_t>(w_.state.CGPage + by);
    w_.form[ControlId::Label2].caption = std::to_string(w_.state.CGPage) + "枚目";
    ShowPage();
}

void Gallery::CGGo_Click() {
    if (!CGViewing && w_.state.CGPage + kCells <= w_.state.CGCount) TurnPage(kCells);
}

void Gallery::CGBack_Click() {
    if (!CGViewing && w_.state.CGPage >= kCells) TurnPage(-kCells);
}

void Gallery::Picture1_MouseMove(int x, int y) {
    const int px = x - ScreenLeft(w_.form);
    const int py = y - ScreenTop(w_.form);
    CGCellCol = static_cast<std::int16_t>(px / kCellWidth);
    CGCellRow = static_cast<std::int16_t>(py / kCellHeight);
    CGMouseX = static_cast<std::int16_t>(px);
    CGMouseY = static_cast<std::int16_t>(py);
    if (CGViewing) return;
    Rect& frame = w_.form[ControlId::Shape1].rect;
    const int left = ScreenLeft(w_.form) + kCellWidth * CGCellCol;
    const int top = ScreenTop(w_.form) + kCellHeight * CGCellRow;
    if (frame.left != left || frame.top != top) {
        frame.left = left;
        frame.top = top;
        w_.form.Changed();
    }
}

void Gallery::Picture1_Click() {
    if (CGViewing) return;
    const std::optional<int> row = CellUpTo(CGMouseY, kCellHeight);
    const std::optional<int> column = CellUpTo(CGMouseX, kCellWidth);
    if (!row || !column) return;
    const int number = w_.state.CGPage + kColumns * *row + *column;
    // Past the last picture there is nothing to show.
    if (number > kLastPicture) return;
    CGNumber = static_cast<std::uint8_t>(number);
    // A picture or placeholder that cannot be loaded leaves the page as it was, taking clicks.
    if (w_.state.CGSeen[CGNumber]) {
        try {
            graphics_.ShowPicture(CGNumber);
            CGViewing = true;
        } catch (const RuntimeError&) {
        }
        return;
    }
    // Not seen: the placeholder over the page, which the handlers still treat as the page.
    try {
        w_.form[ControlId::Picture1].AssignPicture(w_.LoadPicture(kPlaceholder));
        w_.form[ControlId::Shape1].visible = false;
    } catch (const RuntimeError&) {
    }
    w_.form.Changed();
}

void Gallery::SystemBack_Click() {
    if (CGViewing) {
        CGViewing = false;
        w_.form[ControlId::Shape1].visible = true;
        LoadThumbnails();
        PaintThumbnailPage();
        return;
    }
    // The title theme, which the gallery never stopped, plays on.
    w_.SelectMode(Mode::Title);
}

}  // namespace tsukikage
