#include "comfort/read_pages.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/digest.h"
#include "base/runtime_error.h"
#include "base/text_file.h"

namespace tsukikage {
namespace {

constexpr std::string_view kFormatLine = "tsukikage read pages 1";

}  // namespace

std::string ReadPagesFileName(std::string_view scenario) {
    char name[64];
    std::snprintf(name, sizeof name, "%016llx-%zu.txt",
                  static_cast<unsigned long long>(Fnv1a64(scenario)), scenario.size());
    return name;
}

void ReadPages::Open(std::string_view scenario) {
    std::string name = ReadPagesFileName(scenario);
    // The same scenario again (a new game, a load): the record in hand is the one on disk.
    if (name == name_) return;
    name_ = std::move(name);
    places_.clear();
    dirty_ = false;
    file_.clear();
    if (folder_.empty()) return;
    file_ = folder_ / name_;
    std::ifstream in(file_, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kFormatLine) return;
    while (std::getline(in, line)) {
        std::size_t place = 0;
        const char* end = line.data() + line.size();
        const auto [stop, error] = std::from_chars(line.data(), end, place);
        if (error == std::errc() && stop == end) places_.insert(place);
    }
}

bool ReadPages::Mark(std::size_t place) {
    const bool added = places_.insert(place).second;
    dirty_ = dirty_ || added;
    return added;
}

std::optional<int> ReadPages::Save() {
    if (!dirty_ || file_.empty()) return std::nullopt;
    std::string bytes(kFormatLine);
    bytes += '\n';
    for (std::size_t place : places_) {
        bytes += std::to_string(place);
        bytes += '\n';
    }
    try {
        std::error_code ignored;
        std::filesystem::create_directories(folder_, ignored);
        ReplaceFile(file_, bytes);
    } catch (const RuntimeError& error) {
        return error.number();
    }
    dirty_ = false;
    return std::nullopt;
}

}  // namespace tsukikage
