#include "audio/sdl/music_by_kind.h"

#include <fstream>

#include "sound/midi_file.h"

namespace tsukikage {

bool MusicByKind::Load(const std::filesystem::path& path) {
    Unload();
    std::string start(12, '\0');  // enough to tell a RIFF MIDI file
    std::ifstream in(path, std::ios::binary);
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    MusicPlayer& player = LooksLikeMidi(start) ? midi_ : other_;
    if (!player.Load(path)) return false;
    current_ = &player;
    return true;
}

std::optional<std::int64_t> MusicByKind::LengthMs() {
    return current_ ? current_->LengthMs() : std::nullopt;
}

void MusicByKind::Play(std::int64_t from_ms) {
    if (current_) current_->Play(from_ms);
}

void MusicByKind::Stop() {
    if (current_) current_->Stop();
}

void MusicByKind::Unload() {
    if (!current_) return;
    current_->Unload();
    current_ = nullptr;
}

void MusicByKind::SetGain(double gain) {
    midi_.SetGain(gain);
    other_.SetGain(gain);
}

}  // namespace tsukikage
