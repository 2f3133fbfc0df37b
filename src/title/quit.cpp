#include "title/quit.h"

#include "scenario/reader.h"
#include "sound/sound.h"

namespace tsukikage {

void Quit::ClaimEvents(EventTable& events) {
    events.OnClick(
        ControlId::EndImage, "Quit::EndImage_Click", [this] { EndImage_Click(); }, Screen::Title);
    events.OnMenu(MenuId::EndMenu, "Quit::EndMenu_Click", [this] { EndMenu_Click(); });
}

void Quit::EndMenu_Click() {
    QuitNow();
}

void Quit::EndImage_Click() {
    QuitNow();
}

// The menu and the title image close the music device silently, opened or not.
void Quit::QuitNow() {
    sound_.StopSound();
    sound_.CloseMusicSilently();
    reader_.CloseScenario();
    EndProgram(w_.platform.process, ExitStatus::Quit);
}

// Closing the window stops the music only when it was opened, with error reports.
void Quit::Form_Unload() {
    sound_.StopSound();
    sound_.StopMusic();
    reader_.CloseScenario();
    EndProgram(w_.platform.process, ExitStatus::Quit);
}

}  // namespace tsukikage
