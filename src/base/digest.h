#pragma once

#include <cstdint>
#include <string_view>

namespace tsukikage {

// 64-bit FNV-1a: a quick digest that tells files apart, not one that resists forgery.
inline std::uint64_t Fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace tsukikage
