#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "window/main_window.h"

namespace tsukikage {

class Reader;
class Sound;

// The scene replay: the titles of "\Scenelist.dat", stepped through one at a time, and the
// replay of a scene: the scenario read from its start marker ".h 2k-1" to its end marker
// ".h 2k", then the list again with the same scene selected.
class SceneReplay {
  public:
    SceneReplay(MainWindow& window, Reader& reader, Sound& sound)
        : w_(window), reader_(reader), sound_(sound) {}

    // Claims, on the list, the list buttons (the music room's) and SystemBack.
    void ClaimEvents(EventTable& events);

    // Opens the list on its first scene; the title theme plays on.
    void Open();
    // The list buttons, MusicGo, MusicBack and MusicPlay; each acts only on the list, not
    // during a replay.
    void Next();
    void Previous();
    void Play();
    // Back to the title, with the title theme.
    void SystemBack_Click();
    // Command "h" during a replay: the scene's end marker brings the list back, and reading
    // stops there. Raises 13 for an argument that is no number.
    void Check(std::string_view argument);

  private:
    void ReadList();
    void ShowScene();

    MainWindow& w_;
    Reader& reader_;
    Sound& sound_;
    std::vector<std::string> SceneNames;
    std::int16_t SceneNo = 0;
};

}  // namespace tsukikage
