#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tsukikage {

// The language of what the program prints on the terminal (the game itself is always
// Japanese).
enum class Language { English, Japanese };

// The language the locale asks for, chosen as setlocale does for LC_MESSAGES: the first
// non-empty of LC_ALL, LC_MESSAGES and LANG (each may be null); Japanese for "ja" and its
// forms ("ja_JP.UTF-8", "ja.eucJP", "japanese"), English for anything else.
Language LanguageFromLocale(const char* lc_all, const char* lc_messages, const char* lang);

// The same, read from the environment.
Language LanguageFromEnvironment();

// Everything the terminal is told; the texts are in messages.cpp, one row each.
enum class Message {
    // The command line.
    Usage,
    ScaleNeeded,
    ScaleNotThis,
    UnknownOption,
    OneFolderOnly,
    NotAFolder,
    NoGameHere,
    ScaleTooLarge,
    SoundFontMissing,
    NotASoundFont,
    SoundFontUnreadable,
    // The scenario check.
    CheckClean,
    NoScenario,
    CannotRead,
    NotCp932,
    NotANumber,
    NotFound,
    NotWave,
    EncodingNotPlayable,
    RiffWithoutMidi,
    PictureOutOfRange,
    PictureAboveCount,
    NoLabel,
    ChoiceCutShort,
    PartTwice,
    EndingOutOfRange,
    EndlessJump,
    NoScenePartner,
    ListMissing,
    ListCountOutOfRange,
    // Words that fill the checker's messages.
    PictureNumber,
    PartNumber,
    SceneNumber,
    EndingNumber,
    Picture,
    WindowPicture,
    SoundEffect,
    Music,
    Track,
};

// The message in `language`, with {1}, {2}... replaced by `arguments` in order.
std::string Text(Language language, Message message,
                 std::initializer_list<std::string_view> arguments = {});

// The description of a run-time error number, as a message's argument.
std::string ErrorText(Language language, int number);

}  // namespace tsukikage
