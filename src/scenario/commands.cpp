#include "scenario/commands.h"

#include <stdexcept>

#include "base/utf8.h"

namespace tsukikage {

void CommandTable::Add(char letter, Handler handler) {
    const auto index = static_cast<unsigned char>(letter);
    if (index >= handlers_.size()) throw std::logic_error("command letter outside ASCII");
    if (handlers_[index]) {
        throw std::logic_error(std::string("command letter ") + letter + " claimed twice");
    }
    handlers_[index] = std::move(handler);
    letters_ += letter;
}

Then CommandTable::Execute(std::string_view command_text) const {
    if (command_text.empty()) return Then::Stop;
    std::string_view letter = utf8::FirstChar(command_text);
    if (letter.size() != 1 || static_cast<unsigned char>(letter[0]) >= handlers_.size()) {
        return Then::Continue;
    }
    const Handler& run = handlers_[static_cast<unsigned char>(letter[0])];
    if (!run) return Then::Continue;
    return run(utf8::From(command_text, 2));
}

}  // namespace tsukikage
