// The playing time of Standard MIDI Files, from hand-made files.
#include <gtest/gtest.h>

#include "demo_sounds.h"
#include "sound/midi_bytes.h"
#include "sound/midi_file.h"

namespace tsukikage {
namespace {

using namespace testing_midi;

TEST(MidiLengthTest, TempoChangesInTheFirstTrackTimeEveryTrack) {
    // 480 ticks a quarter. Track 0: 120 bpm, then 60 bpm from tick 960.
    const std::string tempo = Track(TempoEvent(0, 500000) + Bytes({0x87, 0x40}) +  // 960 ticks
                                    Bytes({0xFF, 0x51, 0x03}) + Big(1000000, 3) + EndOfTrack(0));
    // Track 1 ends at tick 1920: 960 ticks at 120 bpm (1 s) and 960 at 60 bpm (2 s).
    const std::string notes =
        Track(Bytes({0x00, 0x90, 60, 100, 0x8F, 0x00, 60, 0}) + EndOfTrack(0));
    EXPECT_EQ(MidiLengthMs(Header(1, 2, 480) + tempo + notes), 3000);
}

TEST(MidiLengthTest, FormatZeroWithRunningStatusAndTheDefaultTempo) {
    // 96 ticks a quarter at 120 bpm: 4 notes of 48 ticks each, all under running status.
    std::string events = Bytes({0x00, 0x90, 60, 100});
    for (int i = 0; i < 4; ++i) events += Bytes({48, 60, 0, 0, 62, 100});
    events += Bytes({0x00, 0xC0, 5, 0x00, 0xD0, 40, 0x00, 0xE0, 0, 64});  // one and two data bytes
    events += EndOfTrack(0);
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 96) + Track(events)), 1000);
}

TEST(MidiLengthTest, SmpteDivisionCountsFramesInsteadOfBeats) {
    // 25 frames a second, 40 ticks a frame: 1000 ticks a second whatever the tempo says.
    const int division = (0x100 - 25) << 8 | 40;
    const std::string events = TempoEvent(0, 250000) + HeldNote(100) + Bytes({0x81, 0x86, 0x0C}) +
                               Bytes({0xFF, 0x2F, 0x00});  // end at tick 100 + 17164
    EXPECT_EQ(MidiLengthMs(Header(0, 1, division) + Track(events)), 17264);
}

TEST(MidiLengthTest, TheLongestTrackDecidesAndSystemExclusiveIsSkipped) {
    const std::string short_track = Track(HeldNote(10) + EndOfTrack(0));
    const std::string long_track =
        Track(Bytes({0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7}) + Bytes({0x60, 0xF7, 0x01, 0x00}) +
              HeldNote(0x60) + EndOfTrack(0));
    EXPECT_EQ(MidiLengthMs(Header(1, 2, 96) + short_track + long_track), 1000);
}

TEST(MidiLengthTest, LongerHeadersAndForeignChunksAreSteppedOver) {
    const std::string header = "MThd" + Big(8, 4) + Big(0, 2) + Big(1, 2) + Big(96, 2) + "xx";
    const std::string foreign = "XFIH" + Big(3, 4) + "abc";
    EXPECT_EQ(MidiLengthMs(header + foreign + Track(HeldNote(96) + EndOfTrack(0))), 500);
}

TEST(MidiLengthTest, ZeroTempoIsIgnoredAndTheLargestTempoIsTimedWithoutOverflow) {
    const std::string zero = Track(TempoEvent(0, 0) + HeldNote(96) + EndOfTrack(0));
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 96) + zero), 500);
    // 16.7 s a quarter, and a delta of the largest four-byte quantity, several times.
    std::string events = TempoEvent(0, 0xFFFFFF);
    for (int i = 0; i < 8; ++i) events += Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 0});
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 1) + Track(events)), 2147483647);
}

TEST(MidiLengthTest, UnusableFilesHaveNoLength) {
    EXPECT_EQ(MidiLengthMs(""), std::nullopt);
    EXPECT_EQ(MidiLengthMs("RIFF....WAVE"), std::nullopt);
    EXPECT_EQ(MidiLengthMs("MThd"), std::nullopt);
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 96).substr(0, 12)), std::nullopt);  // cut in the header
    EXPECT_EQ(MidiLengthMs(Header(3, 1, 96) + Track(HeldNote(1))), std::nullopt);  // no format 3
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 0) + Track(HeldNote(1))), std::nullopt);   // no division
    EXPECT_EQ(MidiLengthMs(Header(1, 0, 96)), std::nullopt);                       // no tracks
    EXPECT_EQ(MidiLengthMs(Header(1, 2, 96) + Track("")), std::nullopt);           // empty track
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 96) + Track(Bytes({0x00, 60, 100}))), std::nullopt);
}

TEST(MidiLengthTest, DamagedTracksKeepTheEventsBeforeTheDamage) {
    const std::string good = HeldNote(96);  // ends at 500 ms
    // The file ends inside the chunk: what is there counts.
    const std::string cut = Header(0, 1, 96) + Track(good + HeldNote(96)).substr(0, 8 + 7 + 5);
    EXPECT_EQ(MidiLengthMs(cut), 500);
    // A chunk longer than the file is read as far as it goes.
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 96) + "MTrk" + Big(1000, 4) + good), 500);
    // Events past the chunk's stated end are not this track's.
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 96) + "MTrk" + Big(7, 4) + good + HeldNote(96)), 500);
    // A five-byte delta, a running byte with no status, a real-time byte, a meta event running
    // past the chunk: each ends the track there.
    for (const std::string& bad :
         {Bytes({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 0}), Bytes({0x10, 0xF8}),
          Bytes({0x10, 0xFF, 0x01, 0x40, 'a'}), Bytes({0x10, 0xF0, 0x7F})}) {
        EXPECT_EQ(MidiLengthMs(Header(0, 1, 96) + Track(good + bad)), 500);
    }
    const std::string after_meta = Bytes({0x00, 0xFF, 0x03, 0x01, 'x', 0x10, 64, 0});
    EXPECT_EQ(MidiLengthMs(Header(0, 1, 96) + Track(good + after_meta)), 500);
}

TEST(MidiTickTest, MillisecondsBecomeTicksThroughTheTempoMap) {
    // 480 ticks a quarter: 120 bpm up to tick 960 (1 s), then 60 bpm to tick 1920 (3 s).
    const std::string tempo_map =
        Header(1, 2, 480) +
        Track(TempoEvent(0, 500000) + Bytes({0x87, 0x40}) + Bytes({0xFF, 0x51, 0x03}) +
              Big(1000000, 3) + EndOfTrack(0)) +
        Track(Bytes({0x00, 0x90, 60, 100, 0x8F, 0x00, 60, 0}) + EndOfTrack(0));
    const int smpte = (0x100 - 25) << 8 | 40;  // 1000 ticks a second
    const std::string frames =
        Header(0, 1, smpte) + Track(HeldNote(100) + Bytes({0x81, 0x86, 0x0C, 0xFF, 0x2F, 0x00}));
    const struct {
        const std::string& file;
        std::int64_t ms;
        std::uint64_t tick;
    } kCases[] = {
        {tempo_map, 0, 0},       {tempo_map, 500, 480},   {tempo_map, 1000, 960},
        {tempo_map, 2000, 1440}, {tempo_map, 3000, 1920}, {tempo_map, 9000, 1920},  // the end
        {frames, 1234, 1234},    {frames, 0, 0},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(MidiTickAtMs(c.file, c.ms), c.tick) << c.ms << " ms";
    }
    EXPECT_EQ(MidiTickAtMs("RIFF....WAVE", 10), std::nullopt);
}

TEST(MidiLengthTest, TheDemoThemeLastsItsTwoTempos) {
    // Six bars at 112 beats a minute and two at 90.
    EXPECT_EQ(MidiLengthMs(demo::ThemeMidi()), 18190);
    EXPECT_GT(MidiLengthMs(demo::DawnMidi()).value_or(0), 3000);
}

}  // namespace
}  // namespace tsukikage
