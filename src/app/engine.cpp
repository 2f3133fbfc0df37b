#include "app/engine.h"

#include "app/design_pictures.h"
#include "platform/runtime_error.h"

namespace tsukikage {

Engine::Engine(Platform& platform_, std::filesystem::path game_folder)
    : platform(platform_),
      folder(std::move(game_folder)),
      reader(*this),
      page(*this),
      choices(*this),
      new_game(*this),
      graphics(*this),
      sound(*this),
      saves(*this),
      extras(*this),
      title(*this),
      quit(*this) {
    Control& ahead = form[ControlId::imgAhead];
    ahead.picture = AheadMarkerPicture();
    ahead.mouse_icon = AheadMousePointer();
    for (int i = 0; i < 2; ++i) {
        form[ImgSel(i)].picture = ChoiceMarkerPicture();
        form[ImgSel(i)].mouse_icon = ChoiceMousePointer();
        form[LblSel(i)].mouse_icon = ChoiceMousePointer();
    }
}

void Engine::Form_Load() {
    title.Form_Load();
    form.Changed();
}

void Engine::Click(ControlId control) {
    // Only a shown, enabled control takes clicks (tests may aim at any control).
    if (!form.IsShown(control) || !form[control].enabled) return;
    form.Changed();
    switch (control) {
        case ControlId::imgAhead:
            reader.imgAhead_Click();
            break;
        case ControlId::lblSel0:
            choices.lblSel_Click(0);
            break;
        case ControlId::lblSel1:
            choices.lblSel_Click(1);
            break;
        case ControlId::imgSel0:
            choices.imgSel_Click(0);
            break;
        case ControlId::imgSel1:
            choices.imgSel_Click(1);
            break;
        case ControlId::NewGameImage:
            new_game.NewGameImage_Click();
            break;
        case ControlId::EndImage:
            quit.EndImage_Click();
            break;
        default:
            break;
    }
    form.Changed();
}

void Engine::MouseMove(ControlId control) {
    if (!form.IsShown(control) || !form[control].enabled) return;
    switch (control) {
        case ControlId::imgAhead:
            page.imgAhead_MouseMove();
            break;
        case ControlId::lblSel0:
            choices.lblSel_MouseMove(0);
            break;
        case ControlId::lblSel1:
            choices.lblSel_MouseMove(1);
            break;
        case ControlId::imgSel0:
            choices.imgSel_MouseMove(0);
            break;
        case ControlId::imgSel1:
            choices.imgSel_MouseMove(1);
            break;
        default:
            break;
    }
}

void Engine::MenuCommand(MenuId item) {
    if (!form.IsMenuAvailable(item)) return;
    form.Changed();
    const int id = static_cast<int>(item);
    if (item >= MenuId::save1 && item <= MenuId::save5) {
        saves.SaveSlot(id - static_cast<int>(MenuId::save1) + 1);
    } else if (item >= MenuId::load1 && item <= MenuId::load5) {
        saves.LoadSlot(id - static_cast<int>(MenuId::load1) + 1);
    } else if (item == MenuId::NewGame) {
        new_game.NewGame_Click();
    } else if (item == MenuId::EndMenu) {
        quit.EndMenu_Click();
    } else if (item == MenuId::VerData) {
        quit.VerData_Click();
    }
    form.Changed();
}

void Engine::Timer1_Timer() {
    graphics.Timer1_Timer();
}

void Engine::Timer2_Timer() {
    title.Timer2_Timer();
}

void Engine::Form_Unload() {
    quit.Form_Unload();
}

std::shared_ptr<const Surface> Engine::LoadPicture(std::string_view name) {
    std::optional<std::filesystem::path> path = folder.Find(name);
    if (!path) Raise(err::kFileNotFound);
    return std::make_shared<const Surface>(platform.picture_decoder.Decode(*path));
}

}  // namespace tsukikage
