#include "extras/ending_record.h"

#include <algorithm>
#include <optional>

#include "base/numeric.h"
#include "base/runtime_error.h"
#include "base/text_file.h"

namespace tsukikage {
namespace {

constexpr std::string_view kRecordName = "\\endlist.dat";
constexpr std::size_t kEndings = kEndingCount;

}  // namespace

void EndingRecord::Load() {
    WindowState& s = w_.state;
    loaded_ = true;
    damaged_ = false;
    s.EndFlags.fill(0);
    s.EndCount = kEndings;
    std::optional<std::filesystem::path> path = w_.records.Active().Find(kRecordName);
    if (!path) return;
    std::optional<TextInput> input;
    try {
        input.emplace(TextInput::Open(*path));
        const std::uint8_t stored = input->ReadByte();
        s.EndCount = static_cast<std::uint8_t>(std::min<std::size_t>(stored, kEndings));
        damaged_ = stored != s.EndCount;
    } catch (const RuntimeError&) {
        damaged_ = input.has_value();  // a file that is there but says nothing usable
        return;
    }
    for (std::size_t i = 1; i <= s.EndCount; ++i) {
        try {
            s.EndFlags[i] = input->ReadByte();
        } catch (const RuntimeError&) {
            damaged_ = true;  // the field is passed over; the next one reads on
        }
    }
}

void EndingRecord::Finish(std::string_view argument) {
    // A write before the record was read would replace it with an empty count.
    if (!loaded_) Load();
    WindowState& s = w_.state;
    const std::int32_t ending = ToLong(argument);
    if (ending < 1 || ending > static_cast<std::int32_t>(kEndings)) {
        Raise(err::kSubscriptOutOfRange);
    }
    s.EndFlags[static_cast<std::size_t>(ending)] = 1;
    const std::string bytes = EndingRecordBytes(s);
    if (writer_.Holds(bytes)) return;  // as written last, and the file left as it was
    std::optional<std::filesystem::path> path = w_.records.Active().PathForWriting(kRecordName);
    if (!path) Raise(err::kPathNotFound);
    if (damaged_) {
        KeepDamagedCopy(*path);
        damaged_ = false;
    }
    writer_.Write(*path, bytes);
}

std::string EndingRecordBytes(const WindowState& state) {
    TextOutput out;
    out.WriteNumber(state.EndCount).EndLine();
    const std::size_t marks = std::min<std::size_t>(state.EndCount, kEndings);
    for (std::size_t i = 1; i <= marks; ++i) out.WriteNumber(state.EndFlags[i]).EndLine();
    return out.bytes();
}

}  // namespace tsukikage
