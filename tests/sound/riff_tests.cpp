// RIFF files as the platform's tools wrote them: the WAVE format of any chunk order, and MIDI
// in a RIFF wrapper.
#include <gtest/gtest.h>

#include "sound/midi_bytes.h"
#include "sound/midi_file.h"
#include "sound/riff.h"
#include "sound/riff_bytes.h"
#include "sound/wave_file.h"

namespace tsukikage {
namespace {

using namespace testing_riff;

TEST(WaveFormatTest, TheFormatIsFoundInAnyChunkOrderAndUnusableFilesAreNone) {
    const std::string pcm = Fmt(wave::kPcm, 2, 44100, 16);
    // An extensible file's sub-format: its GUID begins with the tag it stands for.
    const std::string extensible =
        Fmt(wave::kExtensible, 2, 48000, 24,
            Little(24, 2) + Little(3, 4) + Little(wave::kPcm, 2) + std::string(14, '\x11'));
    const struct {
        const char* name;
        std::string bytes;
        std::uint16_t tag;  // 0: no format
        std::string_view data;
    } cases[] = {
        {"plain", Riff("WAVE", Chunk("fmt ", pcm) + Chunk("data", "abcd")), wave::kPcm, "abcd"},
        {"data first, odd LIST between",
         Riff("WAVE", Chunk("data", "abc") + Chunk("LIST", "x") + Chunk("fmt ", pcm)), wave::kPcm,
         "abc"},
        {"odd chunk with no pad byte at the end",
         Riff("WAVE", Chunk("fmt ", pcm) + Chunk("data", "abc", false)), wave::kPcm, "abc"},
        {"data longer than the file",
         Riff("WAVE", Chunk("fmt ", pcm) + "data" + Little(99, 4) + "ab"), wave::kPcm, "ab"},
        {"extensible", Riff("WAVE", Chunk("fmt ", extensible) + Chunk("data", "")), wave::kPcm, ""},
        // The sub-format's tag is read when the chunk holds it, and only then.
        {"extensible up to its sub-format's tag",
         Riff("WAVE", Chunk("fmt ", extensible.substr(0, 26)) + Chunk("data", "")), wave::kPcm, ""},
        {"extensible cut inside its sub-format's tag",
         Riff("WAVE", Chunk("fmt ", extensible.substr(0, 25)) + Chunk("data", "")),
         wave::kExtensible, ""},
        {"GSM",
         Riff("WAVE",
              Chunk("fmt ", Fmt(wave::kGsm610, 1, 8000, 0, "\x40\x01")) + Chunk("data", "z")),
         wave::kGsm610, "z"},
        {"no data", Riff("WAVE", Chunk("fmt ", pcm)), 0, ""},
        {"no fmt", Riff("WAVE", Chunk("data", "abcd")), 0, ""},
        {"fmt of 15 bytes", Riff("WAVE", Chunk("fmt ", pcm.substr(0, 15)) + Chunk("data", "a")), 0,
         ""},
        {"no channels",
         Riff("WAVE", Chunk("fmt ", Fmt(wave::kPcm, 0, 44100, 16)) + Chunk("data", "a")), 0, ""},
        {"no wave", Riff("RMID", Chunk("fmt ", pcm) + Chunk("data", "a")), 0, ""},
        {"cut in its header", Riff("WAVE", Chunk("fmt ", pcm)).substr(0, 11), 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<WaveFormat> format = ReadWaveFormat(c.bytes);
        ASSERT_EQ(format.has_value(), c.tag != 0);
        if (!format) continue;
        EXPECT_EQ(format->tag, c.tag);
        EXPECT_EQ(format->data, c.data);
    }
}

TEST(WaveFormatTest, PlayableEncodingsAreThoseThePlayerDecodes) {
    const struct {
        std::uint16_t tag;
        std::uint16_t bits;
        bool playable;
    } cases[] = {
        {wave::kPcm, 8, true},        {wave::kPcm, 32, true},        {wave::kPcm, 12, false},
        {wave::kIeeeFloat, 64, true}, {wave::kIeeeFloat, 16, false}, {wave::kGsm610, 0, true},
        {wave::kMpeg, 0, true},       {wave::kMpegLayer3, 0, true},  {0x0022, 0, false},
        {0x0161, 16, false}};
    for (const auto& c : cases) {
        WaveFormat format;
        format.tag = c.tag;
        format.bits_per_sample = c.bits;
        EXPECT_EQ(IsPlayableWaveEncoding(format), c.playable) << WaveEncodingName(c.tag) << c.bits;
    }
    EXPECT_EQ(WaveEncodingName(wave::kGsm610), "GSM 6.10 (0x0031)");
    EXPECT_EQ(WaveEncodingName(0x1234), "0x1234");
}

TEST(RiffMidiTest, TheWrappedFileIsTimedAsThePlainOne) {
    using namespace testing_midi;
    const std::string plain = Header(0, 1, 96) + Track(HeldNote(96) + EndOfTrack(0));
    const std::string odd_plain = plain + "x";  // odd: the wrapper pads it
    const std::string wrapped = Riff("RMID", Chunk("LIST", "INFOabc") + Chunk("data", odd_plain));
    EXPECT_TRUE(LooksLikeMidi(wrapped.substr(0, 12)));
    EXPECT_FALSE(LooksLikeMidi(wrapped.substr(0, 11)));
    ASSERT_TRUE(StandardMidiBytes(wrapped));
    EXPECT_EQ(*StandardMidiBytes(wrapped), odd_plain);
    EXPECT_EQ(MidiLengthMs(wrapped), MidiLengthMs(plain));
    EXPECT_EQ(MidiTickAtMs(wrapped, 250), MidiTickAtMs(plain, 250));
    EXPECT_EQ(StandardMidiBytes(plain), plain);
    for (const std::string& no_midi :
         {Riff("RMID", Chunk("data", "RIFF")), Riff("RMID", Chunk("LIST", plain)),
          Riff("WAVE", Chunk("data", plain)), std::string("RIFF")}) {
        EXPECT_FALSE(StandardMidiBytes(no_midi));
        EXPECT_FALSE(MidiLengthMs(no_midi));
    }
}

}  // namespace
}  // namespace tsukikage
