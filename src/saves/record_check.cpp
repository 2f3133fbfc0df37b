#include "saves/record_check.h"

#include "base/ascii.h"
#include "base/runtime_error.h"
#include "base/text_file.h"
#include "window/window_state.h"

namespace tsukikage {
namespace {

// Far beyond any record the game writes: a bigger file is no record.
constexpr std::size_t kMaxRecordBytes = 1 << 20;
constexpr std::string_view kReadPagesFormat = "tsukikage read pages 1";

bool Reads(std::string_view record, std::string_view bytes) {
    TextInput in{std::string(bytes)};
    try {
        if (record == "cgmode.dat") {
            const int count = in.ReadInteger();
            if (count < 0 || count > kLastPicture) return false;
            for (int i = 0; i < count; ++i) in.ReadBoolean();
        } else if (record == "endlist.dat") {
            const int count = in.ReadByte();
            if (count > kEndingCount) return false;
            for (int i = 0; i < count; ++i) in.ReadByte();
        } else if (record == "read-pages.txt") {
            // Read as ReadPages reads it: the first line up to its LF.
            return bytes.substr(0, bytes.find('\n')) == kReadPagesFormat;
        } else if (record != "settings.ini") {
            in.ReadInteger();  // a save slot: the part it was saved in
        }
    } catch (const RuntimeError&) {
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> KeptRecordName(std::string_view file_name,
                                          std::string_view read_pages_name) {
    const std::string name = ascii::Lower(file_name);
    if (!read_pages_name.empty() && name == ascii::Lower(read_pages_name)) {
        return std::string("read-pages.txt");
    }
    if (name == "tsukikage.ini") return std::string("settings.ini");
    for (std::string_view kept : kKeptRecords) {
        if (name == kept) return std::string(kept);
    }
    return std::nullopt;
}

std::optional<std::string> RecordProblem(std::string_view record, std::string_view bytes) {
    bool known = false;
    for (std::string_view kept : kKeptRecords) known = known || kept == record;
    const std::string name(record);
    if (!known) return name + " はこのゲームの記録ではありません。";
    if (bytes.size() > kMaxRecordBytes) return name + " は記録にしては大きすぎます。";
    if (!Reads(record, bytes)) return name + " が壊れているため、読み込めません。";
    return std::nullopt;
}

}  // namespace tsukikage
