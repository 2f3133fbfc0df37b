#include "extras/extras.h"

namespace tsukikage {

void Extras::ClaimEvents(EventTable& events) {
    gallery.ClaimEvents(events);
    events.OnClick(ControlId::MusicGo, [this] { MusicGo_Click(); });
    events.OnClick(ControlId::MusicBack, [this] { MusicBack_Click(); });
    events.OnClick(ControlId::MusicPlay, [this] { MusicPlay_Click(); });
    events.OnClick(ControlId::MusicStop, [this] { music_room.MusicStop_Click(); });
}

void Extras::SceneMarker(std::string_view argument) {
    if (!w_.state.SceneMode) return;
    scene_replay.Check(argument);
    // Still replaying: the page waits for the player. At the end marker the list is back.
    if (w_.state.GameMode) w_.form.Show(ControlId::imgAhead);
}

void Extras::MusicGo_Click() {
    if (!music_room.Next()) scene_replay.Next();
}

void Extras::MusicBack_Click() {
    if (!music_room.Previous()) scene_replay.Previous();
}

void Extras::MusicPlay_Click() {
    if (!music_room.Play()) scene_replay.Play();
}

}  // namespace tsukikage
