// The terminal's language: chosen from the locale as setlocale would, and filled in safely.
#include <gtest/gtest.h>

#include "base/messages.h"

namespace tsukikage {
namespace {

constexpr Language E = Language::English;
constexpr Language J = Language::Japanese;

TEST(MessagesTest, TheFirstNonEmptyOfLcAllLcMessagesAndLangDecides) {
    const struct {
        const char* lc_all;
        const char* lc_messages;
        const char* lang;
        Language expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, E},
        {"", "", "", E},
        {nullptr, nullptr, "ja_JP.UTF-8", J},
        {"", "", "ja", J},
        {"C", nullptr, "ja_JP.UTF-8", E},
        {"", "C", "ja_JP.UTF-8", E},
        {"", "ja_JP.UTF-8", "C", J},
        {"ja_JP.UTF-8", "C", "en_US.UTF-8", J},
        {"en_US.UTF-8", "ja_JP.UTF-8", "ja", E},
        {nullptr, nullptr, "ja.eucJP", J},
        {nullptr, nullptr, "ja_JP@cjknarrow", J},
        {nullptr, nullptr, "japanese", J},
        // Look-alikes that are not Japanese.
        {nullptr, nullptr, "j", E},
        {nullptr, nullptr, "jam", E},
        {nullptr, nullptr, "jv_ID", E},
        {nullptr, nullptr, "JA_JP.UTF-8", E},
        {nullptr, nullptr, "POSIX", E},
        {nullptr, nullptr, "C.UTF-8", E},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lc_all ? c.lc_all : "(unset)") + " / " +
                     (c.lc_messages ? c.lc_messages : "(unset)") + " / " +
                     (c.lang ? c.lang : "(unset)"));
        EXPECT_EQ(LanguageFromLocale(c.lc_all, c.lc_messages, c.lang), c.expected);
    }
}

TEST(MessagesTest, ArgumentsFillTheirPlacesOnceAndVerbatim) {
    // A name that looks like a place to fill is printed as it is, not filled again.
    EXPECT_EQ(Text(J, Message::EncodingNotPlayable, {"効果音", "{3}", "GSM"}),
              "効果音「{3}」の符号化 GSM は再生できません");
    EXPECT_EQ(Text(E, Message::PictureAboveCount, {"12", "{1}"}),
              "picture number 12 is above the count {1} of cgmode.dat");
    EXPECT_EQ(Text(E, Message::NoLabel, {""}), "there is no label \"\"");
    EXPECT_EQ(ErrorText(J, 53), "ファイルが見つかりません。");
    EXPECT_EQ(ErrorText(E, 53), "File not found");
    EXPECT_EQ(ErrorText(E, 999), "Application-defined or object-defined error (999)");
}

}  // namespace
}  // namespace tsukikage
