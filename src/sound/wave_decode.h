#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tsukikage {

// A wave's samples at full scale 1, the channels interleaved.
struct WaveSamples {
    int sample_rate = 0;
    int channels = 0;
    std::vector<float> samples;

    std::size_t Frames() const {
        return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0;
    }
};

// 256 MB of samples: a longer wave is cut there, as the desktop's decoder cuts it.
inline constexpr std::size_t kMaxWaveSamples = std::size_t{64} << 20;

// Decodes a WAVE file of any encoding the player plays (IsPlayableWaveEncoding) on its own,
// with no library: for platforms without the desktop's decoders. Integer samples are scaled
// as libsndfile scales them (by 2^(bits-1)). Nothing when it is no WAVE file, its encoding is
// none of those, or not one frame decodes; a file damaged part-way gives the frames before the
// damage. At most `max_samples` samples are kept.
std::optional<WaveSamples> DecodeWaveSamples(std::string_view file,
                                             std::size_t max_samples = kMaxWaveSamples);

// The frames of an MPEG audio stream (layers 1 to 3) appended to `out`, whose rate and channels
// the first frame sets; decoding stops at a frame of another format. False when no frame decodes.
bool DecodeMpegFrames(std::string_view stream, WaveSamples& out, std::size_t max_samples);

// The frames of a GSM 6.10 stream as a WAVE file holds it (two frames in 65 bytes).
void DecodeGsmBlocks(std::string_view data, WaveSamples& out, std::size_t max_samples);

}  // namespace tsukikage
