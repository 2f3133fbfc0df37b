#include "graphics/seen_record.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/runtime_error.h"
#include "base/text_file.h"
#include "graphics/picture_names.h"

namespace tsukikage {

void LoadSeenRecord(const GameFolder& folder, WindowState& state) {
    const std::optional<std::filesystem::path> path = folder.Find(kSeenRecordName);
    if (!path) Raise(err::kFileNotFound);
    TextInput in = TextInput::Open(*path);
    const std::int16_t stored_count = in.ReadInteger();
    const std::int16_t count =
        std::clamp<std::int16_t>(stored_count, 0, static_cast<std::int16_t>(kLastPicture));
    std::array<bool, 251> seen = state.CGSeen;
    for (int i = 1; i <= count; ++i) seen[static_cast<std::size_t>(i)] = in.ReadBoolean();
    state.CGCount = count;
    state.CGSeen = seen;
}

std::string SeenRecordBytes(const WindowState& state) {
    // The count is kept within the array, so the file always holds as many flags as it says.
    const int count = std::clamp<int>(state.CGCount, 0, kLastPicture);
    TextOutput out;
    out.WriteNumber(count).EndLine();
    for (int i = 1; i <= count; ++i) {
        out.WriteBoolean(state.CGSeen[static_cast<std::size_t>(i)]).EndLine();
    }
    return out.bytes();
}

void SaveSeenRecord(const GameFolder& folder, const WindowState& state) {
    const bool existed = folder.Find(kSeenRecordName).has_value();
    const std::optional<std::filesystem::path> path = folder.PathForWriting(kSeenRecordName);
    if (!path) Raise(err::kPathNotFound);
    ReplaceFile(*path, SeenRecordBytes(state));
    if (!existed) folder.Forget(path->parent_path());
}

}  // namespace tsukikage
