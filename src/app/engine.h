#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "app/form.h"
#include "app/quit.h"
#include "app/title.h"
#include "app/window_state.h"
#include "extras/extras.h"
#include "graphics/graphics.h"
#include "platform/game_folder.h"
#include "platform/interfaces.h"
#include "saves/saves.h"
#include "scenario/choices.h"
#include "scenario/new_game.h"
#include "scenario/page.h"
#include "scenario/reader.h"
#include "sound/sound.h"

namespace tsukikage {

// The main window: its form model, its shared state, and the subsystems that work on them.
// The view feeds it events (clicks, mouse moves, menu commands, timer ticks) and paints
// `form`; tests drive it the same way against fakes.
class Engine {
  public:
    Engine(Platform& platform, std::filesystem::path game_folder);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Events, routed to the handlers of the control, menu item or timer.
    void Form_Load();
    void Click(ControlId control);
    void MouseMove(ControlId control);
    void MenuCommand(MenuId item);
    void Timer1_Timer();
    void Timer2_Timer();
    void Form_Unload();

    // Loads a picture file named the game's way (see GameFolder). Raises 53 when it is
    // missing and 481 when it is no picture.
    std::shared_ptr<const Surface> LoadPicture(std::string_view name);

    Platform& platform;
    GameFolder folder;
    Form form;
    WindowState state;

    Reader reader;
    Page page;
    Choices choices;
    NewGame new_game;
    Graphics graphics;
    Sound sound;
    Saves saves;
    Extras extras;
    Title title;
    Quit quit;
};

}  // namespace tsukikage
