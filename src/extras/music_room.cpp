#include "extras/music_room.h"

#include "extras/back_to_title.h"
#include "extras/name_list.h"
#include "sound/sound.h"

namespace tsukikage {

void MusicRoom::ClaimEvents(EventTable& events) {
    constexpr Screen kOn = Screen::MusicRoom;
    events.OnClick(
        ControlId::MusicGo, "MusicRoom::Next", [this] { Next(); }, kOn);
    events.OnClick(
        ControlId::MusicBack, "MusicRoom::Previous", [this] { Previous(); }, kOn);
    events.OnClick(
        ControlId::MusicPlay, "MusicRoom::Play", [this] { Play(); }, kOn);
    events.OnClick(ControlId::MusicStop, "MusicRoom::MusicStop_Click",
                   [this] { MusicStop_Click(); });
    events.OnClick(
        ControlId::SystemBack, "MusicRoom::SystemBack_Click", [this] { SystemBack_Click(); }, kOn);
}

void MusicRoom::Open() {
    w_.SelectMode(Mode::MusicRoom);
    w_.form.key_focus.reset();  // the keys start afresh on the screen
    sound_.StopSound();
    TrackNames = ReadNameList(w_.folder, "\\list.dat");
    TrackNo = 1;
    ShowTrack();
}

// A list without tracks has an empty name.
std::string MusicRoom::CurrentTrack() const {
    return TrackNo >= 1 && TrackNo <= TrackNames.size() ? TrackNames[TrackNo - 1] : std::string();
}

void MusicRoom::ShowTrack() {
    w_.form[ControlId::Label1].caption = CurrentTrack();
    w_.form.Changed();
}

void MusicRoom::Next() {
    if (TrackNo < TrackNames.size()) {
        ++TrackNo;
        ShowTrack();
    }
}

void MusicRoom::Previous() {
    if (TrackNo <= TrackNames.size() && TrackNo > 1) {
        --TrackNo;
        ShowTrack();
    }
}

void MusicRoom::Play() {
    sound_.StopSound();
    sound_.PlayLooping("\\bgm\\" + CurrentTrack());
}

void MusicRoom::MusicStop_Click() {
    sound_.StopSound();
}

void MusicRoom::SystemBack_Click() {
    BackToTitleWithTheme(w_, sound_);
}

}  // namespace tsukikage
