#include "extras/name_list.h"

#include <optional>

#include "base/numeric.h"
#include "base/runtime_error.h"
#include "base/text_file.h"

namespace tsukikage {

std::vector<std::string> ReadNameList(const GameFolder& folder, std::string_view name) {
    std::vector<std::string> names;
    const std::optional<std::filesystem::path> path = folder.Find(name);
    if (!path) return names;
    try {
        TextInput in = TextInput::Open(*path);
        std::size_t count = kMaxListNames;
        const std::string count_field = in.ReadField();
        try {
            count = static_cast<std::size_t>(std::max<std::int16_t>(0, ToInteger(count_field)));
        } catch (const RuntimeError&) {
            // No number: every name that follows, up to the most the list holds.
        }
        count = std::min(count, kMaxListNames);
        while (names.size() < count && !in.AtEnd()) names.push_back(in.ReadField());
    } catch (const RuntimeError&) {
        // Unreadable, or cut short: the names read so far.
    }
    return names;
}

}  // namespace tsukikage
