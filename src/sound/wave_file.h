#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tsukikage {

// The encodings of a WAVE file by their format tag. An extensible file (0xFFFE) is known by the
// tag its sub-format carries.
namespace wave {
inline constexpr std::uint16_t kPcm = 0x0001;
inline constexpr std::uint16_t kMsAdpcm = 0x0002;
inline constexpr std::uint16_t kIeeeFloat = 0x0003;
inline constexpr std::uint16_t kALaw = 0x0006;
inline constexpr std::uint16_t kMuLaw = 0x0007;
inline constexpr std::uint16_t kImaAdpcm = 0x0011;
inline constexpr std::uint16_t kGsm610 = 0x0031;
inline constexpr std::uint16_t kMpeg = 0x0050;        // MPEG layer 1 or 2
inline constexpr std::uint16_t kMpegLayer3 = 0x0055;  // MP3
inline constexpr std::uint16_t kExtensible = 0xFFFE;
}  // namespace wave

// What the "fmt " chunk of a WAVE file says, and where its samples are.
struct WaveFormat {
    std::uint16_t tag = 0;  // the sub-format's tag for an extensible file
    std::uint16_t channels = 0;
    std::uint32_t sample_rate = 0;
    std::uint16_t bits_per_sample = 0;
    std::string_view data;  // the "data" chunk
};

// True when the bytes begin like a WAVE file ("RIFF" ... "WAVE").
bool LooksLikeWave(std::string_view bytes);

// Reads the format of a WAVE file, its chunks in any order (extra chunks such as LIST, fact
// or cue are passed over). Nothing when it is no WAVE file, or has no usable "fmt " chunk or
// no "data" chunk.
std::optional<WaveFormat> ReadWaveFormat(std::string_view bytes);

// Whether the player decodes an encoding: PCM of 8, 16, 24 and 32 bits, IEEE float of 32 and
// 64 bits, MS and IMA ADPCM, A-law, u-law, GSM 6.10, and MPEG layers 1 to 3.
bool IsPlayableWaveEncoding(const WaveFormat& format);

// The encoding's name as a player knows it, with its tag: "GSM 6.10 (0x0031)".
std::string WaveEncodingName(std::uint16_t tag);

}  // namespace tsukikage
