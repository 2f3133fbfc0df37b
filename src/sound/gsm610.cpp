// GSM 06.10 full-rate speech, decoded in the standard's own 16-bit fixed point so the samples
// come out exactly as the reference decoder gives them.
#include <algorithm>
#include <cstdint>
#include <string>

#include "sound/wave_decode.h"

namespace tsukikage {
namespace {

using Word = std::int16_t;

constexpr int kMinWord = -32768;
constexpr int kMaxWord = 32767;

Word Saturate(int value) {
    return static_cast<Word>(std::clamp(value, kMinWord, kMaxWord));
}
Word Add(int a, int b) {
    return Saturate(a + b);
}
Word Sub(int a, int b) {
    return Saturate(a - b);
}
// Rounded fractional product; only -1 * -1 overflows.
Word MultR(int a, int b) {
    if (a == kMinWord && b == kMinWord) return kMaxWord;
    return static_cast<Word>((a * b + 16384) >> 15);
}
int ShiftRight(int a, int n) {
    if (n >= 16) return a < 0 ? -1 : 0;
    if (n <= -16) return 0;
    if (n < 0) return static_cast<Word>(a * (1 << -n));
    return a >> n;
}
int ShiftLeft(int a, int n) {
    if (n >= 16) return 0;
    if (n <= -16) return a < 0 ? -1 : 0;
    if (n < 0) return ShiftRight(a, -n);
    return static_cast<Word>(a * (1 << n));
}

// One frame's parameters.
struct Frame {
    int lar[8];
    int lag[4];
    int gain[4];
    int grid[4];
    int max[4];
    int pulses[4][13];
};

// The frame's bits, least significant first, as a WAVE file packs them.
class Bits {
  public:
    explicit Bits(std::string_view bytes) : bytes_(bytes) {}
    void Seek(std::size_t bit) { at_ = bit; }
    int Take(int count) {
        int value = 0;
        for (int i = 0; i < count; ++i, ++at_) {
            const auto byte = static_cast<std::uint8_t>(bytes_[at_ / 8]);
            value |= ((byte >> (at_ % 8)) & 1) << i;
        }
        return value;
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

Frame ReadFrame(Bits& bits) {
    Frame f{};
    constexpr int kLarBits[8] = {6, 6, 5, 5, 4, 4, 3, 3};
    for (int i = 0; i < 8; ++i) f.lar[i] = bits.Take(kLarBits[i]);
    for (int j = 0; j < 4; ++j) {
        f.lag[j] = bits.Take(7);
        f.gain[j] = bits.Take(2);
        f.grid[j] = bits.Take(2);
        f.max[j] = bits.Take(6);
        for (int& pulse : f.pulses[j]) pulse = bits.Take(3);
    }
    return f;
}

class GsmDecoder {
  public:
    void Decode(const Frame& f, Word out[160]) {
        Word excitation[160];
        for (int j = 0; j < 4; ++j) {
            Word residual[40];
            RpeDecode(f.max[j], f.grid[j], f.pulses[j], residual);
            LongTermSynthesis(f.lag[j], f.gain[j], residual);
            std::copy(dp_ + 120, dp_ + 160, excitation + j * 40);
        }
        ShortTermSynthesis(f.lar, excitation, out);
        for (int k = 0; k < 160; ++k) {  // de-emphasis, upscaling, truncation
            msr_ = Add(out[k], MultR(msr_, 28180));
            out[k] = static_cast<Word>(Add(msr_, msr_) & 0xFFF8);
        }
    }

  private:
    static void RpeDecode(int max, int grid, const int pulses[13], Word residual[40]) {
        int exponent = max > 15 ? (max >> 3) - 1 : 0;
        int mantissa = max - (exponent << 3);
        if (mantissa == 0) {
            exponent = -4;
            mantissa = 7;
        } else {
            while (mantissa <= 7) {
                mantissa = mantissa << 1 | 1;
                --exponent;
            }
            mantissa -= 8;
        }
        constexpr int kFactor[8] = {18431, 20479, 22527, 24575, 26623, 28671, 30719, 32767};
        const int shift = 6 - exponent;
        const int round = ShiftLeft(1, shift - 1);
        std::fill(residual, residual + 40, Word{0});
        for (int i = 0; i < 13; ++i) {
            const int value = static_cast<Word>(((pulses[i] << 1) - 7) << 12);
            residual[grid + 3 * i] =
                static_cast<Word>(ShiftRight(Add(MultR(kFactor[mantissa], value), round), shift));
        }
    }

    void LongTermSynthesis(int lag, int gain, const Word residual[40]) {
        if (lag >= 40 && lag <= 120) lag_ = lag;
        constexpr int kGains[4] = {3277, 11469, 21299, 32767};
        Word* drp = dp_ + 120;
        for (int k = 0; k < 40; ++k) drp[k] = Add(residual[k], MultR(kGains[gain], drp[k - lag_]));
        std::copy(dp_ + 40, dp_ + 160, dp_);
    }

    static void DecodeLar(const int lar[8], Word out[8]) {
        constexpr int kB[8] = {0, 0, 2048, -2560, 94, -1792, -341, -1144};
        constexpr int kMic[8] = {-32, -32, -16, -16, -8, -8, -4, -4};
        constexpr int kInvA[8] = {13107, 13107, 13107, 13107, 19223, 17476, 31454, 29708};
        for (int i = 0; i < 8; ++i) {
            const int temp = Sub(static_cast<Word>(Add(lar[i], kMic[i]) * 1024), kB[i] * 2);
            const Word scaled = MultR(kInvA[i], temp);
            out[i] = Add(scaled, scaled);
        }
    }

    static void ToReflection(Word lar[8]) {
        for (int i = 0; i < 8; ++i) {
            const bool negative = lar[i] < 0;
            const int magnitude = negative ? (lar[i] == kMinWord ? kMaxWord : -lar[i]) : lar[i];
            const int r = magnitude < 11059   ? magnitude << 1
                          : magnitude < 20070 ? magnitude + 11059
                                              : Add(magnitude >> 2, 26112);
            lar[i] = static_cast<Word>(negative ? -r : r);
        }
    }

    void Filter(const Word rp[8], int count, const Word* in, Word* out) {
        for (int k = 0; k < count; ++k) {
            int sri = in[k];
            for (int i = 7; i >= 0; --i) {
                sri = Sub(sri, MultR(rp[i], v_[i]));
                v_[i + 1] = Add(v_[i], MultR(rp[i], sri));
            }
            out[k] = v_[0] = static_cast<Word>(sri);
        }
    }

    void ShortTermSynthesis(const int lar[8], const Word* in, Word* out) {
        Word* current = lar_pp_[j_];
        Word* previous = lar_pp_[j_ ^= 1];
        DecodeLar(lar, current);
        // Between the two frames' coefficients over the first 40 samples, then the new ones.
        struct Span {
            int from, count;
        };
        constexpr Span kSpans[4] = {{0, 13}, {13, 14}, {27, 13}, {40, 120}};
        for (int s = 0; s < 4; ++s) {
            Word rp[8];
            for (int i = 0; i < 8; ++i) {
                const int p = previous[i];
                const int c = current[i];
                switch (s) {
                    case 0:
                        rp[i] = Add(Add(p >> 2, c >> 2), p >> 1);
                        break;
                    case 1:
                        rp[i] = Add(p >> 1, c >> 1);
                        break;
                    case 2:
                        rp[i] = Add(Add(p >> 2, c >> 2), c >> 1);
                        break;
                    default:
                        rp[i] = static_cast<Word>(c);
                }
            }
            ToReflection(rp);
            Filter(rp, kSpans[s].count, in + kSpans[s].from, out + kSpans[s].from);
        }
    }

    Word dp_[280] = {};
    int lag_ = 40;
    Word lar_pp_[2][8] = {};
    int j_ = 0;
    Word v_[9] = {};
    Word msr_ = 0;
};

}  // namespace

void DecodeGsmBlocks(std::string_view data, WaveSamples& out, std::size_t max_samples) {
    constexpr std::size_t kBlock = 65;
    GsmDecoder decoder;
    // A last block cut short keeps the bytes of the block before it past its end, as libsndfile
    // reads it: the desktop plays those frames so.
    std::string block(kBlock, '\0');
    for (std::size_t at = 0; at < data.size(); at += kBlock) {
        const std::string_view part = data.substr(at, kBlock);
        block.replace(0, part.size(), part);
        Bits bits(block);
        for (int half = 0; half < 2; ++half) {
            bits.Seek(static_cast<std::size_t>(half) * 260);
            Word samples[160];
            decoder.Decode(ReadFrame(bits), samples);
            for (const Word sample : samples) {
                if (out.samples.size() >= max_samples) return;
                out.samples.push_back(static_cast<float>(sample) / 32768.0f);
            }
        }
    }
}

}  // namespace tsukikage
