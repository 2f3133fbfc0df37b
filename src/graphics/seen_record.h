#pragma once

#include <string>
#include <string_view>

#include "base/game_folder.h"
#include "window/window_state.h"

namespace tsukikage {

// The seen-picture record "\cgmode.dat": the count on the first line, then one flag per
// line ("#TRUE#" / "#FALSE#") for pictures 1 to the count, every line ended by CR LF.
inline constexpr std::string_view kSeenRecordName = "\\cgmode.dat";

// Reads the record into `CGCount` and `CGSeen`. A count above 250 is taken as 250 (the
// later entries are never read) and a negative count as 0. A missing file raises 53, a
// file with fewer flags than its count 62, a flag that is no boolean 13; the state is
// then left as it was.
void LoadSeenRecord(const GameFolder& folder, WindowState& state);

// Rewrites the record from `CGCount` and `CGSeen`(1 to `CGCount`), safely: the old file
// stays whole until the new one is complete. Raises the write errors of ReplaceFile.
void SaveSeenRecord(const GameFolder& folder, const WindowState& state);

// The bytes the record holds for a state.
std::string SeenRecordBytes(const WindowState& state);

}  // namespace tsukikage
