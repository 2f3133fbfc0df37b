#include "extras/music_room.h"

#include "extras/name_list.h"
#include "sound/sound.h"

namespace tsukikage {

void MusicRoom::Open() {
    w_.SelectMode(Mode::MusicRoom);
    sound_.StopSound();
    TrackNames = ReadNameList(w_.folder, "\\list.dat");
    w_.state.StepCount = static_cast<std::int16_t>(TrackNames.size() + 1);
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

bool MusicRoom::Next() {
    if (!w_.state.MusicMode) return false;
    if (TrackNo < TrackNames.size()) {
        ++TrackNo;
        ShowTrack();
    }
    return true;
}

bool MusicRoom::Previous() {
    if (!w_.state.MusicMode) return false;
    if (TrackNo <= TrackNames.size() && TrackNo > 1) {
        --TrackNo;
        ShowTrack();
    }
    return true;
}

bool MusicRoom::Play() {
    if (!w_.state.MusicMode) return false;
    sound_.StopSound();
    sound_.PlayLooping("\\bgm\\" + CurrentTrack());
    return true;
}

void MusicRoom::MusicStop_Click() {
    sound_.StopSound();
}

}  // namespace tsukikage
