#pragma once

#include <filesystem>

namespace tsukikage {

// The game to play when none is named: the folder the program lives in when it holds a game
// (as the original lived in its game folder), otherwise the demo installed beside the program
// (<prefix>/share/tsukikage/demo for <prefix>/bin), otherwise the program's folder all the
// same (which the command line then reports as holding no game).
std::filesystem::path DefaultGameFolder(const std::filesystem::path& program_folder);

// The game folder is the demo installed beside the program, however it was named (a relative
// path, a trailing separator, a link). That folder belongs to the package that installed it:
// its records go to the player's own folder even when it could be written (as root).
bool IsInstalledDemo(const std::filesystem::path& program_folder,
                     const std::filesystem::path& game_folder);

}  // namespace tsukikage
