#pragma once

#include <string>
#include <string_view>

namespace tsukikage {

// Texts of the message area around the title screen (UTF-8). The runs of ideographic spaces
// place the last word within the wrapped label; they are part of the texts.

// At the first tick of the start-up: 67 characters.
std::string Greeting();
// On the first title screen: 62 characters.
std::string TitleCaption();
// On every later title screen: 100 characters.
std::string Notice();
// A locked extra's image, clicked.
inline constexpr std::string_view kClearTheGameFirst = "ゲームをクリアーしてください。";

}  // namespace tsukikage
