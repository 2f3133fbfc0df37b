#include "title/title.h"

#include "base/runtime_error.h"
#include "extras/extras.h"
#include "graphics/graphics.h"
#include "graphics/picture_box.h"
#include "scenario/new_game.h"
#include "sound/sound.h"
#include "title/title_texts.h"
#include "window/design_pictures.h"
#include "window/title_images.h"

namespace tsukikage {

Title::Title(MainWindow& window, NewGame& new_game, Graphics& graphics, Sound& sound,
             Extras& extras)
    : w_(window), new_game_(new_game), graphics_(graphics), sound_(sound), extras_(extras) {
    w_.SetModeLayout([this] { ModeSelect(); });
}

void Title::ClaimEvents(EventTable& events) {
    events.OnTimer(TimerId::Timer2, "Title::Timer2_Timer", [this] { Timer2_Timer(); });
    // Kept for the program's run: each action refers to its row, which keeps the action within
    // the std::function itself.
    static constexpr struct {
        ControlId image;
        std::string_view handler;
        void (Title::*click)();
    } kClicks[] = {
        {ControlId::NewGameImage, "Title::NewGameImage_Click", &Title::NewGameImage_Click},
        {ControlId::LoadGameImage, "Title::LoadGameImage_Click", &Title::LoadGameImage_Click},
        {ControlId::CGImage, "Title::CGImage_Click", &Title::CGImage_Click},
        {ControlId::SceneImage, "Title::SceneImage_Click", &Title::SceneImage_Click},
        {ControlId::MusicImage, "Title::MusicImage_Click", &Title::MusicImage_Click},
    };
    for (const auto& c : kClicks) {
        events.OnClick(
            c.image, c.handler, [this, row = &c] { (this->*(row->click))(); }, Screen::Title);
    }
}

void Title::LoadInto(ControlId control, std::string_view name) {
    Control& c = w_.form[control];
    std::shared_ptr<const Surface> picture;
    try {
        picture = w_.LoadPictureIfPresent(name);
    } catch (const RuntimeError&) {
        // No picture: drawn as a missing one is.
    }
    if (!picture && control != ControlId::Picture1) picture = DesignPicture(control);
    c.AssignPicture(std::move(picture));
    w_.form.Changed();
}

// The title images' own pictures are the game's title pictures, the locked look its hint
// picture; the drawn ones stand in for those the game folder lacks.
void Title::LoadDesignPictures() {
    std::shared_ptr<const Surface> locked;
    for (const TitleImage& design : kTitleImages) {
        std::shared_ptr<const Surface>& picture = design_[Index(design.image)];
        // The three extras share the locked look, decoded once.
        const bool extra = design.unlocked_by_ending != 0;
        try {
            picture = extra && locked ? locked
                                      : w_.LoadPictureIfPresent(extra ? kLockedExtraPicture
                                                                      : design.title_picture);
        } catch (const RuntimeError&) {
            picture = nullptr;  // no picture: drawn as a missing one is
        }
        if (!picture) picture = TitleImageDesignPicture(design.image);
        if (extra) locked = picture;
        w_.form[design.image].AssignPicture(picture);
    }
}

std::shared_ptr<const Surface> Title::DesignPicture(ControlId image) const {
    const std::shared_ptr<const Surface>& loaded = design_[Index(image)];
    return loaded ? loaded : TitleImageDesignPicture(image);
}

void Title::Form_Load() {
    WindowState& s = w_.state;
    s.EffectMode = 0;
    s.SceneMarker = 1;
    s.StepCount = 0;
    s.MidiOpen = false;
    LoadInto(ControlId::Picture1, kLetteringPicture);
    LoadDesignPictures();
    w_.form.menu(MenuId::SystemMenu).enabled = false;
    s.TitleMode = true;
    s.StartupRunning = true;
}

void Title::Timer2_Timer() {
    WindowState& s = w_.state;
    if (!s.TitleMode || !s.StartupRunning) return;
    ++s.StepCount;
    if (s.StepCount == 1) {
        w_.form[ControlId::Label1].caption = Greeting();
        LoadInto(ControlId::Picture1, kDisclaimerPicture);
    } else if (s.StepCount == 3) {
        FirstTitleScreen();
    }
}

// Unlike every later title screen, the first shows the title caption over the transition
// buffer's picture, with the system menu still disabled.
void Title::FirstTitleScreen() {
    WindowState& s = w_.state;
    Form& form = w_.form;
    form[ControlId::Label1].caption = TitleCaption();
    LoadInto(ControlId::Picture1, kTitlePicture);
    s.StepCount = 0;
    s.SceneMarker = 1;
    s.StartupRunning = false;
    for (const TitleImage& image : kTitleImages) form.Show(image.image);
    form.menu(MenuId::SystemMenu).enabled = false;
    sound_.PlayLooping(kTitleTheme);
    form[ControlId::Picture1].AssignPicture(ShownPicture(form[ControlId::Master0]));
    s.written_only.EffectBuffer = 0;
    s.EffectStep = 0;
    // The records are read here and not before: nothing can have rewritten them yet.
    graphics_.LoadRecord();
    extras_.LoadEndingRecord();
    if (const std::optional<std::filesystem::path> place = w_.records.TakeNewUserFolder()) {
        form.Changed();
        w_.platform.message_box.Show(
            "ゲームのフォルダーに書き込めないため、セーブと記録は次のフォルダーに保存します。\n" +
                place->string(),
            MessageIcon::Information, "記録の保存先");
    }
    for (const TitleImage& image : kTitleImages) {
        const auto ending = static_cast<std::size_t>(image.unlocked_by_ending);
        if (ending != 0 && s.EndFlags[ending] == 1) LoadInto(image.image, image.title_picture);
    }
    form.Changed();
}

void Title::NewGameImage_Click() {
    new_game_.StartFromTitle();
}

void Title::LoadGameImage_Click() {
    w_.SelectMode(Mode::Load);
}

void Title::ExtraImage_Click(int ending, void (Extras::*open)()) {
    if (w_.state.EndFlags[static_cast<std::size_t>(ending)] == 1) {
        (extras_.*open)();
    } else {
        w_.form[ControlId::Label1].caption = std::string(kClearTheGameFirst);
    }
}

void Title::CGImage_Click() {
    ExtraImage_Click(1, &Extras::OpenGallery);
}

void Title::SceneImage_Click() {
    ExtraImage_Click(2, &Extras::OpenSceneList);
}

void Title::MusicImage_Click() {
    ExtraImage_Click(3, &Extras::OpenMusicRoom);
}

}  // namespace tsukikage
