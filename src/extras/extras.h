#pragma once

#include <string_view>

#include "extras/ending_record.h"
#include "window/main_window.h"

namespace tsukikage {

// The ending record and the scene replay's end check.
class Extras {
  public:
    explicit Extras(MainWindow& window) : ending_record(window), w_(window) {}

    // Command "f": records an ending.
    void Finish(std::string_view argument) { ending_record.Finish(argument); }
    // Reads "\endlist.dat" into EndCount and EndFlags, as the start-up does.
    void LoadEndingRecord() { ending_record.Load(); }
    // The title images of the three extras once their ending is reached.
    void OpenGallery();
    void OpenSceneList();
    void OpenMusicRoom();

    // Command "h": a scene marker, which matters only during a scene replay.
    void SceneMarker(std::string_view argument);

    EndingRecord ending_record;

  private:
    void Check(std::string_view argument);

    MainWindow& w_;
};

}  // namespace tsukikage
