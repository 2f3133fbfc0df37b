#pragma once

#include <filesystem>
#include <ios>
#include <string>

namespace tsukikage {

// The bounds every platform's picture decoder keeps: anything larger is no picture the game
// could use, and refusing it keeps memory bounded.
inline constexpr std::streamoff kMaxPictureFileBytes = 256LL << 20;
// The widest and tallest picture taken, far beyond the 662 x 601 window.
inline constexpr int kMaxPictureSide = 8192;

// A picture file's bytes for a decoder. A missing file raises 53; an empty one, one larger
// than kMaxPictureFileBytes and one that cannot be read raise 481.
std::string ReadPictureFile(const std::filesystem::path& path);

}  // namespace tsukikage
