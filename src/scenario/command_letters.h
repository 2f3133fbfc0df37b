#pragma once

#include <string_view>

namespace tsukikage {

// What a command's argument names, and so what the scenario checker verifies of it.
enum class ArgumentKind {
    None,           // nothing
    WindowPicture,  // a picture file for the window's background; may be empty
    Picture,        // a picture number N, 1 to 250
    PicturePair,    // a picture number N: the transition from N to N + 1
    SoundEffect,    // a wave file, found without its extension too
    Music,          // a music file
    Label,          // the label line to jump to
    ChoiceBlock,    // no argument: the five lines after it are the choice's
    PartNumber,     // a 16-bit number; each stands once
    SceneMarker,    // a number; 2k - 1 and 2k bracket scene k
    EndingNumber,   // 1 to 3
};

// What the reader does once the command's procedure has returned.
enum class Flow {
    ReadsOn,  // the next line at once
    Waits,    // for the player: the next advance, a pick, or a new start
    Jumps,    // on after the label, or waits where there is none
};

// A choice block: the command line, then target, caption, target, caption and a closing line.
inline constexpr int kChoiceBlockLines = 5;

struct CommandLetter {
    char letter;
    std::string_view procedure;  // the procedure the letter runs, by its name
    ArgumentKind argument;
    Flow flow;
};

// Every command letter of the scenario language. The letters are compared exactly (case
// matters); any other letter is no command and reading goes on. The dispatcher, the checker
// and the fuzz targets all read this table.
inline constexpr CommandLetter kCommandLetters[] = {
    {'l', "SetWindowPicture", ArgumentKind::WindowPicture, Flow::ReadsOn},
    {'a', "EffectA", ArgumentKind::PicturePair, Flow::ReadsOn},
    {'b', "EffectB", ArgumentKind::PicturePair, Flow::ReadsOn},
    {'c', "CGLoad", ArgumentKind::Picture, Flow::ReadsOn},
    {'d', "EffectC", ArgumentKind::PicturePair, Flow::ReadsOn},
    {'v', "SoundSE", ArgumentKind::SoundEffect, Flow::ReadsOn},
    {'r', "SoundSELoop", ArgumentKind::SoundEffect, Flow::ReadsOn},
    {'x', "SoundBGM", ArgumentKind::Music, Flow::ReadsOn},
    // Looping music holds the reader: the next line waits for the player's advance.
    {'y', "SoundBGMLoop", ArgumentKind::Music, Flow::Waits},
    {'j', "JumpLabel", ArgumentKind::Label, Flow::Jumps},
    // During a scene replay no choice is shown: the next advance reads the block's lines.
    {'s', "ShowChoices", ArgumentKind::ChoiceBlock, Flow::Waits},
    {'f', "Finish", ArgumentKind::EndingNumber, Flow::ReadsOn},
    {'p', "SaveDeal", ArgumentKind::PartNumber, Flow::ReadsOn},
    {'h', "Check", ArgumentKind::SceneMarker, Flow::ReadsOn},
    {'E', "EndOfScenario", ArgumentKind::None, Flow::Waits},
};

// The row of a letter, or null for a letter that is no command.
constexpr const CommandLetter* FindCommandLetter(char letter) {
    for (const CommandLetter& row : kCommandLetters) {
        if (row.letter == letter) return &row;
    }
    return nullptr;
}

// The row of a command text's letter (its first character), or null: an empty text, a
// multi-byte first character and an unknown letter are no command.
constexpr const CommandLetter* FindCommandOf(std::string_view command_text) {
    if (command_text.empty() || static_cast<unsigned char>(command_text[0]) >= 0x80) {
        return nullptr;
    }
    return FindCommandLetter(command_text[0]);
}

}  // namespace tsukikage
