#include "demo_files.h"

#include <vector>

#include "demo_scenario.h"
#include "demo_sounds.h"

namespace tsukikage::demo {
namespace {

constexpr Track kTracks[] = {
    {kThemeName, ThemeWave},
    {"月影の回廊", CorridorWave},
    {"白砂の庭", GardenWave},
    {"夜明けの山", DawnWave},
};

constexpr std::string_view kSceneTitles[] = {"眠れない夜", "昼の庭", "月の番"};

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// A list file: the count, then each name in double quotes, one to a line.
template <typename Names, typename NameOf>
std::string ListFile(const Names& names, NameOf name_of) {
    std::vector<std::string> lines{std::to_string(std::size(names))};
    for (const auto& entry : names) lines.push_back(Quoted(name_of(entry)));
    return GameText(lines);
}

}  // namespace

std::span<const TitleImage> TitleImages() {
    static const std::vector<TitleImage> images = [] {
        std::vector<TitleImage> all;
        for (std::size_t i = 0; i < std::size(kTitleImages); ++i) {
            all.push_back({kTitleImages[i].title_picture, kTitleImageCaptions[i], false});
        }
        for (std::size_t i = 0; i < std::size(kTitleImages); ++i) {
            all.push_back({kTitleImages[i].load_picture, kLoadImageCaptions[i], false});
        }
        all.push_back({kLockedExtraPicture, "？？？", true});
        return all;
    }();
    return images;
}

std::span<const Track> MusicRoomTracks() {
    return kTracks;
}

std::span<const std::string_view> SceneTitles() {
    return kSceneTitles;
}

std::string SeenRecordFile() {
    std::vector<std::string> lines{std::to_string(kNumberedPictures)};
    lines.insert(lines.end(), kNumberedPictures, "#FALSE#");
    return GameText(lines);
}

std::string EndingRecordFile() {
    return GameText(std::vector<std::string>{"3", "0", "0", "0"});
}

std::string MusicListFile() {
    return ListFile(kTracks, [](const Track& track) { return track.name; });
}

std::string SceneListFile() {
    return ListFile(kSceneTitles, [](std::string_view title) { return title; });
}

std::string TrackFile(std::string_view name) {
    return "bgm\\" + std::string(name) + ".wav";
}

}  // namespace tsukikage::demo
