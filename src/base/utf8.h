#pragma once

#include <cstddef>
#include <string_view>

namespace tsukikage::utf8 {

// Length in bytes of the UTF-8 sequence starting with this lead byte (1 for stray bytes).
inline std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// The text from character index `first` (0-based, counted in code points) to its end;
// empty when the text is shorter.
inline std::string_view From(std::string_view text, std::size_t first) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < first && pos < text.size(); ++i) {
        pos += SequenceLength(static_cast<unsigned char>(text[pos]));
    }
    return pos < text.size() ? text.substr(pos) : std::string_view{};
}

// The first character (code point) of the text, as its UTF-8 bytes; empty for empty text.
inline std::string_view FirstChar(std::string_view text) {
    if (text.empty()) return {};
    std::size_t n = SequenceLength(static_cast<unsigned char>(text[0]));
    return text.substr(0, n < text.size() ? n : text.size());
}

}  // namespace tsukikage::utf8
