#include "sound/wave_decode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "sound/riff.h"
#include "sound/wave_file.h"

namespace tsukikage {
namespace {

std::uint8_t Byte(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

std::int16_t Signed16(std::string_view bytes, std::size_t at) {
    return static_cast<std::int16_t>(Byte(bytes, at) | Byte(bytes, at + 1) << 8);
}

std::uint16_t Unsigned16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(Signed16(bytes, at));
}

std::int16_t Clamp16(int value) {
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

// Appends samples while there is room; false once the cap is reached.
class Sink {
  public:
    Sink(WaveSamples& out, std::size_t max) : out_(out), max_(max) {}
    bool Full() const { return out_.samples.size() >= max_; }
    void Add(float value) {
        if (!Full()) out_.samples.push_back(value);
    }
    void Add16(int value) { Add(static_cast<float>(value) / 32768.0f); }

  private:
    WaveSamples& out_;
    std::size_t max_;
};

void DecodePcm(std::string_view data, int bits, Sink& sink) {
    const std::size_t width = static_cast<std::size_t>(bits / 8);
    for (std::size_t at = 0; at + width <= data.size() && !sink.Full(); at += width) {
        if (bits == 8) {
            sink.Add(static_cast<float>(Byte(data, at) - 128) / 128.0f);
            continue;
        }
        // The sample in the top bits of a 32-bit value, scaled by 2^31.
        std::uint32_t raw = 0;
        for (std::size_t i = 0; i < width; ++i) raw |= std::uint32_t{Byte(data, at + i)} << (8 * i);
        raw <<= 32 - bits;
        sink.Add(
            static_cast<float>(static_cast<double>(static_cast<std::int32_t>(raw)) / 2147483648.0));
    }
}

void DecodeFloat(std::string_view data, int bits, Sink& sink) {
    const std::size_t width = static_cast<std::size_t>(bits / 8);
    for (std::size_t at = 0; at + width <= data.size() && !sink.Full(); at += width) {
        if (bits == 32) {
            float value = 0;
            std::memcpy(&value, data.data() + at, sizeof value);
            sink.Add(value);
        } else {
            double value = 0;
            std::memcpy(&value, data.data() + at, sizeof value);
            sink.Add(static_cast<float>(value));
        }
    }
}

// G.711: eight segments of sixteen steps, as the ITU's reference decodes them.
int ALawSample(std::uint8_t code) {
    code ^= 0x55;
    const int segment = (code >> 4) & 7;
    int value = (code & 0x0F) << 4;
    value = segment == 0 ? value + 8 : (value + 0x108) << (segment - 1);
    return (code & 0x80) ? value : -value;
}

int MuLawSample(std::uint8_t code) {
    code = static_cast<std::uint8_t>(~code);
    const int segment = (code >> 4) & 7;
    const int value = ((((code & 0x0F) << 3) + 0x84) << segment) - 0x84;
    return (code & 0x80) ? -value : value;
}

void DecodeLaw(std::string_view data, bool a_law, Sink& sink) {
    for (std::size_t at = 0; at < data.size() && !sink.Full(); ++at) {
        sink.Add16(a_law ? ALawSample(Byte(data, at)) : MuLawSample(Byte(data, at)));
    }
}

// The block layout an ADPCM "fmt " chunk gives: bytes per block and frames per block.
struct AdpcmBlocks {
    std::size_t align = 0;
    std::size_t frames = 0;
};

AdpcmBlocks ReadBlocks(std::string_view fmt) {
    AdpcmBlocks blocks;
    blocks.align = Unsigned16(fmt, 12);
    if (fmt.size() >= 20) blocks.frames = Unsigned16(fmt, 18);
    return blocks;
}

constexpr int kImaSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kImaIndexStep[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

struct ImaChannel {
    int predictor = 0;
    int index = 0;

    int Next(int code) {
        const int step = kImaSteps[index];
        int diff = step >> 3;
        if (code & 1) diff += step >> 2;
        if (code & 2) diff += step >> 1;
        if (code & 4) diff += step;
        if (code & 8) diff = -diff;
        predictor = Clamp16(predictor + diff);
        index = std::clamp(index + kImaIndexStep[code], 0, 88);
        return predictor;
    }
};

// Each block: per channel a header (first sample, step index), then per channel four bytes of
// eight samples in turn.
void DecodeIma(std::string_view data, const AdpcmBlocks& blocks, int channels, Sink& sink) {
    const auto ch = static_cast<std::size_t>(channels);
    if (blocks.align <= 4 * ch) return;
    std::vector<int> frame_samples;
    for (std::size_t at = 0; at + 4 * ch <= data.size() && !sink.Full(); at += blocks.align) {
        const std::string_view block = data.substr(at, blocks.align);
        std::vector<ImaChannel> state(ch);
        for (std::size_t c = 0; c < ch; ++c) {
            state[c].predictor = Signed16(block, 4 * c);
            state[c].index = std::clamp<int>(Byte(block, 4 * c + 2), 0, 88);
        }
        const std::size_t groups = (block.size() - 4 * ch) / (4 * ch);
        std::size_t frames = 1 + groups * 8;
        if (blocks.frames > 0) frames = std::min(frames, blocks.frames);
        // Planar first, interleaved after.
        frame_samples.assign(frames * ch, 0);
        for (std::size_t c = 0; c < ch; ++c) frame_samples[c] = state[c].predictor;
        for (std::size_t g = 0; g < groups; ++g) {
            for (std::size_t c = 0; c < ch; ++c) {
                const std::size_t from = 4 * ch + (g * ch + c) * 4;
                for (std::size_t i = 0; i < 8; ++i) {
                    const std::size_t frame = 1 + g * 8 + i;
                    const int code = (Byte(block, from + i / 2) >> (4 * (i % 2))) & 0x0F;
                    const int value = state[c].Next(code);
                    if (frame < frames) frame_samples[frame * ch + c] = value;
                }
            }
        }
        for (const int value : frame_samples) sink.Add16(value);
    }
}

constexpr int kMsAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                   768, 614, 512, 409, 307, 230, 230, 230};
constexpr int kMaxMsDelta = 1 << 20;
constexpr int kMsCoefficients[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                       {240, 0}, {460, -208}, {392, -232}};

// Each block: per channel the predictor's number, the step and the first two samples, then
// a nibble a sample, the channels in turn, high nibble first.
void DecodeMsAdpcm(std::string_view data, const AdpcmBlocks& blocks, int channels, Sink& sink) {
    const auto ch = static_cast<std::size_t>(channels);
    const std::size_t header = 7 * ch;
    if (blocks.align <= header) return;
    for (std::size_t at = 0; at + header <= data.size() && !sink.Full(); at += blocks.align) {
        const std::string_view block = data.substr(at, blocks.align);
        int coefficient[2][2] = {};
        int delta[2] = {};
        int sample1[2] = {};
        int sample2[2] = {};
        for (std::size_t c = 0; c < ch; ++c) {
            const std::size_t predictor = std::min<std::size_t>(Byte(block, c), 6);
            coefficient[c][0] = kMsCoefficients[predictor][0];
            coefficient[c][1] = kMsCoefficients[predictor][1];
            delta[c] = Signed16(block, ch + 2 * c);
            sample1[c] = Signed16(block, 3 * ch + 2 * c);
            sample2[c] = Signed16(block, 5 * ch + 2 * c);
        }
        std::size_t frames = 2 + (block.size() - header) * 2 / ch;
        if (blocks.frames > 0) frames = std::min(frames, blocks.frames);
        for (std::size_t c = 0; c < ch; ++c) sink.Add16(sample2[c]);
        for (std::size_t c = 0; c < ch; ++c) sink.Add16(sample1[c]);
        for (std::size_t n = 0; n < (frames - 2) * ch; ++n) {
            const std::size_t c = n % ch;
            const int nibble = (Byte(block, header + n / 2) >> (n % 2 == 0 ? 4 : 0)) & 0x0F;
            const int signed_nibble = nibble >= 8 ? nibble - 16 : nibble;
            const int predicted =
                (sample1[c] * coefficient[c][0] + sample2[c] * coefficient[c][1]) >> 8;
            const int value = Clamp16(predicted + signed_nibble * delta[c]);
            // A damaged block can make the step grow without end: it is held where no sum
            // overflows, far above any step a whole file reaches.
            delta[c] = std::clamp((kMsAdaptation[nibble] * delta[c]) >> 8, 16, kMaxMsDelta);
            sample2[c] = sample1[c];
            sample1[c] = value;
            sink.Add16(value);
        }
    }
}

}  // namespace

std::optional<WaveSamples> DecodeWaveSamples(std::string_view file, std::size_t max_samples) {
    const std::optional<WaveFormat> format = ReadWaveFormat(file);
    if (!format || !IsPlayableWaveEncoding(*format)) return std::nullopt;
    const std::string_view fmt = *ReadRiff(file)->Find("fmt ");
    WaveSamples wave{static_cast<int>(format->sample_rate), format->channels, {}};
    Sink sink(wave, max_samples);
    const int bits = format->bits_per_sample;
    switch (format->tag) {
        case wave::kPcm:
            DecodePcm(format->data, bits, sink);
            break;
        case wave::kIeeeFloat:
            DecodeFloat(format->data, bits, sink);
            break;
        case wave::kALaw:
        case wave::kMuLaw:
            DecodeLaw(format->data, format->tag == wave::kALaw, sink);
            break;
        case wave::kImaAdpcm:
            DecodeIma(format->data, ReadBlocks(fmt), format->channels, sink);
            break;
        case wave::kMsAdpcm:
            if (format->channels > 2) return std::nullopt;
            DecodeMsAdpcm(format->data, ReadBlocks(fmt), format->channels, sink);
            break;
        case wave::kGsm610:
            DecodeGsmBlocks(format->data, wave, max_samples);
            break;
        default:  // MPEG
            wave = WaveSamples{};
            if (!DecodeMpegFrames(format->data, wave, max_samples)) return std::nullopt;
            break;
    }
    const auto channels = static_cast<std::size_t>(wave.channels);
    wave.samples.resize(wave.samples.size() - wave.samples.size() % channels);
    if (wave.samples.empty()) return std::nullopt;
    return wave;
}

}  // namespace tsukikage
