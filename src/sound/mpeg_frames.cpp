// MPEG audio through minimp3 (third_party/minimp3, CC0): layers 1 to 3 in portable C.
#define MINIMP3_IMPLEMENTATION
#include <minimp3.h>

#include <algorithm>
#include <cstring>

#include "sound/wave_decode.h"

namespace tsukikage {
namespace {

// What an encoder's Xing / Info frame says: the frame carries no sound, and the stream's first
// `delay` and last `padding` frames of samples are the codec's, not the piece's.
struct GaplessTag {
    std::size_t delay = 0;
    std::size_t padding = 0;
};

constexpr std::size_t kDecoderDelay = 529;  // what libmpg123 adds to the encoder's delay

std::optional<GaplessTag> ReadGaplessTag(const std::uint8_t* frame, std::size_t size) {
    if (size < 4 || ((frame[1] >> 1) & 3) != 1) return std::nullopt;  // layer 3 only
    const bool mpeg1 = ((frame[1] >> 3) & 3) == 3;
    const bool mono = (frame[3] >> 6) == 3;
    const bool crc = (frame[1] & 1) == 0;
    const std::size_t side = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    std::size_t at = 4 + (crc ? 2 : 0) + side;
    if (at + 12 > size) return std::nullopt;
    if (std::memcmp(frame + at, "Xing", 4) != 0 && std::memcmp(frame + at, "Info", 4) != 0) {
        return std::nullopt;
    }
    const std::uint8_t flags = frame[at + 7];
    at += 8;
    for (const auto& [flag, bytes] : {std::pair{1, 4}, {2, 4}, {4, 100}, {8, 4}}) {
        if (flags & flag) at += bytes;
    }
    GaplessTag tag;
    at += 21;  // the encoder's name and settings
    if (at + 3 <= size && frame[at - 21] != 0) {
        tag.delay = static_cast<std::size_t>(frame[at] << 4 | frame[at + 1] >> 4) + kDecoderDelay;
        const std::size_t padding =
            static_cast<std::size_t>((frame[at + 1] & 0x0F) << 8 | frame[at + 2]);
        tag.padding = padding > kDecoderDelay ? padding - kDecoderDelay : 0;
    }
    return tag;
}

}  // namespace

bool DecodeMpegFrames(std::string_view stream, WaveSamples& out, std::size_t max_samples) {
    mp3dec_t decoder;
    mp3dec_init(&decoder);
    std::vector<mp3d_sample_t> pcm(MINIMP3_MAX_SAMPLES_PER_FRAME);
    const auto* at = reinterpret_cast<const std::uint8_t*>(stream.data());
    std::size_t left = stream.size();
    std::optional<GaplessTag> gapless;
    bool decoded = false;
    while (left > 0 && out.samples.size() < max_samples) {
        mp3dec_frame_info_t info{};
        const int frames = mp3dec_decode_frame(
            &decoder, at, static_cast<int>(std::min<std::size_t>(left, 1 << 30)), pcm.data(),
            &info);
        // No frame in what is left: the end, or damage that nothing follows.
        if (info.frame_bytes <= 0) break;
        const std::uint8_t* frame = at + info.frame_offset;
        at += info.frame_bytes;
        left -= static_cast<std::size_t>(info.frame_bytes);
        if (frames <= 0) continue;
        if (!decoded && !gapless) {
            gapless = ReadGaplessTag(
                frame, static_cast<std::size_t>(info.frame_bytes - info.frame_offset));
            if (gapless) continue;
        }
        if (!decoded) {
            out.sample_rate = info.hz;
            out.channels = info.channels;
        } else if (info.hz != out.sample_rate || info.channels != out.channels) {
            break;
        }
        decoded = true;
        const std::size_t count =
            static_cast<std::size_t>(frames) * static_cast<std::size_t>(info.channels);
        for (std::size_t i = 0; i < count && out.samples.size() < max_samples; ++i) {
            out.samples.push_back(static_cast<float>(pcm[i]) / 32768.0f);
        }
    }
    if (!decoded) return false;
    if (gapless) {
        const auto channels = static_cast<std::size_t>(out.channels);
        const std::size_t total = out.samples.size() / channels;
        const std::size_t from = std::min(gapless->delay, total);
        const std::size_t to = std::max(from, total - std::min(gapless->padding, total));
        out.samples.erase(out.samples.begin() + static_cast<std::ptrdiff_t>(to * channels),
                          out.samples.end());
        out.samples.erase(out.samples.begin(),
                          out.samples.begin() + static_cast<std::ptrdiff_t>(from * channels));
    }
    return true;
}

}  // namespace tsukikage
