#include "graphics/seen_record.h"

#include <algorithm>
#include <optional>

#include "base/runtime_error.h"
#include "base/text_file.h"
#include "graphics/picture_names.h"

namespace tsukikage {

int HighestPicturePresent(const GameFolder& folder) {
    // The picture folder is found once; each number is then looked up in it.
    const std::optional<std::filesystem::path> pictures = folder.Find(kPictureFolder);
    if (!pictures) return 0;
    for (int number = kLastPicture; number >= kFirstPicture; --number) {
        if (folder.FindUnder(*pictures, PictureBaseName(number))) return number;
    }
    return 0;
}

RecordState LoadSeenRecord(const GameFolder& records, const GameFolder& pictures,
                           WindowState& state) {
    const std::optional<std::filesystem::path> path = records.Find(kSeenRecordName);
    std::optional<TextInput> in;
    try {
        if (path) in.emplace(TextInput::Open(*path));
    } catch (const RuntimeError&) {
        in.reset();  // a folder or an unreadable file under the record's name
    }
    if (!in) {
        state.CGCount = static_cast<std::int16_t>(HighestPicturePresent(pictures));
        return RecordState::Missing;
    }
    bool damaged = false;
    try {
        const std::int16_t stored = in->ReadInteger();
        state.CGCount = std::clamp<std::int16_t>(stored, 0, kLastPicture);
        damaged = stored != state.CGCount;
    } catch (const RuntimeError&) {
        state.CGCount = static_cast<std::int16_t>(HighestPicturePresent(pictures));
        return RecordState::Damaged;
    }
    for (int i = 1; i <= state.CGCount; ++i) {
        try {
            if (in->ReadBoolean()) state.CGSeen[static_cast<std::size_t>(i)] = true;
        } catch (const RuntimeError&) {
            damaged = true;  // the field is passed over; the next one reads on
        }
    }
    return damaged ? RecordState::Damaged : RecordState::Whole;
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

void SaveSeenRecord(const GameFolder& folder, const WindowState& state, RecordWriter* writer) {
    const std::string bytes = SeenRecordBytes(state);
    if (writer && writer->Holds(bytes)) return;
    const std::optional<std::filesystem::path> path = folder.PathForWriting(kSeenRecordName);
    if (!path) Raise(err::kPathNotFound);
    if (writer) {
        writer->Write(*path, bytes);
    } else {
        ReplaceFile(*path, bytes);
    }
}

}  // namespace tsukikage
