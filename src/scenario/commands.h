#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace tsukikage {

// What the reader does after a command: read on at once, or wait.
enum class Then { Continue, Stop };

// Lines starting with a dot are commands (or labels, and choice blocks' own lines).
inline bool IsCommandLine(std::string_view line) {
    return !line.empty() && line.front() == '.';
}

// The command table: one handler per letter, letters compared exactly (case matters). A
// letter claimed twice is a programming error and is refused at once.
class CommandTable {
  public:
    // Runs with the argument: the command text from its third character.
    using Handler = std::function<Then(std::string_view argument)>;

    void Add(char letter, Handler handler);

    // Runs one command text (a command line without its dot) and tells whether reading goes
    // on. The letter is the first character, the argument begins at the third: the second is
    // skipped whatever it is. Any other letter, multi-byte characters included, is no
    // command: reading goes on. An empty text stops.
    Then Execute(std::string_view command_text) const;

    // The letters claimed, in the order they were added.
    const std::string& letters() const { return letters_; }

  private:
    std::array<Handler, 128> handlers_;
    std::string letters_;
};

}  // namespace tsukikage
