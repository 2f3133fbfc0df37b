#pragma once

#include <filesystem>
#include <string>

namespace tsukikage::web {

// The page's data package carries the bundled game's 16-bit PCM waves packed so that they
// compress well (tools/web/pack_waves.py): each sample replaced by what is left after a
// straight line through the two before it in its channel, the low bytes of the data chunk
// before the high ones. File sizes and headers are unchanged.

// Restores a packed wave's samples in place; false, with the bytes untouched, when they are
// no 16-bit PCM wave.
bool UnpackWave(std::string& bytes);

// Restores every file a list names (one path a line, relative to `folder`) before the game
// reads them; a missing list or file is passed over. How many files were restored.
int UnpackListedWaves(const std::filesystem::path& list, const std::filesystem::path& folder);

}  // namespace tsukikage::web
