#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <filesystem>
#include <optional>
#include <string>

#include "sound/wave_file.h"

namespace tsukikage {

// The wave encodings the mixer decodes rightly itself: PCM of 8 to 32 bits, 32-bit float, MS
// and IMA ADPCM, A-law and u-law. It takes 64-bit float for silence, and refuses GSM and MPEG.
bool MixerDecodesWave(const WaveFormat& format);

// Loads for the wave voice and for the music. The mixer loads a file itself where it decodes
// it; a wave of an encoding it does not decode rightly is decoded into PCM first, and so is
// one it refuses (its "fmt " chunk after its samples, say); a RIFF MIDI file gives the MIDI
// file it wraps. Null when nothing plays it. The bytes the music plays from are kept in
// `memory`, which must outlive the music.
Mix_Chunk* LoadChunk(const std::filesystem::path& path);
Mix_Music* LoadMusic(const std::filesystem::path& path, std::string& memory);

}  // namespace tsukikage
