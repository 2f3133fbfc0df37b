#include "extras/extras.h"

namespace tsukikage {

void Extras::SceneMarker(std::string_view argument) {
    if (!w_.state.SceneMode) return;
    Check(argument);
    w_.form.Show(ControlId::imgAhead);
}

// The gallery, the scene replay and the music room arrive with the extras.
void Extras::Check(std::string_view) {}
void Extras::OpenGallery() {}
void Extras::OpenSceneList() {}
void Extras::OpenMusicRoom() {}

}  // namespace tsukikage
