// The engine's own wave decoder (the browser's) against the desktop's libsndfile and libmpg123,
// on files written by sox, lame and twolame: the same samples, or for MPEG the same sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/decode/wave_decoder.h"
#include "fakes/test_support.h"
#include "sound/wave_decode.h"
#include "sound/wave_file.h"

namespace tsukikage {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// As the desktop's decoder rounds its float samples.
std::vector<std::int16_t> ToShorts(const std::vector<float>& samples) {
    std::vector<std::int16_t> out;
    for (const float raw : samples) {
        out.push_back(
            static_cast<std::int16_t>(std::lrint(std::clamp(raw, -1.0f, 1.0f) * 32767.0f)));
    }
    return out;
}

double Rms(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (const std::int16_t s : samples) sum += static_cast<double>(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

// The MPEG frames of a file wrapped as the platform's codecs wrote them.
std::string MpegInWave(const std::string& frames, std::uint16_t tag) {
    auto le = [](std::uint32_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
        return out;
    };
    const std::string extra(tag == wave::kMpegLayer3 ? 12 : 22, '\0');
    const std::string fmt = le(tag, 2) + le(2, 2) + le(22050, 4) + le(8000, 4) + le(1, 2) +
                            le(0, 2) + le(static_cast<std::uint32_t>(extra.size()), 2) + extra;
    std::string body = "WAVEfmt " + le(static_cast<std::uint32_t>(fmt.size()), 4) + fmt;
    body += "data" + le(static_cast<std::uint32_t>(frames.size()), 4) + frames;
    if (frames.size() % 2) body += '\0';
    return "RIFF" + le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

class PortableDecoderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"sox", "lame", "twolame"}) {
            const std::string probe = std::string("command -v ") + tool + " >/dev/null";
            if (std::system(probe.c_str()) != 0) GTEST_SKIP() << tool << " is not installed";
        }
        // A chirp at half scale with a full-scale click, so both ends of the range are met.
        Make("sox -n -r 22050 -c 2 -b 16 " + Path("source.wav") +
             " synth 0.5 sine 200-3000 vol 0.5 pad 0 0.01");
    }
    std::string Path(std::string_view name) const {
        return "'" + (folder.path() / std::string(name)).string() + "'";
    }
    void Make(const std::string& command) const {
        ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
    }
    std::string Read(std::string_view name) const {
        return ReadFile(folder.path() / std::string(name));
    }

    test_support::TempFolder folder;
};

TEST_F(PortableDecoderTest, EveryEncodingDecodesAsTheDesktopDecodesIt) {
    const std::string source = Path("source.wav");
    const struct {
        const char* name;
        std::string make;
        bool exact;
    } cases[] = {
        {"u8.wav", "sox " + source + " -e unsigned-integer -b 8 " + Path("u8.wav"), true},
        {"s16.wav", "sox " + source + " -c 1 " + Path("s16.wav"), true},
        {"s24.wav", "sox " + source + " -b 24 " + Path("s24.wav"), true},
        {"s32.wav", "sox " + source + " -b 32 " + Path("s32.wav"), true},
        {"f32.wav", "sox " + source + " -e floating-point -b 32 " + Path("f32.wav"), true},
        {"f64.wav", "sox " + source + " -e floating-point -b 64 " + Path("f64.wav"), true},
        {"alaw.wav", "sox " + source + " -e a-law " + Path("alaw.wav"), true},
        {"ulaw.wav", "sox " + source + " -e u-law " + Path("ulaw.wav"), true},
        {"ima.wav", "sox " + source + " -e ima-adpcm " + Path("ima.wav"), true},
        {"ima1.wav", "sox " + source + " -c 1 -e ima-adpcm " + Path("ima1.wav"), true},
        {"ms.wav", "sox " + source + " -e ms-adpcm " + Path("ms.wav"), true},
        {"ms1.wav", "sox " + source + " -c 1 -e ms-adpcm " + Path("ms1.wav"), true},
        {"gsm.wav", "sox " + source + " -r 8000 -c 1 -e gsm-full-rate " + Path("gsm.wav"), true},
        {"mp3", "lame --quiet -b 64 " + source + " " + Path("mp3"), false},
        {"mp2", "twolame --quiet " + source + " " + Path("mp2"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.make);
        std::string file = Read(c.name);
        if (!c.exact) {
            file = MpegInWave(file,
                              std::string_view(c.name) == "mp3" ? wave::kMpegLayer3 : wave::kMpeg);
        }
        const std::optional<DecodedWave> desktop = DecodeWave(file);
        const std::optional<WaveSamples> ours = DecodeWaveSamples(file);
        ASSERT_TRUE(desktop);
        ASSERT_TRUE(ours);
        EXPECT_EQ(ours->sample_rate, desktop->sample_rate);
        EXPECT_EQ(ours->channels, desktop->channels);
        const std::vector<std::int16_t> shorts = ToShorts(ours->samples);
        ASSERT_EQ(shorts.size(), desktop->samples.size());
        // Equal samples; MPEG decoders round their filters each their own way.
        std::vector<std::int16_t> difference;
        for (std::size_t i = 0; i < shorts.size(); ++i) {
            difference.push_back(static_cast<std::int16_t>(shorts[i] - desktop->samples[i]));
        }
        EXPECT_LE(Rms(difference), c.exact ? 0.0 : 8.0) << "of " << Rms(desktop->samples);
    }
}

// A file damaged part-way gives what came before the damage; one with nothing to decode, or of
// no playable encoding, gives nothing; a cap keeps whole frames below it.
TEST_F(PortableDecoderTest, DamagedCutAndForeignFilesNeverReadPastTheirBytes) {
    Make("sox " + Path("source.wav") + " -r 8000 -c 1 -e gsm-full-rate " + Path("gsm.wav"));
    Make("sox " + Path("source.wav") + " -e ms-adpcm " + Path("ms.wav"));
    Make("sox " + Path("source.wav") + " -e ima-adpcm " + Path("ima.wav"));
    Make("sox " + Path("source.wav") + " -b 24 " + Path("s24.wav"));
    Make("lame --quiet -b 64 " + Path("source.wav") + " " + Path("mp3"));
    const std::string mp3 = MpegInWave(Read("mp3"), wave::kMpegLayer3);
    std::string garbage_mp3 = mp3;
    for (std::size_t i = 100; i < garbage_mp3.size(); i += 7) garbage_mp3[i] = '\xFF';
    const std::string s24 = Read("s24.wav");
    std::string foreign = s24;
    foreign[20] = 0x22;  // TrueSpeech
    for (const std::string& bytes : {Read("gsm.wav").substr(0, 500), Read("ms.wav").substr(0, 90),
                                     Read("ima.wav").substr(0, 70), s24.substr(0, s24.size() - 1),
                                     mp3.substr(0, mp3.size() / 3), garbage_mp3}) {
        const std::optional<WaveSamples> wave = DecodeWaveSamples(bytes);
        if (wave) {
            EXPECT_EQ(wave->samples.size() % static_cast<std::size_t>(wave->channels), 0u);
        }
    }
    EXPECT_FALSE(DecodeWaveSamples(foreign));
    EXPECT_FALSE(DecodeWaveSamples(MpegInWave("", wave::kMpegLayer3)));
    EXPECT_FALSE(DecodeWaveSamples(MpegInWave(std::string(5000, '\0'), wave::kMpeg)));
    EXPECT_FALSE(DecodeWaveSamples(Read("gsm.wav").substr(0, 60)));
    const std::optional<WaveSamples> capped = DecodeWaveSamples(s24, 1001);
    ASSERT_TRUE(capped);
    EXPECT_EQ(capped->samples.size(), 1000u);
}

}  // namespace
}  // namespace tsukikage
