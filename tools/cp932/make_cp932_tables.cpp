// Writes the CP932 tables the text codec is compiled with, as glibc's iconv converts them on
// the machine that builds the program. The program itself never asks iconv: every platform
// it runs on (a browser among them, whose C library has no CP932) maps the same bytes the
// same way, and nothing is built at start-up.
//
// Decoding: one cell per single byte and per lead/trail pair, each the UTF-8 bytes of the
// character and their count (0: a lead byte, or a byte that cannot follow a lead byte).
// Encoding: the CP932 code of each character from U+0080 up, in pages of 256 code points;
// ASCII is itself. Runs with the host's compiler, even when the program is cross-compiled.
#include <iconv.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Cell {
    unsigned char bytes[3] = {0, 0, 0};
    unsigned length = 0;
};

constexpr Cell kReplacement = {{0xEF, 0xBF, 0xBD}, 3};  // U+FFFD

bool IsLead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrail(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// One conversion from a fresh state: the output bytes, or false when iconv refuses or
// leaves input unconverted.
bool Convert(iconv_t cd, const std::string& in, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string input = in;
    char buffer[16];
    char* in_ptr = input.data();
    char* out_ptr = buffer;
    std::size_t in_left = input.size();
    std::size_t out_left = sizeof buffer;
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1) ||
        in_left != 0) {
        return false;
    }
    out.assign(buffer, sizeof buffer - out_left);
    return true;
}

// The cell of one CP932 sequence: one BMP character, or U+FFFD.
Cell DecodeCell(iconv_t cd, const std::string& bytes) {
    std::string utf8;
    if (!Convert(cd, bytes, utf8) || utf8.empty() || utf8.size() > 3) return kReplacement;
    const auto lead = static_cast<unsigned char>(utf8[0]);
    if (utf8.size() != (lead < 0x80 ? 1u : lead < 0xE0 ? 2u : 3u)) return kReplacement;
    Cell cell;
    std::memcpy(cell.bytes, utf8.data(), utf8.size());
    cell.length = static_cast<unsigned>(utf8.size());
    return cell;
}

std::string Utf8Of(unsigned code) {
    std::string s;
    if (code < 0x80) {
        s += static_cast<char>(code);
    } else if (code < 0x800) {
        s += static_cast<char>(0xC0 | (code >> 6));
        s += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (code >> 12));
        s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (code & 0x3F));
    }
    return s;
}

void PrintCells(std::FILE* out, const std::vector<Cell>& cells) {
    int column = 0;
    for (const Cell& c : cells) {
        std::fprintf(out, "{{%u,%u,%u},%u},", c.bytes[0], c.bytes[1], c.bytes[2], c.length);
        if (++column == 8) {
            std::fputc('\n', out);
            column = 0;
        }
    }
    if (column != 0) std::fputc('\n', out);
}

int Fail(const char* what) {
    std::fprintf(stderr, "make_cp932_tables: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: make_cp932_tables OUTPUT");
    iconv_t decoder = iconv_open("UTF-8", "CP932");
    iconv_t encoder = iconv_open("CP932", "UTF-8");
    if (decoder == reinterpret_cast<iconv_t>(-1) || encoder == reinterpret_cast<iconv_t>(-1)) {
        return Fail("this machine's iconv has no CP932 converter");
    }

    std::vector<Cell> single(256);
    for (unsigned b = 0; b < 256; ++b) {
        single[b] = IsLead(b) ? Cell{} : DecodeCell(decoder, std::string(1, static_cast<char>(b)));
        if (b < 0x80 && (single[b].length != 1 || single[b].bytes[0] != b)) {
            return Fail("CP932 does not keep ASCII as it is");
        }
    }
    std::vector<Cell> pairs;
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (!IsLead(lead)) continue;
        for (unsigned trail = 0; trail < 256; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            pairs.push_back(IsTrail(trail) ? DecodeCell(decoder, std::string(bytes, 2)) : Cell{});
        }
    }

    for (unsigned code = 0; code < 0x80; ++code) {
        std::string cp932;
        if (!Convert(encoder, Utf8Of(code), cp932) || cp932 != std::string(1, char(code))) {
            return Fail("CP932 does not keep ASCII as it is");
        }
    }
    std::vector<unsigned> encode(0x10000, 0);
    for (unsigned code = 0x80; code < 0x10000; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;  // surrogates are no characters
        std::string cp932;
        if (!Convert(encoder, Utf8Of(code), cp932)) continue;
        if (cp932.size() == 1) {
            encode[code] = static_cast<unsigned char>(cp932[0]);
        } else if (cp932.size() == 2) {
            encode[code] =
                static_cast<unsigned char>(cp932[0]) << 8 | static_cast<unsigned char>(cp932[1]);
        }
    }
    std::vector<unsigned> page_of(256, 0);  // 0: no character of the page is in CP932
    std::vector<unsigned> pages;
    for (unsigned page = 0; page < 256; ++page) {
        bool used = false;
        for (unsigned low = 0; low < 256; ++low) used = used || encode[page << 8 | low] != 0;
        if (!used) continue;
        pages.push_back(page);
        page_of[page] = static_cast<unsigned>(pages.size());
    }

    const std::string path = argv[1];
    const std::string temporary = path + ".tmp";
    std::FILE* out = std::fopen(temporary.c_str(), "w");
    if (!out) return Fail("cannot write the output");
    std::fputs("// Made by tools/cp932/make_cp932_tables from glibc iconv's CP932. Do not edit.\n",
               out);
    std::fputs("inline constexpr Cell kSingleCells[256] = {\n", out);
    PrintCells(out, single);
    std::fputs("};\n", out);
    std::fprintf(out, "inline constexpr Cell kPairCells[%zu] = {\n", pairs.size());
    PrintCells(out, pairs);
    std::fputs("};\n", out);
    std::fputs("inline constexpr std::uint8_t kEncodePageOf[256] = {\n", out);
    for (unsigned page = 0; page < 256; ++page) {
        std::fprintf(out, "%u,%s", page_of[page], page % 32 == 31 ? "\n" : "");
    }
    std::fputs("};\n", out);
    std::fprintf(out, "inline constexpr std::uint16_t kEncodePages[%zu][256] = {\n", pages.size());
    for (unsigned page : pages) {
        std::fputs("{", out);
        for (unsigned low = 0; low < 256; ++low) {
            std::fprintf(out, "%u,%s", encode[page << 8 | low], low % 32 == 31 ? "\n" : "");
        }
        std::fputs("},\n", out);
    }
    std::fputs("};\n", out);
    const bool written = std::ferror(out) == 0;
    if (std::fclose(out) != 0 || !written) return Fail("cannot write the output");
    if (std::rename(temporary.c_str(), path.c_str()) != 0) return Fail("cannot write the output");
    iconv_close(decoder);
    iconv_close(encoder);
    return 0;
}
