#pragma once

#include <string_view>

namespace tsukikage {

class Engine;

// What the reader does after a command: read on at once, or wait.
enum class Then { Continue, Stop };

// Runs one command text (a command line without its dot) through the command table and
// tells whether reading goes on. The letter is the first character, the argument begins at
// the third: the second is skipped whatever it is.
Then ExecuteCommand(Engine& engine, std::string_view command_text);

// The letters of the command table, for checks.
std::string_view CommandLetters();

}  // namespace tsukikage
