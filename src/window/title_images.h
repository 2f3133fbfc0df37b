#pragma once

#include <iterator>
#include <string_view>

#include "window/form.h"

namespace tsukikage {

// The game's own pictures of the start-up and the title screens, by game-folder name.
inline constexpr std::string_view kLetteringPicture = "\\Data\\題字.jpg";
inline constexpr std::string_view kDisclaimerPicture = "\\Data\\お断り.bmp";
inline constexpr std::string_view kTitlePicture = "\\Data\\題名.jpg";
// What a locked extra's image shows until its ending is reached.
inline constexpr std::string_view kLockedExtraPicture = "\\Data\\hatena.bmp";

// The six title images in their order on the screen (and for the keys): the picture each
// shows on the title screen and on the load screen, and the ending that unlocks an extra.
struct TitleImage {
    ControlId image;
    std::string_view title_picture;
    std::string_view load_picture;
    int unlocked_by_ending;  // 1 to 3; 0 for an image always open
};

inline constexpr TitleImage kTitleImages[] = {
    {ControlId::NewGameImage, "\\Data\\NewGame.bmp", "\\Data\\load1.bmp", 0},
    {ControlId::LoadGameImage, "\\Data\\loadGame.bmp", "\\Data\\load2.bmp", 0},
    {ControlId::CGImage, "\\Data\\cgagain.bmp", "\\Data\\load3.bmp", 1},
    {ControlId::SceneImage, "\\Data\\sceneagain.bmp", "\\Data\\load4.bmp", 2},
    {ControlId::MusicImage, "\\Data\\music.bmp", "\\Data\\load5.bmp", 3},
    {ControlId::EndImage, "\\Data\\End.bmp", "\\Data\\back.bmp", 0},
};

// The words such images carry, in the same order: what each does on the title screen, and on
// the load screen. A screen reader says them for the pictures; the demo game draws them.
inline constexpr std::string_view kTitleImageCaptions[] = {"はじめから", "つづきから", "ＣＧ鑑賞",
                                                           "シーン回想", "音楽鑑賞",   "おわり"};
inline constexpr std::string_view kLoadImageCaptions[] = {"ロード１", "ロード２", "ロード３",
                                                          "ロード４", "ロード５", "もどる"};
static_assert(std::size(kTitleImageCaptions) == std::size(kTitleImages));
static_assert(std::size(kLoadImageCaptions) == std::size(kTitleImages));

}  // namespace tsukikage
