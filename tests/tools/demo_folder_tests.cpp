// The demo game folder as the generator writes it: every file that the player, the scenario
// and the lists name is there, found the way the player finds it, at its size and in the form
// the player reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/game_folder.h"
#include "base/text_file.h"
#include "demo_files.h"
#include "demo_scenario.h"
#include "fakes/test_support.h"
#include "graphics/picture_names.h"
#include "window/form.h"

namespace tsukikage {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::uint32_t Little(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::uint32_t Big(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

void PrintTo(const Size& size, std::ostream* out) {
    *out << size.width << " x " << size.height;
}

// The pixel size a BMP or JPEG file declares; 0 x 0 for anything else.
Size PictureSize(std::string_view bytes) {
    if (bytes.starts_with("BM") && bytes.size() >= 26) {
        return {static_cast<int>(Little(bytes, 18, 4)),
                std::abs(static_cast<std::int32_t>(Little(bytes, 22, 4)))};
    }
    if (!bytes.starts_with("\xFF\xD8")) return {};
    for (std::size_t at = 2; at + 9 <= bytes.size() && bytes[at] == '\xFF';) {
        const unsigned marker = static_cast<unsigned char>(bytes[at + 1]);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            return {static_cast<int>(Big(bytes, at + 7, 2)),
                    static_cast<int>(Big(bytes, at + 5, 2))};
        }
        at += 2 + Big(bytes, at + 2, 2);
    }
    return {};
}

// The pixels of an uncompressed 24- or 32-bit BMP, top row first, as 0xRRGGBB; nothing for
// any other file.
std::vector<std::uint32_t> BitmapPixels(std::string_view bytes) {
    const Size size = PictureSize(bytes);
    if (!bytes.starts_with("BM") || bytes.size() < 34 || size.width == 0) return {};
    const unsigned bits = Little(bytes, 28, 2);
    const unsigned compression = Little(bytes, 30, 4);
    if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3)) return {};
    const bool bottom_up = static_cast<std::int32_t>(Little(bytes, 22, 4)) > 0;
    const std::size_t stride = (static_cast<std::size_t>(size.width) * bits + 31) / 32 * 4;
    const std::size_t start = Little(bytes, 10, 4);
    if (start + stride * static_cast<std::size_t>(size.height) > bytes.size()) return {};
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < size.height; ++y) {
        const std::size_t row =
            start + stride * static_cast<std::size_t>(bottom_up ? size.height - 1 - y : y);
        for (int x = 0; x < size.width; ++x) {
            pixels.push_back(Little(bytes, row + static_cast<std::size_t>(x) * bits / 8, 3));
        }
    }
    return pixels;
}

// The largest difference of one colour channel between two pixels.
int ChannelStep(std::uint32_t a, std::uint32_t b) {
    int step = 0;
    for (int shift : {0, 8, 16}) {
        step = std::max(step, std::abs(static_cast<int>((a >> shift) & 0xff) -
                                       static_cast<int>((b >> shift) & 0xff)));
    }
    return step;
}

struct Wave {
    unsigned format = 0;  // 1 for PCM
    unsigned channels = 0;
    unsigned rate = 0;
    unsigned bits = 0;
    std::vector<double> samples;  // the first channel, -1 to 1

    double Seconds() const { return rate ? static_cast<double>(samples.size()) / rate : 0; }
};

Wave ReadWave(std::string_view bytes) {
    Wave wave;
    if (bytes.size() < 12 || !bytes.starts_with("RIFF") || bytes.substr(8, 4) != "WAVE") {
        return wave;
    }
    std::string_view data;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string_view id = bytes.substr(at, 4);
        const std::size_t size = Little(bytes, at + 4, 4);
        const std::string_view body = bytes.substr(at + 8, size);
        if (id == "fmt " && body.size() >= 16) {
            wave.format = Little(body, 0, 2);
            wave.channels = Little(body, 2, 2);
            wave.rate = Little(body, 4, 4);
            wave.bits = Little(body, 14, 2);
        }
        if (id == "data") data = body;
        at += 8 + size + (size & 1);
    }
    if (wave.bits != 16 || wave.channels == 0) return wave;
    for (std::size_t at = 0; at + 2 * wave.channels <= data.size(); at += 2 * wave.channels) {
        wave.samples.push_back(static_cast<std::int16_t>(Little(data, at, 2)) / 32768.0);
    }
    return wave;
}

bool EveryLineEndsInCrLf(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    }
    return text.ends_with("\r\n");
}

// Runs the generator into a fresh folder; its exit status.
int MakeDemo(const fs::path& game) {
    const std::string command = "\"" MAKE_DEMO_PROGRAM "\" \"" + game.string() + "\"";
    return std::system(command.c_str());
}

// The highest picture number the scenario shows: a transition from N ends on N + 1.
int HighestPicture() {
    int highest = 0;
    for (std::string_view line : demo::ScenarioLines()) {
        if (line.size() < 4 || line[0] != '.' || line[2] != ' ' ||
            std::string_view("abcd").find(line[1]) == std::string_view::npos) {
            continue;
        }
        highest = std::max(highest, std::stoi(std::string(line.substr(3))) + (line[1] != 'c'));
    }
    return highest;
}

class DemoFolderTest : public ::testing::Test {
  protected:
    // One demo for all the checks: the generator is a program of its own, run once.
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test_support::TempFolder>();
        status_ = MakeDemo(Game());
    }
    static void TearDownTestSuite() { folder_.reset(); }
    void SetUp() override { ASSERT_EQ(status_, 0) << "make_demo failed"; }

    static fs::path Game() { return folder_->path() / "game"; }

    // The bytes of a file named the game's way, found as the player finds it.
    static std::optional<std::string> Read(std::string_view name, bool sound = false) {
        const GameFolder folder(Game());
        const auto path = sound ? folder.FindSound(name) : folder.Find(name);
        if (!path) return std::nullopt;
        return ReadBytes(*path);
    }

    // A list file read the way the player reads it: a count, then as many names.
    static std::vector<std::string> ReadList(std::string_view name) {
        const auto bytes = Read(name);
        if (!bytes) {
            ADD_FAILURE() << "missing " << name;
            return {};
        }
        EXPECT_TRUE(EveryLineEndsInCrLf(*bytes)) << name;
        TextInput input(*bytes);
        std::vector<std::string> names(
            static_cast<std::size_t>(std::max<int>(0, input.ReadInteger())));
        for (std::string& entry : names) entry = input.ReadField();
        EXPECT_TRUE(input.AtEnd()) << name;
        return names;
    }

    static inline std::unique_ptr<test_support::TempFolder> folder_;
    static inline int status_ = -1;
};

TEST_F(DemoFolderTest, EveryPictureOfTheTitleAndTheExtrasIsThereAtItsSize) {
    struct Picture {
        std::string name;
        Size size;
    };
    std::vector<Picture> pictures = {
        {"\\Data\\題字.jpg", {640, 480}},    {"\\Data\\お断り.bmp", {640, 480}},
        {"\\Data\\題名.jpg", {640, 480}},    {"\\data\\nothing.jpg", {640, 480}},
        {"\\data\\nowload.jpg", {640, 480}}, {"\\data\\smallsize\\nothing.jpg", {160, 120}},
    };
    for (const char* image : {"NewGame", "loadGame", "cgagain", "sceneagain", "music", "End",
                              "load1", "load2", "load3", "load4", "load5", "back", "hatena"}) {
        pictures.push_back({"\\Data\\" + std::string(image) + ".bmp", {211, 26}});
    }
    for (int number = 1; number <= demo::kNumberedPictures; ++number) {
        pictures.push_back({PictureFileName(number), {640, 480}});
        pictures.push_back({ThumbnailFileName(number), {160, 120}});
    }
    const GameFolder folder(Game());
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.name);
        const auto path = folder.Find(picture.name);
        ASSERT_TRUE(path) << "missing";
        // Lookup ignores letter case, but the names are written as the player spells them.
        const std::string spelled = picture.name.substr(picture.name.rfind('\\') + 1);
        EXPECT_EQ(path->filename().string(), spelled);
        const std::string bytes = ReadBytes(*path);
        EXPECT_TRUE(spelled.ends_with(".bmp") ? bytes.starts_with("BM")
                                              : bytes.starts_with("\xFF\xD8\xFF"))
            << "not the picture format its name says";
        EXPECT_EQ(PictureSize(bytes), picture.size);
    }
}

TEST_F(DemoFolderTest, EveryFileTheScenarioNamesIsThere) {
    for (std::string_view line : demo::ScenarioLines()) {
        if (line.size() < 4 || line[0] != '.' || line[2] != ' ') continue;
        SCOPED_TRACE(line);
        const std::string argument(line.substr(3));
        switch (line[1]) {
            case 'a':
            case 'b':
            case 'c':
            case 'd': {
                const int number = std::stoi(argument);
                for (int shown = number; shown <= number + (line[1] != 'c'); ++shown) {
                    const auto bytes = Read(PictureFileName(shown));
                    ASSERT_TRUE(bytes) << "missing picture " << shown;
                    EXPECT_EQ(PictureSize(*bytes), (Size{640, 480}));
                }
                break;
            }
            case 'l': {
                const auto bytes = Read(argument);
                ASSERT_TRUE(bytes) << "missing";
                EXPECT_EQ(PictureSize(*bytes), (Size{662, 601})) << "the whole window";
                break;
            }
            case 'v':
            case 'r': {
                const auto bytes = Read(argument);
                ASSERT_TRUE(bytes) << "missing";
                EXPECT_EQ(ReadWave(*bytes).format, 1u) << "no PCM wave";
                break;
            }
            case 'x':
            case 'y': {
                const auto bytes = Read(argument);
                ASSERT_TRUE(bytes) << "missing";
                EXPECT_TRUE(bytes->starts_with("MThd")) << "no MIDI file";
                break;
            }
        }
    }
}

TEST_F(DemoFolderTest, TheListsNameTracksThePlayerFindsAndScenesTheScenarioMarks) {
    const std::vector<std::string> tracks = ReadList("\\list.dat");
    EXPECT_GE(tracks.size(), 3u);
    EXPECT_LE(tracks.size(), 10u);
    for (const std::string& name : tracks) {
        // The track name is also its file under \bgm\, named without an extension.
        EXPECT_TRUE(Read("\\bgm\\" + name, true)) << "no track " << name;
    }

    const std::vector<std::string> scenes = ReadList("\\Scenelist.dat");
    EXPECT_GE(scenes.size(), 2u);
    EXPECT_LE(scenes.size(), 10u);
    const auto scenario = Read("datafile");
    ASSERT_TRUE(scenario);
    TextInput input(*scenario);
    std::vector<std::string> lines;
    while (!input.AtEnd()) lines.push_back(input.ReadLine());
    for (std::size_t k = 1; k <= scenes.size(); ++k) {
        SCOPED_TRACE(scenes[k - 1]);
        EXPECT_FALSE(scenes[k - 1].empty());
        const auto start = std::find(lines.begin(), lines.end(), ".h " + std::to_string(2 * k - 1));
        const auto end = std::find(lines.begin(), lines.end(), ".h " + std::to_string(2 * k));
        EXPECT_LT(start, end) << "start and end markers missing or out of order";
    }
}

// On a choice the message label is hidden and the captions stand on the window picture: under
// them and two pixels around them it changes only smoothly (no frame line or knot runs into a
// caption), while the frame around them is there.
TEST_F(DemoFolderTest, TheWindowPicturesFrameStaysClearOfTheChoiceCaptions) {
    const auto bytes = Read(demo::kWindowPicture);
    ASSERT_TRUE(bytes);
    const Size size = PictureSize(*bytes);
    const std::vector<std::uint32_t> pixels = BitmapPixels(*bytes);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size.width * size.height));
    const auto at = [&](int x, int y) {
        return pixels[static_cast<std::size_t>(y * size.width + x)];
    };
    constexpr int kMargin = 2;
    constexpr int kSmooth = 3;  // the gradient and the glow change by less than this a pixel
    const Form form;
    std::vector<Rect> clear;
    for (ControlId caption : {ControlId::lblSel0, ControlId::lblSel1}) {
        const Rect r = form[caption].rect;
        clear.push_back(
            {r.left - kMargin, r.top - kMargin, r.width + 2 * kMargin, r.height + 2 * kMargin});
    }
    const auto in_clear = [&](int x, int y) {
        return std::any_of(clear.begin(), clear.end(),
                           [&](const Rect& r) { return r.Contains(x, y); });
    };
    const Rect area = form[ControlId::Label1].rect;
    int frame_steps = 0;
    int rough_steps = 0;
    std::string first_rough;
    for (int y = area.top; y < std::min(area.top + area.height, size.height) - 1; ++y) {
        for (int x = area.left; x < area.left + area.width - 1; ++x) {
            const int step =
                std::max(ChannelStep(at(x, y), at(x + 1, y)), ChannelStep(at(x, y), at(x, y + 1)));
            const bool both_clear = in_clear(x, y) && in_clear(x + 1, y) && in_clear(x, y + 1);
            if (both_clear && step > kSmooth) {
                ++rough_steps;
                first_rough = first_rough.empty() ? std::to_string(x) + ", " + std::to_string(y)
                                                  : first_rough;
            } else if (!both_clear && step > 4 * kSmooth) {
                ++frame_steps;
            }
        }
    }
    EXPECT_EQ(rough_steps, 0) << "frame art under a caption, first at " << first_rough;
    EXPECT_GT(frame_steps, 1000) << "no frame around the captions";
}

TEST_F(DemoFolderTest, FreshRecordsHoldNothingSeenAndNoEndingReached) {
    // The picture record counts every picture the demo has.
    const int pictures = HighestPicture();
    EXPECT_EQ(pictures, demo::kNumberedPictures);
    std::string nothing_seen = std::to_string(pictures) + "\r\n";
    for (int i = 0; i < pictures; ++i) nothing_seen += "#FALSE#\r\n";
    EXPECT_EQ(Read("\\cgmode.dat"), nothing_seen);
    EXPECT_EQ(Read("\\endlist.dat"), "3\r\n0\r\n0\r\n0\r\n");
}

TEST_F(DemoFolderTest, WritingTheDemoAgainKeepsThePlayersRecords) {
    test_support::TempFolder again;
    const std::string seen = "9\r\n#TRUE#\r\n#FALSE#\r\n";
    const std::string endings = "3\r\n1\r\n0\r\n1\r\n";
    again.Write("cgmode.dat", seen);
    again.Write("endlist.dat", endings);
    ASSERT_EQ(MakeDemo(again.path()), 0);
    EXPECT_EQ(ReadBytes(again.path() / "cgmode.dat"), seen);
    EXPECT_EQ(ReadBytes(again.path() / "endlist.dat"), endings);
    EXPECT_TRUE(fs::exists(again.path() / "datafile"));
}

// The title theme and the music-room tracks loop on the wave voice: each must sound, stay
// clear of clipping, end where it begins, and stay small.
TEST_F(DemoFolderTest, TheThemeAndTheTracksAreSmallSeamlessLoops) {
    std::vector<std::string> names = {"\\bgm\\晩鐘テーマ曲"};
    for (const demo::Track& track : demo::MusicRoomTracks()) {
        const std::string name = "\\bgm\\" + std::string(track.name);
        if (name != names.front()) names.push_back(name);
    }
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto bytes = Read(name, true);
        ASSERT_TRUE(bytes) << "missing";
        EXPECT_LE(bytes->size(), 1'000'000u);
        const Wave wave = ReadWave(*bytes);
        EXPECT_EQ(wave.format, 1u);
        EXPECT_EQ(wave.bits, 16u);
        EXPECT_TRUE(wave.rate == 22050 || wave.rate == 44100) << wave.rate;
        EXPECT_GE(wave.Seconds(), 8);
        EXPECT_LE(wave.Seconds(), 20);
        const std::vector<double>& samples = wave.samples;
        double peak = 0;
        for (double sample : samples) peak = std::max(peak, std::abs(sample));
        EXPECT_GT(peak, 0.25) << "hardly audible";
        EXPECT_LT(peak, 0.95) << "clipped";
        // Played in a loop, the last sample meets the first: that step may be no larger than
        // the steps around it, or the loop clicks.
        constexpr std::size_t kAround = 32;
        ASSERT_GT(samples.size(), 2 * kAround);
        double around = 0;
        for (std::size_t i = 1; i < kAround; ++i) {
            around =
                std::max({around, std::abs(samples[i] - samples[i - 1]),
                          std::abs(samples[samples.size() - i] - samples[samples.size() - i - 1])});
        }
        EXPECT_LE(std::abs(samples.front() - samples.back()), around)
            << "a click where the loop starts again";
    }
}

}  // namespace
}  // namespace tsukikage
