#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "window/main_window.h"

namespace tsukikage {

class Sound;

// The music room: the tracks of "\list.dat", stepped through one at a time, played looping
// on the wave voice from "\bgm\".
class MusicRoom {
  public:
    MusicRoom(MainWindow& window, Sound& sound) : w_(window), sound_(sound) {}

    // Claims, in the room, the list buttons and SystemBack; MusicStop on any screen.
    void ClaimEvents(EventTable& events);

    // Opens the room on its first track; the title theme stops.
    void Open();
    // The list buttons: MusicGo, MusicBack and MusicPlay.
    void Next();
    void Previous();
    void Play();
    // MusicStop: the wave voice's stop.
    void MusicStop_Click();
    // Back to the title, with the title theme.
    void SystemBack_Click();

  private:
    std::string CurrentTrack() const;
    void ShowTrack();

    MainWindow& w_;
    Sound& sound_;
    std::vector<std::string> TrackNames;
    std::uint8_t TrackNo = 0;
};

}  // namespace tsukikage
