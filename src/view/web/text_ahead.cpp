#include "view/web/text_ahead.h"

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

}  // namespace tsukikage::web
