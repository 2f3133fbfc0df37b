// The wave decoder of a build without libsndfile and libmpg123: it decodes nothing, so the
// mixer's own encodings are the only ones heard.
#include "audio/decode/wave_decoder.h"

namespace tsukikage {

std::optional<DecodedWave> DecodeWave(std::string_view) {
    return std::nullopt;
}

std::string PcmWaveFile(const DecodedWave&) {
    return {};
}

std::optional<std::string> ReadAsPcmWave(const std::filesystem::path&) {
    return std::nullopt;
}

}  // namespace tsukikage
