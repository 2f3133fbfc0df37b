#include "base/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace tsukikage {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(Cp932ToUtf8, DecodesKanaKanjiAndAscii) {
    EXPECT_EQ(Cp932ToUtf8("\x82\xA0\x83\x41\x8A\xBF\x8E\x9A"), "あア漢字");
    EXPECT_EQ(Cp932ToUtf8("a\\b~c"), "a\\b~c");  // 0x5C and 0x7E stay ASCII
    EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Cp932ToUtf8(""), "");
}

TEST(Cp932ToUtf8, BackslashAsSecondByteBelongsToTheCharacter) {
    EXPECT_EQ(Cp932ToUtf8("\x83\x5C\x95\x5C\x94\x5C\\"), "ソ表能\\");
}

TEST(Cp932ToUtf8, DecodesNecAndIbmCharactersAndHalfWidthKatakana) {
    EXPECT_EQ(Cp932ToUtf8("\x87\x40\xFB\xFC"), "①髙");
    EXPECT_EQ(Cp932ToUtf8("\xB1\xDD\xDE\xDF"), "ｱﾝﾞﾟ");
}

TEST(Cp932ToUtf8, InvalidBytesBecomeReplacementWithoutSwallowingOthers) {
    // Bytes that are no character at all.
    EXPECT_EQ(Cp932ToUtf8("\x80"
                          "a\xA0"
                          "b\xFD\xFE\xFF"),
              kFffd + "a" + kFffd + "b" + kFffd + kFffd + kFffd);
    // A lead byte followed by a byte that cannot be a trail byte: only the lead is lost.
    EXPECT_EQ(Cp932ToUtf8("\x82\r\nx"), kFffd + "\r\nx");
    EXPECT_EQ(Cp932ToUtf8("\x82\x7F"), kFffd + "\x7F");
    EXPECT_EQ(Cp932ToUtf8("\x82 \x82\xA0"), kFffd + " あ");
    // A lead byte at the very end.
    EXPECT_EQ(Cp932ToUtf8("ab\x82"), "ab" + kFffd);
    // A well-formed but unassigned pair is one character.
    EXPECT_EQ(Cp932ToUtf8("\x85\x40z"), kFffd + "z");
}

TEST(Cp932ToUtf8, AsciiRunsOfEveryLengthAroundMultiByteCharacters) {
    // Exercises the word-at-a-time ASCII path at every alignment.
    std::string cp932;
    std::string utf8;
    for (int run = 0; run < 20; ++run) {
        for (int i = 0; i < run; ++i) {
            cp932 += static_cast<char>('a' + i);
            utf8 += static_cast<char>('a' + i);
        }
        cp932 += "\x88\xA4\xB1";
        utf8 += "愛ｱ";
    }
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

TEST(Cp932ToUtf8, AppendingDecodesAfterWhatIsThere) {
    for (const std::string& cp932 :
         {std::string(""), std::string("plain ascii line"),
          std::string("\x82\xA0\x83\x41 and \x8A\xBF"), std::string("broken \x82\r\n\xFF"),
          std::string(40000, '\x82') + "\xA0"}) {
        std::string page = "前の行\r\n";
        AppendCp932AsUtf8(cp932, page);
        EXPECT_EQ(page, "前の行\r\n" + Cp932ToUtf8(cp932));
    }
}

TEST(Utf8ToCp932, RoundTripsJapaneseText) {
    const std::string text = "晩鐘テーマ曲、ソ表能①髙ｱｲｳ ～「題名」\\data";
    const std::string bytes = Utf8ToCp932(text);
    EXPECT_EQ(bytes.substr(0, 4), "\x94\xD3\x8F\xE0");  // 晩鐘
    EXPECT_EQ(Cp932ToUtf8(bytes), text);
}

TEST(Utf8ToCp932, UnmappableAndInvalidBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp932("x\xF0\x9F\x98\x80y"), "x?y");  // emoji
    EXPECT_EQ(Utf8ToCp932("x\xFFy"), "x?y");
    EXPECT_EQ(Utf8ToCp932("\xC3\xA9t\xC3\xA9"), "?t?");  // é
    const std::string truncated = Utf8ToCp932("a\xE3\x81");
    EXPECT_EQ(truncated.substr(0, 2), "a?");
}

TEST(IsValidUtf8, AcceptsWellFormedAndRejectsMalformed) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("abc題名\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE3\x81"));          // truncated
    EXPECT_FALSE(IsValidUtf8("\x83\x5C"));          // CP932 ソ
    EXPECT_FALSE(IsValidUtf8("\x91\xE8\x96\xBC"));  // CP932 題名
}

}  // namespace
}  // namespace tsukikage
