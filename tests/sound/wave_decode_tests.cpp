// The engine's own wave decoder at the ends of each encoding's range and on files cut or built
// wrong. Its agreement with libsndfile over whole files is checked natively with the mixer.
#include <gtest/gtest.h>

#include "sound/riff_bytes.h"
#include "sound/wave_decode.h"
#include "sound/wave_file.h"

namespace tsukikage {
namespace {

using namespace testing_riff;

std::string Wave(const std::string& fmt, std::string_view data) {
    return Riff("WAVE", Chunk("fmt ", fmt) + Chunk("data", data));
}

// The "fmt " of an ADPCM file: its block size and the frames each block holds.
std::string AdpcmFmt(std::uint16_t tag, int channels, int align, int frames) {
    std::string fmt = Fmt(tag, channels, 8000, 4, Little(static_cast<std::uint32_t>(frames), 2));
    fmt.replace(12, 2, Little(static_cast<std::uint32_t>(align), 2));
    return fmt;
}

constexpr float k16 = 1.0f / 32768;

TEST(WaveDecodeTest, EachEncodingReachesBothEndsOfItsRange) {
    const struct {
        const char* name;
        std::string file;
        std::vector<float> samples;
    } cases[] = {
        {"unsigned 8",
         Wave(Fmt(wave::kPcm, 1, 8000, 8), std::string("\x00\x80\xFF", 3)),
         {-1.0f, 0.0f, 127.0f / 128}},
        {"16",
         Wave(Fmt(wave::kPcm, 1, 8000, 16), std::string("\x00\x80\xFF\x7F\x01\x00", 6)),
         {-1.0f, 32767 * k16, k16}},
        {"24",
         Wave(Fmt(wave::kPcm, 1, 8000, 24), std::string("\x00\x00\x80\xFF\xFF\x7F", 6)),
         {-1.0f, 8388607.0f / 8388608}},
        {"32",
         Wave(Fmt(wave::kPcm, 1, 8000, 32), std::string("\x00\x00\x00\x80\xFF\xFF\xFF\xFF", 8)),
         {-1.0f, -1.0f / 2147483648.0f}},
        {"float 32", Wave(Fmt(wave::kIeeeFloat, 1, 8000, 32), Little(0x3F000000, 4)), {0.5f}},
        {"float 64",
         Wave(Fmt(wave::kIeeeFloat, 1, 8000, 64), Little(0, 4) + Little(0xBFD00000, 4)),
         {-0.25f}},
        {"A-law",
         Wave(Fmt(wave::kALaw, 1, 8000, 8), "\xD5\x55\xAA\x2A"),
         {8 * k16, -8 * k16, 32256 * k16, -32256 * k16}},
        {"u-law",
         Wave(Fmt(wave::kMuLaw, 1, 8000, 8), std::string("\xFF\x7F\x80\x00", 4)),
         {0.0f, 0.0f, 32124 * k16, -32124 * k16}},
        {"extensible 16",
         Wave(Fmt(wave::kExtensible, 1, 8000, 16,
                  Little(16, 2) + Little(4, 4) + Little(wave::kPcm, 2) + std::string(14, '\0')),
              std::string("\x00\x80", 2)),
         {-1.0f}},
        // A last sample or frame cut short is left out.
        {"16, odd byte", Wave(Fmt(wave::kPcm, 1, 8000, 16), std::string("\x01\x00\x7F", 3)), {k16}},
        {"stereo, half a frame", Wave(Fmt(wave::kPcm, 2, 8000, 8), "\x80\x80\x80"), {0.0f, 0.0f}},
        // IMA: the header's sample, then a nibble a sample, low nibble first.
        {"IMA",
         Wave(AdpcmFmt(wave::kImaAdpcm, 1, 8, 9),
              std::string("\xE8\x03\x00\x00\x07\x00\x00\x00", 8)),
         {1000 * k16, 1011 * k16, 1013 * k16, 1014 * k16, 1015 * k16, 1016 * k16, 1017 * k16,
          1018 * k16, 1019 * k16}},
        // MS ADPCM: the second sample of the header comes first.
        {"MS ADPCM",
         Wave(AdpcmFmt(wave::kMsAdpcm, 1, 8, 2),
              std::string("\x00\x10\x00\x02\x00\x01\x00\x00", 8)),
         {1 * k16, 2 * k16}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<WaveSamples> wave = DecodeWaveSamples(c.file);
        ASSERT_TRUE(wave);
        EXPECT_EQ(wave->sample_rate, 8000);
        EXPECT_EQ(wave->samples, c.samples);
    }
}

// Nothing to decode, an encoding or layout no decoder takes, a block size that would never
// move on: no samples, and the call comes back.
TEST(WaveDecodeTest, FilesWithNothingToDecodeGiveNothing) {
    const std::string blocks(64, '\x11');
    const std::string cases[] = {
        Wave(Fmt(wave::kPcm, 1, 8000, 16), ""),
        Wave(Fmt(wave::kPcm, 1, 8000, 16), "\x01"),
        Wave(Fmt(wave::kPcm, 1, 8000, 12), "\x01\x02"),
        Wave(Fmt(wave::kIeeeFloat, 1, 8000, 16), "\x01\x02"),
        Wave(Fmt(0x0022, 1, 8000, 16), blocks),
        Wave(AdpcmFmt(wave::kImaAdpcm, 1, 0, 9), blocks),
        Wave(AdpcmFmt(wave::kImaAdpcm, 2, 8, 9), blocks),
        Wave(AdpcmFmt(wave::kMsAdpcm, 1, 0, 2), blocks),
        Wave(AdpcmFmt(wave::kMsAdpcm, 3, 64, 2), blocks),
        Wave(Fmt(wave::kMpegLayer3, 2, 44100, 0), blocks),
        Wave(Fmt(wave::kPcm, 1, 8000, 16), "ab").substr(0, 30),
        std::string("RIFF\x04\x00\x00\x00WAVE", 12),
    };
    for (const std::string& file : cases) EXPECT_FALSE(DecodeWaveSamples(file)) << file.size();
}

// An MS ADPCM block whose every nibble raises the step: it grows to its bound and the samples
// stay at full scale, with no overflow on the way.
TEST(WaveDecodeTest, AnMsAdpcmStepThatKeepsGrowingIsHeld) {
    const std::string block =
        std::string("\x00\xFF\x7F\x00\x00\x00\x00", 7) + std::string(4000, '\x77');
    const std::optional<WaveSamples> wave =
        DecodeWaveSamples(Wave(AdpcmFmt(wave::kMsAdpcm, 1, 4007, 8002), block));
    ASSERT_TRUE(wave);
    ASSERT_EQ(wave->samples.size(), 8002u);
    EXPECT_EQ(wave->samples.back(), 32767 * k16);
}

}  // namespace
}  // namespace tsukikage
