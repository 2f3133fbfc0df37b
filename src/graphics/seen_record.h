#pragma once

#include <string>
#include <string_view>

#include "base/game_folder.h"
#include "base/text_file.h"
#include "window/window_state.h"

namespace tsukikage {

// The seen-picture record "\cgmode.dat": the count on the first line, then one flag per
// line ("#TRUE#" / "#FALSE#") for pictures 1 to the count, every line ended by CR LF.
inline constexpr std::string_view kSeenRecordName = "\\cgmode.dat";

// What reading a record found.
enum class RecordState { Whole, Damaged, Missing };

// Reads the record into `CGCount` and `CGSeen`, and never fails. A flag already set stays
// set: the record adds the pictures it holds to those seen in this run, which may lie above
// its count. A flag that is no boolean, or missing because the file ends early, counts as not
// seen. A count above 250 is taken as 250 and a negative one as 0. A count that is no
// number, or a missing file, is taken as the highest picture number present under "\data\",
// so the gallery still offers every picture. Anything but a whole record is reported, so
// that the damaged file can be kept before it is rewritten.
// `records` holds the record, `pictures` the game's pictures (they differ when the records
// live in the player's own folder).
RecordState LoadSeenRecord(const GameFolder& records, const GameFolder& pictures,
                           WindowState& state);
inline RecordState LoadSeenRecord(const GameFolder& folder, WindowState& state) {
    return LoadSeenRecord(folder, folder, state);
}

// Rewrites the record from `CGCount` and `CGSeen`(1 to `CGCount`), safely: the old file
// stays whole until the new one is complete. Raises the write errors of ReplaceFile.
// With a writer, a write of the bytes it wrote last to a file left as it was is passed over.
void SaveSeenRecord(const GameFolder& folder, const WindowState& state,
                    RecordWriter* writer = nullptr);

// The bytes the record holds for a state.
std::string SeenRecordBytes(const WindowState& state);

// The highest picture number whose file exists, or 0.
int HighestPicturePresent(const GameFolder& folder);

}  // namespace tsukikage
