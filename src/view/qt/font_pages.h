#pragma once

#include <cstdint>
#include <string_view>

namespace tsukikage {

// FreeType maps each font file whole, and the kernel reads around every page a glyph touches:
// drawing a few dozen kanji of a 6 MB CJK font keeps megabytes of it in the process's memory,
// although the drawn glyphs are cached as pictures. Letting the font files' pages go once the
// drawing has stopped, and reading them by single pages from then on, keeps the process small;
// the files stay mapped read-only, so a new glyph reads as before (from the page cache).
void LetFontPagesGo();

// A line of /proc/self/maps that maps a font file read-only and private: its address range.
struct FontMapping {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
};
bool ParseFontMapping(std::string_view maps_line, FontMapping& mapping);

}  // namespace tsukikage
