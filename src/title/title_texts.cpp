#include "title/title_texts.h"

namespace tsukikage {
namespace {

std::string IdeographicSpaces(int count) {
    std::string spaces;
    for (int i = 0; i < count; ++i) spaces += "\u3000";
    return spaces;
}

}  // namespace

std::string Greeting() {
    return "どうぞ、心行くまで月影回廊物語をお楽しみください。" + IdeographicSpaces(40) + "朧堂";
}

std::string TitleCaption() {
    return IdeographicSpaces(56) + "月影回廊物語";
}

std::string Notice() {
    return "お知らせ：現在、月影回廊物語２を鋭意製作中！発売を楽しみにおまちください。" +
           IdeographicSpaces(61) + "朧堂";
}

}  // namespace tsukikage
