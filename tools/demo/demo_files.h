#pragma once

#include <span>
#include <string>
#include <string_view>

#include "sound/sound.h"
#include "window/title_images.h"

namespace tsukikage::demo {

// The files of the demo game around its scenario: what the title screen, the saves and the
// three extras read. Names are game-folder names, backslash separated, in UTF-8 (the folder
// stores them in UTF-8; the player's lookup finds them whatever their letter case).

// The numbered pictures run from 1 to this; the seen-picture record holds as many flags.
inline constexpr int kNumberedPictures = 9;

// Start-up and title screen pictures (640 x 480).
inline constexpr std::string_view kTitleLettering = kLetteringPicture;
inline constexpr std::string_view kDisclaimer = kDisclaimerPicture;

// The 211 x 26 pictures of the title images, the load screen and the locked-extra hint.
struct TitleImage {
    std::string_view name;
    std::string_view caption;
    bool dim;  // drawn subdued: the hint on a locked extra
};
std::span<const TitleImage> TitleImages();

// The title theme's name in "bgm\", the way the program names it: without an extension (the
// file is the wave "bgm\晩鐘テーマ曲.wav").
inline constexpr std::string_view kThemeName = kTitleTheme.substr(kTitleTheme.rfind('\\') + 1);

// The music room's tracks in list order; each name is also the track's file under "bgm\"
// (written with ".wav"). The first is the title theme.
struct Track {
    std::string_view name;
    std::string (*wave)();
};
std::span<const Track> MusicRoomTracks();

// The replay list's titles: scene k runs from the scenario's marker ".h 2k-1" to ".h 2k".
std::span<const std::string_view> SceneTitles();

// Record and list files as the game stores them: CP932, every line ending in CR LF.
inline constexpr std::string_view kSeenRecord = "cgmode.dat";
inline constexpr std::string_view kEndingRecord = "endlist.dat";
inline constexpr std::string_view kMusicList = "list.dat";
inline constexpr std::string_view kSceneList = "Scenelist.dat";
// Nothing seen: the picture count, then one "#FALSE#" for each picture.
std::string SeenRecordFile();
// No ending reached: the count 3, then three zeros.
std::string EndingRecordFile();
// The count, then each name in double quotes.
std::string MusicListFile();
std::string SceneListFile();

// The game-folder name of a track's wave file, "bgm\<name>.wav".
std::string TrackFile(std::string_view name);

}  // namespace tsukikage::demo
