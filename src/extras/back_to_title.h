#pragma once

#include "sound/sound.h"
#include "window/main_window.h"

namespace tsukikage {

// SystemBack from the music room and from the scene list: the title theme again (the room
// stopped it, and so may a replay), then the title screen.
inline void BackToTitleWithTheme(MainWindow& window, Sound& sound) {
    sound.PlayLooping(kTitleTheme);
    window.SelectMode(Mode::Title);
}

}  // namespace tsukikage
