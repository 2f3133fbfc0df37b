#pragma once

#include <string>
#include <string_view>

#include "window/window_state.h"

namespace tsukikage {

// Numbered pictures 1 to 250 live under "\data\" as zero-padded names: 7 is "\data\007.jpg",
// 42 "\data\042.jpg", 150 "\data\150.jpg"; their thumbnails under "\data\smallsize\".
inline constexpr int kFirstPicture = 1;
// The folder of the numbered pictures.
inline constexpr std::string_view kPictureFolder = "\\data\\";

// The file of a picture whose number text comes from a scenario line: the text is used as
// written and only its value chooses the padding (so "07" names "\data\0007.jpg").
std::string PictureFileName(std::string_view number_text, long long value);
// The file of a picture number the program computes: plain decimal digits.
std::string PictureFileName(long long number);
// The same file's name within kPictureFolder ("007.jpg").
std::string PictureBaseName(long long number);
std::string ThumbnailFileName(long long number);

}  // namespace tsukikage
