#include "view/qt/font_pages.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <fstream>
#include <string>

namespace tsukikage {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) return false;
    return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

bool ParseHex(std::string_view text, std::uintptr_t& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool ParseFontMapping(std::string_view line, FontMapping& mapping) {
    // "start-end perms offset dev inode   path"
    const std::size_t dash = line.find('-');
    const std::size_t space = line.find(' ');
    if (dash == std::string_view::npos || space == std::string_view::npos || dash > space) {
        return false;
    }
    if (!ParseHex(line.substr(0, dash), mapping.start) ||
        !ParseHex(line.substr(dash + 1, space - dash - 1), mapping.end) ||
        mapping.end <= mapping.start) {
        return false;
    }
    // Only pages nobody can have written: dropped, they read back from the file as they were.
    if (line.substr(space + 1, 5) != "r--p ") return false;
    const std::size_t path = line.find(" /", space);
    if (path == std::string_view::npos) return false;
    const std::string_view name = line.substr(path + 1);
    constexpr std::array<std::string_view, 4> kFontEnds = {".ttf", ".otf", ".ttc", ".otc"};
    return std::any_of(kFontEnds.begin(), kFontEnds.end(),
                       [&](std::string_view end) { return EndsWithNoCase(name, end); });
}

void LetFontPagesGo() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        FontMapping mapping;
        if (!ParseFontMapping(line, mapping)) continue;
        void* start = reinterpret_cast<void*>(mapping.start);
        const std::size_t length = mapping.end - mapping.start;
        madvise(start, length, MADV_RANDOM);
        madvise(start, length, MADV_DONTNEED);
    }
}

}  // namespace tsukikage
