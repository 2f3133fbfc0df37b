#include "sound/riff.h"

#include <algorithm>
#include <cstdint>

namespace tsukikage {
namespace {

std::uint32_t LittleEndian32(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
    }
    return value;
}

}  // namespace

std::optional<std::string_view> RiffFile::Find(std::string_view id) const {
    for (const RiffChunk& chunk : chunks) {
        if (chunk.id == id) return chunk.body;
    }
    return std::nullopt;
}

std::optional<RiffFile> ReadRiff(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF") return std::nullopt;
    RiffFile file;
    file.form = bytes.substr(8, 4);
    // The chunks run to the end of the file whatever the RIFF size says: writers of the time
    // often left it wrong.
    std::size_t at = 12;
    while (bytes.size() - at >= 8) {
        const std::string_view id = bytes.substr(at, 4);
        const std::size_t declared = LittleEndian32(bytes.substr(at + 4, 4));
        at += 8;
        const std::size_t size = std::min(declared, bytes.size() - at);
        file.chunks.push_back({id, bytes.substr(at, size)});
        at += size;
        if (size % 2 != 0 && at < bytes.size()) ++at;  // the pad byte
    }
    return file;
}

}  // namespace tsukikage
