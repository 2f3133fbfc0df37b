#include <array>
#include <string>

#include "title/title.h"
#include "title/title_texts.h"
#include "window/title_images.h"

namespace tsukikage {
namespace {

// What a layout does to a control: show (visible and enabled), hide (invisible and
// disabled), make invisible only, or leave it as it is.
enum Act : std::uint8_t { Keep, Show, Hide, Invisible };

// The six layouts, in the order of the mode flags that choose them.
enum Layout : std::uint8_t { kTitle, kGame, kLoad, kGallery, kMusic, kScene, kLayouts };

struct Row {
    ControlId control;
    std::array<Act, kLayouts> act;  // title, game, load, gallery, music, scene
};

// clang-format off
constexpr Row kRows[] = {
    {ControlId::Label2,        {Hide,      Keep, Keep, Show, Keep, Keep}},
    {ControlId::Shape1,        {Invisible, Keep, Keep, Keep, Keep, Invisible}},
    {ControlId::Picture1,      {Show,      Keep, Keep, Keep, Keep, Show}},
    {ControlId::Label1,        {Show,      Keep, Keep, Hide, Keep, Show}},
    {ControlId::NewGameImage,  {Show,      Hide, Keep, Hide, Hide, Hide}},
    {ControlId::LoadGameImage, {Show,      Hide, Keep, Hide, Hide, Hide}},
    {ControlId::CGImage,       {Show,      Hide, Keep, Hide, Hide, Hide}},
    {ControlId::SceneImage,    {Show,      Hide, Keep, Hide, Hide, Hide}},
    {ControlId::MusicImage,    {Show,      Hide, Keep, Hide, Hide, Hide}},
    {ControlId::EndImage,      {Show,      Hide, Keep, Hide, Hide, Hide}},
    {ControlId::lblSel0,       {Keep,      Keep, Keep, Hide, Keep, Keep}},
    {ControlId::lblSel1,       {Keep,      Keep, Keep, Hide, Keep, Keep}},
    {ControlId::CGGo,          {Hide,      Hide, Hide, Show, Hide, Hide}},
    {ControlId::CGBack,        {Hide,      Hide, Hide, Show, Hide, Hide}},
    {ControlId::SystemBack,    {Hide,      Hide, Hide, Show, Show, Show}},
    {ControlId::MusicGo,       {Hide,      Hide, Keep, Keep, Show, Show}},
    {ControlId::MusicBack,     {Hide,      Hide, Keep, Keep, Show, Show}},
    {ControlId::MusicPlay,     {Hide,      Hide, Keep, Keep, Show, Show}},
    {ControlId::MusicStop,     {Hide,      Hide, Keep, Keep, Show, Hide}},
};
// clang-format on

// The pictures a layout loads besides the title images' (see kTitleImages).
struct PictureLoad {
    Layout layout;
    ControlId control;
    std::string_view name;
};

constexpr PictureLoad kPictures[] = {
    {kTitle, ControlId::Picture1, kTitlePicture},
    {kScene, ControlId::Picture1, kTitlePicture},
};

// The first true flag in the order title, game, load, gallery, music, scene.
std::optional<Layout> ChosenLayout(const WindowState& s) {
    const bool flags[kLayouts] = {s.TitleMode, s.GameMode,  s.LoadMode,
                                  s.CGMode,    s.MusicMode, s.SceneMode};
    for (std::uint8_t i = 0; i < kLayouts; ++i) {
        if (flags[i]) return static_cast<Layout>(i);
    }
    return std::nullopt;
}

}  // namespace

void Title::ModeSelect() {
    const std::optional<Layout> layout = ChosenLayout(w_.state);
    if (!layout) return;
    Form& form = w_.form;
    for (const Row& row : kRows) {
        switch (row.act[*layout]) {
            case Show:
                form.Show(row.control);
                break;
            case Hide:
                form.Hide(row.control);
                break;
            case Invisible:
                form[row.control].visible = false;
                break;
            case Keep:
                break;
        }
    }
    for (const PictureLoad& load : kPictures) {
        if (load.layout == *layout) LoadInto(load.control, load.name);
    }
    // On the title screen a locked extra gets its unlocked picture and then the hint over it.
    for (const TitleImage& image : kTitleImages) {
        if (*layout == kTitle) {
            LoadInto(image.image, image.title_picture);
            if (image.unlocked_by_ending != 0 &&
                w_.state.EndFlags[static_cast<std::size_t>(image.unlocked_by_ending)] == 0) {
                LoadInto(image.image, kLockedExtraPicture);
            }
        } else if (*layout == kLoad) {
            LoadInto(image.image, image.load_picture);
        }
    }
    switch (*layout) {
        case kTitle:
            form[ControlId::Label1].caption = Notice();
            form.menu(MenuId::SystemMenu).enabled = true;
            break;
        case kGame:
            form.menu(MenuId::SystemMenu).enabled = true;
            break;
        case kGallery:
            form[ControlId::Label2].caption = std::to_string(w_.state.CGPage) + "枚目";
            form[ControlId::Label1].fore_color = kRed;
            break;
        default:
            break;
    }
    form.Changed();
}

}  // namespace tsukikage
