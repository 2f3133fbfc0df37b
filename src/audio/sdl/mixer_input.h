#pragma once

#include <SDL.h>

#include <filesystem>
#include <optional>
#include <string>

#include "sound/wave_file.h"

namespace tsukikage {

// The wave encodings the mixer decodes rightly itself: PCM of 8 to 32 bits, 32-bit float, MS
// and IMA ADPCM, A-law and u-law. It takes 64-bit float for silence, and refuses GSM and MPEG.
bool MixerDecodesWave(const WaveFormat& format);

// What the mixer loads instead of a sound file it cannot take as it is: a wave of an encoding
// it does not decode, decoded into a plain PCM wave; a RIFF MIDI file, the MIDI file it wraps.
// Nothing when the mixer takes the file itself; empty bytes when the file cannot be decoded.
std::optional<std::string> PreparedForMixer(const std::filesystem::path& path);

// A stream over prepared bytes for the mixer's loads, which take it over; the bytes must
// outlive what is loaded from it. Null for no bytes.
SDL_RWops* MemoryStream(const std::string& bytes);

}  // namespace tsukikage
