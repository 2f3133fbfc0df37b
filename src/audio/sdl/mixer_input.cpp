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

SDL_RWops* MemoryStream(const std::string& bytes) {
    return bytes.empty() ? nullptr
                         : SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
}

std::optional<std::string> PreparedForMixer(const std::filesystem::path& path) {
    const std::string start = ReadStart(path, kHeaderBytes);
    if (LooksLikeWave(start)) {
        const std::optional<WaveFormat> format = ReadWaveFormat(start);
        if (format && MixerDecodesWave(*format)) return std::nullopt;
        return ReadAsPcmWave(path).value_or(std::string());
    }
    if (start.substr(0, 4) == "RIFF" && LooksLikeMidi(start)) {
        std::ifstream in(path, std::ios::binary);
        const std::string file(std::istreambuf_iterator<char>(in), {});
        return std::string(StandardMidiBytes(file).value_or(std::string_view()));
    }
    return std::nullopt;
}

}  // namespace tsukikage
