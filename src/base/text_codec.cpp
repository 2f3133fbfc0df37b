#include "base/text_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tsukikage {

namespace {

// A table cell: the UTF-8 bytes of one character and their count. CP932 only maps into the
// BMP, so three bytes always suffice; the cell is stored whole (4 bytes) and the output
// pointer advances by `length`.
struct Cell {
    unsigned char bytes[3];
    std::uint8_t length;  // 0: a lead byte (single table) or no trail byte (pair table)
};
static_assert(sizeof(Cell) == 4);

// The tables made from glibc iconv's CP932 when the program was built: kSingleCells,
// kPairCells (lead index x trail byte), kEncodePageOf and kEncodePages.
#include "base/cp932_tables.inc"

constexpr Cell kReplacement = {{0xEF, 0xBF, 0xBD}, 3};  // U+FFFD

constexpr int LeadIndex(unsigned b) {
    return b <= 0x9F ? int(b - 0x81) : int(b - 0xE0 + 0x1F);
}

const Cell& PairCell(unsigned lead, unsigned trail) {
    return kPairCells[LeadIndex(lead) * 256 + trail];
}

// The CP932 code of a character from U+0080 up, or 0 when CP932 has none.
unsigned EncodeCode(std::uint32_t code) {
    if (code > 0xFFFF) return 0;
    const unsigned page = kEncodePageOf[code >> 8];
    return page == 0 ? 0 : kEncodePages[page - 1][code & 0xFF];
}

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0 when it is not one.
std::size_t ValidSequenceAt(const unsigned char* s, std::size_t size) {
    const unsigned c = s[0];
    if (c < 0x80) return 1;
    std::size_t n;
    unsigned low = 0x80, high = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) low = 0xA0;   // overlong
        if (c == 0xED) high = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) low = 0x90;   // overlong
        if (c == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (size < n) return 0;
    if (s[1] < low || s[1] > high) return 0;
    for (std::size_t i = 2; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
    }
    return n;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
    std::string result;
    AppendCp932AsUtf8(bytes, result);
    return result;
}

void AppendCp932AsUtf8(std::string_view bytes, std::string& result) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    // Plain ASCII, as most command lines are, is its own UTF-8: copied as it is, so that a
    // short line stays inside the string with nothing allocated for it.
    if (std::all_of(in, in + size, [](unsigned char c) { return c < 0x80; })) {
        result.append(bytes);
        return;
    }
    // Japanese text grows by about half; the rare worse input grows the buffer per chunk, so
    // a large file never pays for clearing three times its size.
    constexpr std::size_t kChunk = 16384;
    std::size_t used = result.size();
    result.resize(used + size + size / 2 + 16, '\0');
    std::size_t i = 0;
    while (i < size) {
        const std::size_t chunk_end = std::min(size, i + kChunk);
        // Three bytes out per byte in, plus one for a pair straddling the chunk end and the
        // overshoot of the 4-byte cell store.
        const std::size_t need = 3 * (chunk_end - i) + 4;
        if (result.size() - used < need) result.resize(std::max(result.size() * 2, used + need));
        char* out = result.data() + used;
        while (i < chunk_end) {
            // ASCII runs dominate scenario commands: copy them eight bytes at a time.
            while (i + 8 <= chunk_end) {
                std::uint64_t word;
                std::memcpy(&word, in + i, 8);
                if (word & 0x8080808080808080ull) break;
                std::memcpy(out, &word, 8);
                out += 8;
                i += 8;
            }
            if (i >= chunk_end) break;
            const unsigned b = in[i];
            Cell cell = kSingleCells[b];
            if (cell.length != 0) {
                ++i;
            } else if (i + 1 < size && (cell = PairCell(b, in[i + 1])).length != 0) {
                i += 2;
            } else {
                // A lead byte without a trail byte: replace it alone, decode the next byte
                // afresh.
                cell = kReplacement;
                ++i;
            }
            std::memcpy(out, &cell, sizeof cell);
            out += cell.length;
        }
        used = static_cast<std::size_t>(out - result.data());
    }
    result.resize(used);
}

std::string Utf8ToCp932(std::string_view text) {
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::string result;
    result.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        if (data[i] < 0x80) {
            result += static_cast<char>(data[i++]);
            continue;
        }
        // Unmappable character or invalid UTF-8: one '?' for the character, or for the one
        // byte that starts no character.
        const std::size_t n = ValidSequenceAt(data + i, size - i);
        if (n == 0) {
            result += '?';
            ++i;
            continue;
        }
        std::uint32_t code = data[i] & (0xFF >> (n + 1));
        for (std::size_t k = 1; k < n; ++k) code = code << 6 | (data[i + k] & 0x3F);
        i += n;
        const unsigned cp932 = EncodeCode(code);
        if (cp932 == 0) {
            result += '?';
        } else if (cp932 > 0xFF) {
            result += static_cast<char>(cp932 >> 8);
            result += static_cast<char>(cp932 & 0xFF);
        } else {
            result += static_cast<char>(cp932);
        }
    }
    return result;
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = ValidSequenceAt(s + i, size - i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace tsukikage
