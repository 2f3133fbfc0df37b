// Waves of every encoding the original platform played, and MIDI in a RIFF wrapper, through
// the real mixer recorded by SDL's disk driver: each is heard, for as long as it lasts. The
// encoded files are made by sox, lame and twolame (scripts/install-deps installs them).
#include <cstdio>
#include <cstdlib>

#include "audio/decode/wave_decoder.h"
#include "audio/sdl/recorded_audio.h"
#include "sound/midi_file.h"
#include "sound/riff.h"
#include "sound/wave_file.h"

namespace tsukikage {
namespace {

using namespace testing_audio;

constexpr double kSeconds = 0.6;  // every test sound's length

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string Chunk(std::string_view id, std::string_view body) {
    std::string out(id);
    Put32(out, static_cast<std::uint32_t>(body.size()));
    out += body;
    if (body.size() % 2 != 0) out += '\0';  // the pad byte
    return out;
}

std::string Riff(std::string_view form, std::string_view chunks) {
    std::string out = "RIFF";
    Put32(out, static_cast<std::uint32_t>(4 + chunks.size()));
    return out + std::string(form) + std::string(chunks);
}

// An MPEG stream in a WAVE file, as the platform's codecs wrote it: the format's extra bytes
// (12 for layer 3, 22 for layers 1 and 2), a fact chunk, the frames as the data.
std::string MpegInWave(std::string_view frames, std::uint16_t tag, int rate, int channels) {
    std::string fmt;
    Put16(fmt, tag);
    Put16(fmt, static_cast<unsigned>(channels));
    Put32(fmt, static_cast<std::uint32_t>(rate));
    Put32(fmt, 8000);  // bytes a second
    Put16(fmt, 1);
    Put16(fmt, 0);
    const std::string extra =
        tag == wave::kMpegLayer3 ? std::string(12, '\0') : std::string(22, '\0');
    Put16(fmt, static_cast<unsigned>(extra.size()));
    fmt += extra;
    std::string fact;
    Put32(fact, static_cast<std::uint32_t>(rate * kSeconds));
    return Riff("WAVE", Chunk("fmt ", fmt) + Chunk("fact", fact) + Chunk("data", frames));
}

// The chunks of a plain wave in an unusual order (the samples before their format), with
// extra chunks of odd size around them.
std::string UnusualChunks(std::string_view plain) {
    const std::optional<RiffFile> riff = ReadRiff(plain);
    const std::string list = Chunk("LIST", "INFOodd");  // of odd size, with its pad byte
    return Riff("WAVE", list + Chunk("data", *riff->Find("data")) + Chunk("cue ", "abc") +
                            Chunk("fmt ", *riff->Find("fmt ")) + Chunk("smpl", "x"));
}

class WaveEncodingTest : public RecordedAudioTest {
  protected:
    void SetUp() override {
        for (const char* tool : {"sox", "lame", "twolame"}) {
            const std::string probe = std::string("command -v ") + tool + " >/dev/null";
            if (std::system(probe.c_str()) != 0) GTEST_SKIP() << tool << " is not installed";
        }
        Make("sox -n -r 22050 -c 2 -b 16 " + Path("source.wav") + " synth " +
             std::to_string(kSeconds) + " sine 440 vol 0.5");
    }
    std::string Path(std::string_view name) const {
        return "'" + (folder.path() / "se" / std::string(name)).string() + "'";
    }
    void Make(const std::string& command) const {
        ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
    }
    // Plays a file of the se folder; how loud it was and how long it sounded, in seconds.
    std::pair<Level, double> PlayAndMeasure(std::string_view name) {
        EXPECT_EQ(voice.PlaySound("\\se\\" + std::string(name), snd::kAsync), 1) << name;
        const std::uintmax_t from = WaitFor(kSeconds + 0.4);
        const std::vector<std::int16_t> samples =
            Samples(from, static_cast<std::uintmax_t>((kSeconds + 0.4) * 44100) * 4);
        std::size_t first = samples.size();
        std::size_t last = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (std::abs(samples[i]) < 2000) continue;
            first = std::min(first, i);
            last = i;
        }
        const double sounded = first < last ? static_cast<double>(last - first) / (2 * 44100) : 0;
        return {Measure(samples), sounded};
    }
};

TEST_F(WaveEncodingTest, EveryEncodingIsHeardForItsWholeLength) {
    const std::string source = Path("source.wav");
    const struct {
        const char* name;
        std::string make;  // the command writing the file, or empty for one built here
        std::uint16_t tag;
    } cases[] = {
        {"u8.wav", "sox " + source + " -e unsigned-integer -b 8 " + Path("u8.wav"), wave::kPcm},
        {"s16.wav", "sox " + source + " -r 44100 -c 1 " + Path("s16.wav"), wave::kPcm},
        {"s24.wav", "sox " + source + " -b 24 " + Path("s24.wav"), wave::kPcm},
        {"s32.wav", "sox " + source + " -b 32 " + Path("s32.wav"), wave::kPcm},
        {"f32.wav", "sox " + source + " -e floating-point -b 32 " + Path("f32.wav"),
         wave::kIeeeFloat},
        {"f64.wav", "sox " + source + " -e floating-point -b 64 " + Path("f64.wav"),
         wave::kIeeeFloat},
        {"msadpcm.wav", "sox " + source + " -e ms-adpcm " + Path("msadpcm.wav"), wave::kMsAdpcm},
        {"ima.wav", "sox " + source + " -e ima-adpcm " + Path("ima.wav"), wave::kImaAdpcm},
        {"alaw.wav", "sox " + source + " -e a-law " + Path("alaw.wav"), wave::kALaw},
        {"ulaw.wav", "sox " + source + " -e u-law " + Path("ulaw.wav"), wave::kMuLaw},
        {"gsm.wav", "sox " + source + " -r 8000 -c 1 -e gsm-full-rate " + Path("gsm.wav"),
         wave::kGsm610},
        {"mp3.wav", "lame --quiet -b 64 " + source + " " + Path("source.mp3"), wave::kMpegLayer3},
        {"mp2.wav", "twolame --quiet " + source + " " + Path("source.mp2"), wave::kMpeg},
        {"chunks.wav", "", wave::kPcm},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.make.empty()) Make(c.make);
        const fs::path se = folder.path() / "se";
        if (c.tag == wave::kMpegLayer3 || c.tag == wave::kMpeg) {
            const std::string frames =
                ReadFile(se / (c.tag == wave::kMpeg ? "source.mp2" : "source.mp3"));
            fakes::WriteBytes(se / c.name, MpegInWave(frames, c.tag, 22050, 2));
        } else if (c.make.empty()) {
            fakes::WriteBytes(se / c.name, UnusualChunks(ReadFile(se / "source.wav")));
        }
        game.Forget(se);
        const std::optional<WaveFormat> format = ReadWaveFormat(ReadFile(se / c.name));
        ASSERT_TRUE(format);
        EXPECT_EQ(format->tag, c.tag);
        EXPECT_TRUE(IsPlayableWaveEncoding(*format));
        const auto [level, sounded] = PlayAndMeasure(c.name);
        EXPECT_GT(level.rms_db, -25) << "too quiet";
        EXPECT_NEAR(sounded, kSeconds, 0.08) << "sounded for " << sounded << " s";
    }
}

// A damaged file of any encoding neither crashes nor hangs: it plays what decodes or stays
// silent, and the game goes on.
TEST_F(WaveEncodingTest, DamagedFilesOfEveryEncodingPlayWhatDecodesOrNothing) {
    Make("sox " + Path("source.wav") + " -r 8000 -c 1 -e gsm-full-rate " + Path("gsm.wav"));
    Make("sox " + Path("source.wav") + " -e ms-adpcm " + Path("adpcm.wav"));
    Make("lame --quiet -b 64 " + Path("source.wav") + " " + Path("source.mp3"));
    const fs::path se = folder.path() / "se";
    const std::string gsm = ReadFile(se / "gsm.wav");
    const std::string adpcm = ReadFile(se / "adpcm.wav");
    const std::string mp3 = MpegInWave(ReadFile(se / "source.mp3"), wave::kMpegLayer3, 22050, 2);
    std::string garbage_mp3 = mp3;
    for (std::size_t i = 100; i < garbage_mp3.size(); i += 7) garbage_mp3[i] = '\xFF';
    std::string no_data = gsm.substr(0, 60);
    const std::string cases[] = {gsm.substr(0, gsm.size() / 2),
                                 adpcm.substr(0, 90),
                                 mp3.substr(0, mp3.size() / 3),
                                 garbage_mp3,
                                 no_data,
                                 MpegInWave("", wave::kMpegLayer3, 22050, 2),
                                 MpegInWave(std::string(5000, '\0'), wave::kMpeg, 0, 2)};
    for (const std::string& bytes : cases) {
        fakes::WriteBytes(se / "bad.wav", bytes);
        game.Forget(se);
        voice.PlaySound("\\se\\bad", snd::kAsync);  // played or not: it must come back
        ReadAsPcmWave(se / "bad.wav");
    }
    EXPECT_EQ(voice.PlaySound("", snd::kAsync), 1);
}

// An .rmi file: the Standard MIDI File in the "data" chunk of a RIFF "RMID" file, after other
// chunks. The music device opens, times and plays it as the file it wraps; a RIFF MIDI file
// with no MIDI inside is the device's open error.
TEST_F(WaveEncodingTest, MidiInARiffWrapperIsTimedAndPlayedAsThePlainFile) {
    const std::string plain = demo::ThemeMidi();
    fakes::WriteBytes(folder.path() / "midi" / "theme.rmi",
                      Riff("RMID", Chunk("LIST", "INFOcop") + Chunk("data", plain)));
    fakes::WriteBytes(folder.path() / "midi" / "empty.rmi",
                      Riff("RMID", Chunk("data", "not a MIDI file")));
    std::string plain_length;
    std::string wrapped_length;
    ASSERT_EQ(Send(OpenCommand("theme.mid")), 0u);
    device.SendString("Status MIDI1 length", plain_length);
    ASSERT_EQ(Send("Close MIDI1"), 0u);
    ASSERT_EQ(Send(OpenCommand("theme.rmi")), 0u);
    device.SendString("Status MIDI1 length", wrapped_length);
    EXPECT_EQ(wrapped_length, plain_length);
    for (int pass = 0; pass < 2; ++pass) {  // the looping piece starts again from 0
        ASSERT_EQ(Send("Play MIDI1 from 0 notify"), 0u);
        Listen(0.3);
        EXPECT_GT(Listen(1.0).rms_db, -45) << "pass " << pass << " is silent";
    }
    ASSERT_EQ(Send("Close MIDI1"), 0u);
    EXPECT_EQ(Send(OpenCommand("empty.rmi")), mci::kInvalidFile);
}

// The music commands open waves of every encoding too: a GSM and an MPEG wave are timed by
// their decoded length and heard.
TEST_F(WaveEncodingTest, TheMusicCommandsPlayWavesTheMixerDoesNotDecode) {
    Make("sox " + Path("source.wav") + " -r 8000 -c 1 -e gsm-full-rate " + Path("gsm.wav"));
    Make("lame --quiet -b 64 " + Path("source.wav") + " " + Path("source.mp3"));
    const fs::path se = folder.path() / "se";
    fakes::WriteBytes(folder.path() / "midi" / "gsm.wav", ReadFile(se / "gsm.wav"));
    fakes::WriteBytes(folder.path() / "midi" / "mp3.wav",
                      MpegInWave(ReadFile(se / "source.mp3"), wave::kMpegLayer3, 22050, 2));
    for (const char* file : {"gsm.wav", "mp3.wav"}) {
        SCOPED_TRACE(file);
        ASSERT_EQ(Send(OpenCommand(file)), 0u);
        std::string length;
        device.SendString("Status MIDI1 length", length);
        EXPECT_NEAR(std::stod(length), kSeconds * 1000, 80);
        ASSERT_EQ(Send("Play MIDI1 from 0 notify"), 0u);
        EXPECT_GT(Listen(0.4).rms_db, -25);
        ASSERT_EQ(Send("Close MIDI1"), 0u);
    }
}

}  // namespace
}  // namespace tsukikage
