// The bundled game's waves packed by tools/web/pack_waves.py come back sample for sample.
// The packed bytes below are what that script wrote for the samples beside them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fakes/test_support.h"
#include "view/web/packed_waves.h"

namespace tsukikage::web {
namespace {

using test_support::ReadAll;
using test_support::TempFolder;

std::string Hex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

std::string Little(std::uint32_t value, int size) {
    std::string bytes;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

// A wave of 8000 Hz with its data chunk; `declared` stands for the data's own size when 0.
std::string Wave(int tag, int channels, int bits, const std::string& data,
                 std::uint32_t declared = 0) {
    const std::string fmt = Little(static_cast<std::uint32_t>(tag), 2) +
                            Little(static_cast<std::uint32_t>(channels), 2) + Little(8000, 4) +
                            Little(8000u * static_cast<std::uint32_t>(channels * bits / 8), 4) +
                            Little(static_cast<std::uint32_t>(channels * bits / 8), 2) +
                            Little(static_cast<std::uint32_t>(bits), 2);
    const std::string body =
        "WAVEfmt " + Little(16, 4) + fmt + "data" +
        Little(declared ? declared : static_cast<std::uint32_t>(data.size()), 4) + data;
    return "RIFF" + Little(static_cast<std::uint32_t>(body.size()), 4) + body;
}

TEST(UnpackWave, RestoresEachChannelsSamplesThroughTheWholeRange) {
    const struct {
        const char* what;
        int channels;
        const char* packed;
        const char* samples;  // little-endian 16-bit
        std::uint32_t declared;
    } kCases[] = {
        // 1000, 1010, 1020, then the lowest and highest sample: the residuals wrap around.
        {"mono", 1, "e82200fafb03fc007b83", "e803f203fc030080ff7f", 0},
        // Left 100, 200, 300, 32767; right -100, -200, -300, -32768: each its own line.
        {"stereo", 2, "649c000000006f9000ff000000007e81", "64009cffc80038ff2c01d4feff7f0080", 0},
        // 5, 6, 7 and a byte of no whole sample, which stays as it is.
        {"odd size", 1, "05fc0000ff007f", "0500060007007f", 0},
        // A data chunk that says more than the file holds: what is there.
        {"cut short", 1, "05fc0000ff007f", "0500060007007f", 1000},
        {"no samples", 1, "", "", 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        std::string bytes = Wave(1, c.channels, 16, Hex(c.packed), c.declared);
        ASSERT_TRUE(UnpackWave(bytes));
        EXPECT_EQ(bytes, Wave(1, c.channels, 16, Hex(c.samples), c.declared));
    }
}

TEST(UnpackWave, LeavesWhatIsNoSixteenBitPcmWaveAsItIs) {
    const std::string data = Hex("e82200fafb03fc007b83");
    const struct {
        const char* what;
        std::string bytes;
    } kCases[] = {
        {"8-bit PCM", Wave(1, 1, 8, data)},
        {"24-bit PCM", Wave(1, 1, 24, data)},
        {"IEEE float", Wave(3, 1, 16, data)},
        {"MS ADPCM", Wave(2, 1, 16, data)},
        {"no channel", Wave(1, 0, 16, data)},
        {"a MIDI file", "MThd" + Little(6, 4) + data},
        {"no data chunk", Wave(1, 1, 16, data).substr(0, 36)},
        {"empty", ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        std::string bytes = c.bytes;
        EXPECT_FALSE(UnpackWave(bytes));
        EXPECT_EQ(bytes, c.bytes);
    }
}

TEST(UnpackListedWaves, RestoresTheListedWavesOnlyAndPassesOverWhatIsMissing) {
    TempFolder game;
    const std::string packed = Wave(1, 1, 16, Hex("e82200fafb03fc007b83"));
    const std::string samples = Wave(1, 1, 16, Hex("e803f203fc030080ff7f"));
    game.Write("bgm/theme.wav", packed);
    game.Write("se/chime", packed);
    game.Write("se/unlisted.wav", packed);
    game.Write("Data/001.jpg", "\xFF\xD8 a picture");
    TempFolder lists;
    const std::filesystem::path list =
        lists.Write("packed.txt", "bgm/theme.wav\r\nse/chime\n\nmissing.wav\nData/001.jpg\n");

    EXPECT_EQ(UnpackListedWaves(list, game.path()), 2);
    EXPECT_EQ(ReadAll(game.path() / "bgm" / "theme.wav"), samples);
    EXPECT_EQ(ReadAll(game.path() / "se" / "chime"), samples);
    EXPECT_EQ(ReadAll(game.path() / "se" / "unlisted.wav"), packed);
    EXPECT_EQ(ReadAll(game.path() / "Data" / "001.jpg"), "\xFF\xD8 a picture");
    EXPECT_FALSE(std::filesystem::exists(game.path() / "missing.wav"));
    EXPECT_EQ(UnpackListedWaves(lists.path() / "no list.txt", game.path()), 0);
}

}  // namespace
}  // namespace tsukikage::web
