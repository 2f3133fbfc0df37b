#include "base/runtime_error.h"

#include <gtest/gtest.h>

namespace tsukikage {
namespace {

TEST(RuntimeError, CarriesNumberAndJapaneseDescription) {
    try {
        Raise(err::kFileNotFound);
        FAIL() << "Raise returned";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_STREQ(e.what(), "ファイルが見つかりません。");
    }
    EXPECT_EQ(ErrorDescription(62), "ファイルにこれ以上データがありません。");
    EXPECT_EQ(ErrorDescription(57), "デバイス I/O エラーです。");
}

TEST(RuntimeError, UnknownNumbersNameTheNumber) {
    const std::string text = ErrorDescription(12345);
    EXPECT_NE(text.find("12345"), std::string::npos);
    EXPECT_NE(text, ErrorDescription(12346));
}

}  // namespace
}  // namespace tsukikage
