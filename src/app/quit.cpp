#include "app/quit.h"

#include "app/engine.h"

namespace tsukikage {

void Quit::EndMenu_Click() {
    QuitNow();
}

void Quit::EndImage_Click() {
    WindowState& s = e_.state;
    if (s.LoadMode) {
        s.CGMode = s.SceneMode = s.MusicMode = s.GameMode = s.LoadMode = false;
        s.TitleMode = true;
        e_.title.ModeSelect();
        return;
    }
    QuitNow();
}

// The menu and the title image close the music device silently, opened or not.
void Quit::QuitNow() {
    e_.sound.StopSound();
    std::string reply;
    e_.platform.music_device.SendString("Close MIDI1", reply);
    e_.reader.CloseScenario();
    EndProgram(e_.platform.process);
}

// Closing the window stops the music only when it was opened, with error reports.
void Quit::Form_Unload() {
    e_.sound.StopSound();
    e_.sound.StopMusic();
    e_.reader.CloseScenario();
    EndProgram(e_.platform.process);
}

void Quit::VerData_Click() {}

}  // namespace tsukikage
