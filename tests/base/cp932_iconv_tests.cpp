// The codec's compiled-in CP932 tables against glibc's iconv on this machine, over every code:
// each single byte and each lead/trail pair decoded, each BMP character encoded. Needs glibc's
// CP932 converter, so it is built only natively.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

#include "base/text_codec.h"

namespace tsukikage {
namespace {

class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The whole input converted from a fresh state, or nothing when iconv refuses any of it.
    std::optional<std::string> Convert(const std::string& in) const {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string input = in;
        char buffer[16];
        char* in_ptr = input.data();
        char* out_ptr = buffer;
        std::size_t in_left = input.size();
        std::size_t out_left = sizeof buffer;
        if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1) ||
            in_left != 0) {
            return std::nullopt;
        }
        return std::string(buffer, sizeof buffer - out_left);
    }

  private:
    iconv_t cd_;
};

bool IsLead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string Utf8Of(unsigned code) {
    std::string s;
    if (code < 0x80) return std::string(1, static_cast<char>(code));
    if (code < 0x800) {
        s += static_cast<char>(0xC0 | (code >> 6));
    } else {
        s += static_cast<char>(0xE0 | (code >> 12));
        s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        return s + static_cast<char>(0x80 | (code & 0x3F));
    }
    return s + static_cast<char>(0x80 | (code & 0x3F));
}

constexpr const char* kReplacement = "\xEF\xBF\xBD";

TEST(Cp932Tables, DecodeEveryCodeAsIconvDoes) {
    const Iconv iconv_decode("UTF-8", "CP932");
    ASSERT_TRUE(iconv_decode.ok());
    int pairs = 0;
    int mapped = 0;
    for (unsigned first = 0; first < 256; ++first) {
        if (!IsLead(first)) {
            const std::string byte(1, static_cast<char>(first));
            EXPECT_EQ(Cp932ToUtf8(byte), iconv_decode.Convert(byte).value_or(kReplacement))
                << "byte " << first;
            continue;
        }
        for (unsigned trail = 0; trail < 256; ++trail) {
            const std::string pair{static_cast<char>(first), static_cast<char>(trail)};
            const std::string ours = Cp932ToUtf8(pair);
            const std::optional<std::string> theirs = iconv_decode.Convert(pair);
            ++pairs;
            if (theirs && !theirs->empty()) {
                ++mapped;
                EXPECT_EQ(ours, *theirs) << std::hex << "pair " << first << ' ' << trail;
            } else {
                // Not one character: the lead byte is replaced alone and the trail byte read
                // afresh, or both are replaced when the trail byte could follow a lead byte.
                EXPECT_EQ(ours.rfind(kReplacement, 0), 0u)
                    << std::hex << "pair " << first << ' ' << trail;
            }
        }
    }
    EXPECT_EQ(pairs, 60 * 256);
    EXPECT_GT(mapped, 7000);  // JIS X 0208 with the NEC and IBM extensions
}

TEST(Cp932Tables, EncodeEveryCharacterAsIconvDoes) {
    const Iconv iconv_encode("CP932", "UTF-8");
    ASSERT_TRUE(iconv_encode.ok());
    int mapped = 0;
    for (unsigned code = 1; code < 0x10000; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;
        const std::string text = Utf8Of(code);
        const std::optional<std::string> theirs = iconv_encode.Convert(text);
        if (theirs) ++mapped;
        ASSERT_EQ(Utf8ToCp932(text), theirs.value_or("?")) << std::hex << "U+" << code;
    }
    EXPECT_GT(mapped, 7000);
    EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x98\x80"), "?");  // beyond the BMP
}

}  // namespace
}  // namespace tsukikage
