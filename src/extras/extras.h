#pragma once

#include <string_view>

#include "extras/ending_record.h"
#include "extras/gallery.h"
#include "extras/music_room.h"
#include "extras/scene_replay.h"
#include "window/main_window.h"

namespace tsukikage {

class Graphics;
class Reader;
class Sound;

// The extras the endings unlock (the gallery, the scene replay, the music room) and the
// record of the endings reached.
class Extras {
  public:
    Extras(MainWindow& window, Reader& reader, Graphics& graphics, Sound& sound)
        : ending_record(window),
          gallery(window, graphics),
          music_room(window, sound),
          scene_replay(window, reader, sound),
          w_(window) {}

    // Claims the controls of the three extras' screens.
    void ClaimEvents(EventTable& events);

    // Command "f": records an ending.
    void Finish(std::string_view argument) { ending_record.Finish(argument); }
    // Reads "\endlist.dat" into EndCount and EndFlags, as the start-up does.
    void LoadEndingRecord() { ending_record.Load(); }

    // The title images of the three extras once their ending is reached.
    void OpenGallery() { gallery.Open(); }
    void OpenSceneList() { scene_replay.Open(); }
    void OpenMusicRoom() { music_room.Open(); }

    // Command "h": a scene marker, which matters only during a scene replay.
    void SceneMarker(std::string_view argument);

    EndingRecord ending_record;
    Gallery gallery;
    MusicRoom music_room;
    SceneReplay scene_replay;

  private:
    MainWindow& w_;
};

}  // namespace tsukikage
