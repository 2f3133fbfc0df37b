#include "audio/sdl/mixer_input.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "audio/decode/wave_decoder.h"
#include "sound/midi_file.h"

namespace tsukikage {
namespace {

// The header of a file: enough to find a wave's "fmt " chunk after its other chunks.
constexpr std::streamsize kHeaderBytes = 64 * 1024;

std::string ReadStart(const std::filesystem::path& path, std::streamsize bytes) {
    std::ifstream in(path, std::ios::binary);
    std::string start(static_cast<std::size_t>(bytes), '\0');
    in.read(start.data(), bytes);
    start.resize(static_cast<std::size_t>(in.gcount()));
    return start;
}

// A stream over prepared bytes, which the mixer's loads take over. Null for no bytes.
SDL_RWops* MemoryStream(const std::string& bytes) {
    return bytes.empty() ? nullptr
                         : SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
}

// What the mixer loads instead of a sound file it cannot take as it is: a wave of an encoding
// it does not decode (or, `refused`, any wave), decoded into a plain PCM wave; a RIFF MIDI file,
// the MIDI file it wraps. Nothing when the mixer takes the file itself; empty bytes when the
// file cannot be decoded.
std::optional<std::string> PreparedForMixer(const std::filesystem::path& path, bool refused) {
    const std::string start = ReadStart(path, kHeaderBytes);
    if (LooksLikeWave(start)) {
        const std::optional<WaveFormat> format = ReadWaveFormat(start);
        if (format && MixerDecodesWave(*format) && !refused) return std::nullopt;
        return ReadAsPcmWave(path).value_or(std::string());
    }
    if (start.substr(0, 4) == "RIFF" && LooksLikeMidi(start)) {
        std::ifstream in(path, std::ios::binary);
        const std::string file(std::istreambuf_iterator<char>(in), {});
        return std::string(StandardMidiBytes(file).value_or(std::string_view()));
    }
    return std::nullopt;
}

}  // namespace

bool MixerDecodesWave(const WaveFormat& format) {
    switch (format.tag) {
        case wave::kPcm:
            return IsPlayableWaveEncoding(format);
        case wave::kIeeeFloat:
            return format.bits_per_sample == 32;
        case wave::kMsAdpcm:
        case wave::kImaAdpcm:
        case wave::kALaw:
        case wave::kMuLaw:
            return true;
        default:
            return false;
    }
}

Mix_Chunk* LoadChunk(const std::filesystem::path& path) {
    for (const bool refused : {false, true}) {
        const std::optional<std::string> prepared = PreparedForMixer(path, refused);
        if (!prepared) {
            if (Mix_Chunk* chunk = Mix_LoadWAV(path.c_str())) return chunk;
            continue;
        }
        // The chunk takes the samples over.
        SDL_RWops* input = MemoryStream(*prepared);
        return input ? Mix_LoadWAV_RW(input, 1) : nullptr;
    }
    return nullptr;
}

Mix_Music* LoadMusic(const std::filesystem::path& path, std::string& memory) {
    memory.clear();
    for (const bool refused : {false, true}) {
        std::optional<std::string> prepared = PreparedForMixer(path, refused);
        if (!prepared) {
            if (Mix_Music* music = Mix_LoadMUS(path.c_str())) return music;
            continue;
        }
        memory = std::move(*prepared);
        SDL_RWops* input = MemoryStream(memory);
        Mix_Music* music = input ? Mix_LoadMUS_RW(input, 1) : nullptr;
        if (!music) memory.clear();
        return music;
    }
    return nullptr;
}

}  // namespace tsukikage
