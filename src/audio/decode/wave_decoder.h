#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsukikage {

// A wave's samples as 16-bit PCM, the channels interleaved.
struct DecodedWave {
    int sample_rate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
};

// Decodes a WAVE file of any encoding the player knows (see IsPlayableWaveEncoding): the MPEG
// ones through libmpg123, every other through libsndfile. Nothing when it is no WAVE file, its
// encoding is none of those, or not one sample decodes; a file damaged part-way gives the
// samples before the damage. At most kMaxDecodedBytes of samples are kept.
std::optional<DecodedWave> DecodeWave(std::string_view file);

inline constexpr std::size_t kMaxDecodedBytes = std::size_t{256} << 20;

// A plain 16-bit PCM WAVE file holding the samples, for a mixer that loads such files.
std::string PcmWaveFile(const DecodedWave& wave);

// Reads a WAVE file from disk and decodes it into a plain PCM WAVE file: for waves whose
// encoding the mixer does not know. Nothing when it cannot be read or decoded, or is larger
// than kMaxDecodedBytes.
std::optional<std::string> ReadAsPcmWave(const std::filesystem::path& path);

}  // namespace tsukikage
