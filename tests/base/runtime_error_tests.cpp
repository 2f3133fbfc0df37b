#include "base/runtime_error.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

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

TEST(RuntimeError, EveryNumberRaisedHasADescriptionOfItsOwn) {
    std::set<std::string> texts;
    for (int number :
         {err::kInvalidCall, err::kOverflow, err::kOutOfMemory, err::kSubscriptOutOfRange,
          err::kDivisionByZero, err::kTypeMismatch, err::kBadFileNameOrNumber, err::kFileNotFound,
          err::kBadFileMode, err::kFileAlreadyOpen, err::kDeviceIoError, err::kDiskFull,
          err::kInputPastEndOfFile, err::kPermissionDenied, err::kPathFileAccessError,
          err::kPathNotFound, err::kInvalidPicture}) {
        const std::string text = ErrorDescription(number);
        // The generic text names its number in brackets.
        EXPECT_EQ(text.find("(" + std::to_string(number) + ")"), std::string::npos) << number;
        EXPECT_TRUE(texts.insert(text).second) << number << ": " << text;
    }
}

}  // namespace
}  // namespace tsukikage
