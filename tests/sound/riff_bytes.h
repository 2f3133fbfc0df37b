// RIFF and WAVE files built byte by byte for the sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tsukikage::testing_riff {

inline std::string Little(std::uint32_t value, int size) {
    std::string bytes;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

inline std::string Chunk(std::string_view id, std::string_view body, bool pad = true) {
    std::string out = std::string(id) + Little(static_cast<std::uint32_t>(body.size()), 4);
    out += body;
    if (pad && body.size() % 2 != 0) out += '\0';
    return out;
}

inline std::string Riff(std::string_view form, std::string_view chunks) {
    return "RIFF" + Little(static_cast<std::uint32_t>(4 + chunks.size()), 4) + std::string(form) +
           std::string(chunks);
}

// A "fmt " body: tag, channels, rate, bytes a second, block, bits, and any extra bytes.
inline std::string Fmt(std::uint16_t tag, int channels, int rate, int bits,
                       std::string_view extra = {}) {
    std::string fmt = Little(tag, 2) + Little(static_cast<std::uint32_t>(channels), 2) +
                      Little(static_cast<std::uint32_t>(rate), 4) + Little(0, 4) + Little(4, 2) +
                      Little(static_cast<std::uint32_t>(bits), 2);
    if (!extra.empty())
        fmt += Little(static_cast<std::uint32_t>(extra.size()), 2) + std::string(extra);
    return fmt;
}

}  // namespace tsukikage::testing_riff
