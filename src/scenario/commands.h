#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "scenario/command_letters.h"

namespace tsukikage {

// What the reader does after a command: read on at once, or wait.
enum class Then { Continue, Stop };

// Lines starting with a dot are commands (or labels, and choice blocks' own lines).
inline bool IsCommandLine(std::string_view line) {
    return !line.empty() && line.front() == '.';
}

// The dispatcher: each letter of kCommandLetters bound to its procedure. Binding a letter
// twice, or one that is no command letter, is a programming error and is refused at once.
class CommandTable {
  public:
    // Runs with the argument: the command text from its third character.
    using Procedure = std::function<void(std::string_view argument)>;
    // A jump's procedure: true when it found its label, so reading goes on there.
    using Jump = std::function<bool(std::string_view argument)>;

    // A letter that reads on or waits afterwards, as its row says.
    void Add(char letter, Procedure procedure);
    // A letter that jumps.
    void AddJump(char letter, Jump jump);
    // Every letter of kCommandLetters is bound.
    bool Complete() const { return letters_.size() == std::size(kCommandLetters); }

    // Runs one command text (a command line without its dot) and tells whether reading goes
    // on. The letter is the first character, the argument begins at the third: the second is
    // skipped whatever it is. Any other letter, multi-byte characters included, is no
    // command: reading goes on. An empty text stops.
    Then Execute(std::string_view command_text) const;

    // The letters bound, in the order they were added.
    const std::string& letters() const { return letters_; }

  private:
    // A letter's procedure as it was given, with what reading does after it: kept unwrapped,
    // so that binding a letter allocates nothing beyond the procedure itself.
    struct Handler {
        Procedure procedure;
        Jump jump;
        Then then = Then::Stop;
    };
    // The row of a command letter not bound yet, of the kind asked for; refuses any other.
    const CommandLetter& Claim(char letter, bool jump);

    std::array<Handler, 128> handlers_;
    std::string letters_;
};

}  // namespace tsukikage
