#include "view/web/text_ahead.h"

#include <fstream>

#include "base/text_codec.h"

namespace tsukikage::web {

std::string TextAhead(std::string_view scenario, std::size_t position, std::size_t max_bytes) {
    if (position >= scenario.size()) return {};
    std::string_view ahead = scenario.substr(position, max_bytes);
    // A character cut in two would ask for a piece no page draws.
    const std::size_t line_end = ahead.rfind('\n');
    if (position + ahead.size() < scenario.size() && line_end != std::string_view::npos) {
        ahead = ahead.substr(0, line_end + 1);
    }
    return Cp932ToUtf8(ahead);
}

std::string TextAheadOfNewGame(const GameFolder& folder, std::size_t max_bytes) {
    const std::filesystem::path* scenario = folder.Lookup("datafile");
    if (!scenario || max_bytes == 0) return {};
    std::ifstream in(*scenario, std::ios::binary);
    // One byte more than asked for tells whether the file goes on past the limit.
    std::string start(max_bytes + 1, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return TextAhead(start, 0, max_bytes);
}

}  // namespace tsukikage::web
