#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "window/main_window.h"

namespace tsukikage {

class Extras;
class Graphics;
class NewGame;
class Sound;

// The start-up sequence, the title screen and its images, and the window's layouts for the
// screen modes (ModeSelect).
class Title {
  public:
    Title(MainWindow& window, NewGame& new_game, Graphics& graphics, Sound& sound, Extras& extras);

    // Claims Timer2 and, on the title screen, the clicks of the title images but the end
    // image (the load screen's are the slots').
    void ClaimEvents(EventTable& events);

    // Window creation: the lettering, and the start-up sequence begins.
    void Form_Load();
    // Every second: the disclaimer at the first tick, the first title screen at the third.
    void Timer2_Timer();
    // Lays the window out for the first true mode flag (see mode_select.cpp).
    void ModeSelect();

    // On the title screen they start a game, open the load screen or an extra.
    void NewGameImage_Click();
    void LoadGameImage_Click();
    void CGImage_Click();
    void SceneImage_Click();
    void MusicImage_Click();

  private:
    void FirstTitleScreen();
    void LoadDesignPictures();
    static std::size_t Index(ControlId image) {
        return static_cast<std::size_t>(image) - static_cast<std::size_t>(ControlId::NewGameImage);
    }
    // A title image's own picture: the one loaded at window creation, or the drawn one.
    std::shared_ptr<const Surface> DesignPicture(ControlId image) const;
    // A locked extra's image says so in the message area; an unlocked one opens the extra.
    void ExtraImage_Click(int ending, void (Extras::*open)());
    // Loads a game picture into a control. A picture that is missing or no picture leaves
    // the control with its design picture (nothing for the game screen): the game goes on.
    void LoadInto(ControlId control, std::string_view name);

    MainWindow& w_;
    NewGame& new_game_;
    Graphics& graphics_;
    Sound& sound_;
    Extras& extras_;
    // The own pictures of the six title images, NewGameImage to EndImage.
    std::array<std::shared_ptr<const Surface>, 6> design_;
};

}  // namespace tsukikage
