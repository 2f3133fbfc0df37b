#include "extras/extras.h"

namespace tsukikage {

void Extras::ClaimEvents(EventTable& events) {
    gallery.ClaimEvents(events);
    music_room.ClaimEvents(events);
    scene_replay.ClaimEvents(events);
}

void Extras::SceneMarker(std::string_view argument) {
    if (!w_.state.SceneMode) return;
    scene_replay.Check(argument);
    // Still replaying: the page waits for the player. At the end marker the list is back.
    if (w_.state.GameMode) w_.form.Show(ControlId::imgAhead);
}

}  // namespace tsukikage
