#include "extras/extras.h"

namespace tsukikage {

void Extras::SceneMarker(std::string_view argument) {
    if (!w_.state.SceneMode) return;
    Check(argument);
    w_.form.Show(ControlId::imgAhead);
}

// The scene replay arrives with the extras.
void Extras::Check(std::string_view) {}

}  // namespace tsukikage
