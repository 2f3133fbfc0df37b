#include "base/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tsukikage {

namespace {

// A table cell: the UTF-8 bytes of one character and their count. CP932 only maps into the
// BMP, so three bytes always suffice; the cell is stored whole (4 bytes) and the output
// pointer advances by `length`.
struct Cell {
    char bytes[3];
    std::uint8_t length;  // 0: a lead byte (single table) or no trail byte (pair table)
};
static_assert(sizeof(Cell) == 4);

constexpr Cell kReplacement = {{'\xEF', '\xBF', '\xBD'}, 3};  // U+FFFD
constexpr Cell kNone = {{0, 0, 0}, 0};
constexpr int kLeadCount = 60;  // 0x81-0x9F and 0xE0-0xFC

constexpr bool IsLead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsTrail(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
constexpr int LeadIndex(unsigned b) {
    return b <= 0x9F ? int(b - 0x81) : int(b - 0xE0 + 0x1F);
}

struct DecodeTables {
    std::array<Cell, 256> single;
    std::array<std::array<Cell, 256>, kLeadCount> pair;  // lead index x trail byte
};

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return IconvHandle(cd);
}

// Asks iconv for one complete character: its cell, or U+FFFD when the bytes do not form
// exactly one BMP character.
Cell ConvertOne(iconv_t cd, const char* bytes, std::size_t length) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in[2];
    std::memcpy(in, bytes, length);
    char out[8];
    char* in_ptr = in;
    char* out_ptr = out;
    std::size_t in_left = length;
    std::size_t out_left = sizeof out;
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1) ||
        in_left != 0) {
        return kReplacement;
    }
    const std::size_t n = sizeof out - out_left;
    if (n == 0 || n > 3) return kReplacement;
    const auto lead = static_cast<unsigned char>(out[0]);
    if (n != (lead < 0x80 ? 1u : lead < 0xE0 ? 2u : 3u)) return kReplacement;
    Cell cell = kNone;
    std::memcpy(cell.bytes, out, n);
    cell.length = static_cast<std::uint8_t>(n);
    return cell;
}

DecodeTables BuildTables() {
    DecodeTables t;
    for (unsigned b = 0; b < 256; ++b) {
        t.single[b] = b < 0x80    ? Cell{{static_cast<char>(b), 0, 0}, 1}
                      : IsLead(b) ? kNone
                                  : kReplacement;
    }
    for (auto& row : t.pair) row.fill(kNone);

    IconvHandle cd = OpenIconv("UTF-8", "CP932");
    if (!cd) {
        // Without the converter only ASCII survives; say so once instead of failing.
        std::fputs("tsukikage: iconv has no CP932 converter; Japanese text cannot be decoded\n",
                   stderr);
        for (auto& row : t.pair) {
            for (unsigned trail = 0; trail < 256; ++trail) {
                if (IsTrail(trail)) row[trail] = kReplacement;
            }
        }
        return t;
    }
    iconv_t h = static_cast<iconv_t>(cd.get());
    for (unsigned b = 0; b < 256; ++b) {
        if (IsLead(b)) continue;
        const char c = static_cast<char>(b);
        t.single[b] = ConvertOne(h, &c, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLead(lead)) continue;
        auto& row = t.pair[LeadIndex(lead)];
        for (unsigned trail = 0; trail < 256; ++trail) {
            if (!IsTrail(trail)) continue;
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            row[trail] = ConvertOne(h, pair, 2);
        }
    }
    return t;
}

const DecodeTables& Tables() {
    static const DecodeTables tables = BuildTables();
    return tables;
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
    const DecodeTables& t = Tables();
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
            Cell cell = t.single[b];
            if (cell.length != 0) {
                ++i;
            } else if (i + 1 < size && (cell = t.pair[LeadIndex(b)][in[i + 1]]).length != 0) {
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
    std::string result;
    IconvHandle cd = OpenIconv("CP932", "UTF-8");
    if (!cd) {
        result.reserve(text.size());
        for (char c : text) result += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        return result;
    }
    iconv_t h = static_cast<iconv_t>(cd.get());
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    result.resize(text.size() + 16);
    char* in_ptr = const_cast<char*>(text.data());  // iconv's signature wants char**
    std::size_t in_left = text.size();
    std::size_t used = 0;
    while (in_left > 0) {
        char* out_ptr = result.data() + used;
        std::size_t out_left = result.size() - used;
        const std::size_t rc = iconv(h, &in_ptr, &in_left, &out_ptr, &out_left);
        used = result.size() - out_left;
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            result.resize(result.size() * 2);
            continue;
        }
        // Unmappable character or invalid UTF-8: one '?' for the character, or for the one
        // byte that starts no character, then carry on.
        if (result.size() - used < 1) result.resize(result.size() * 2);
        result[used++] = '?';
        const std::size_t pos = static_cast<std::size_t>(in_ptr - text.data());
        std::size_t skip = ValidSequenceAt(data + pos, in_left);
        if (skip == 0) skip = 1;
        in_ptr += skip;
        in_left -= skip;
        iconv(h, nullptr, nullptr, nullptr, nullptr);
    }
    result.resize(used);
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
