#include "window/window_state.h"

namespace tsukikage {

void SetModeFlags(WindowState& state, Mode mode) {
    state.TitleMode = mode == Mode::Title;
    state.GameMode = mode == Mode::Game || mode == Mode::Replay;
    state.LoadMode = mode == Mode::Load;
    state.CGMode = mode == Mode::Gallery;
    state.MusicMode = mode == Mode::MusicRoom;
    state.SceneMode = mode == Mode::SceneList || mode == Mode::Replay;
}

}  // namespace tsukikage
