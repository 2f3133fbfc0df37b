#include "scenario/commands.h"

#include <stdexcept>

#include "base/utf8.h"

namespace tsukikage {

const CommandLetter& CommandTable::Claim(char letter, bool jump) {
    const CommandLetter* row = FindCommandLetter(letter);
    if (!row) throw std::logic_error(std::string("no command letter: ") + letter);
    if (handlers_[static_cast<unsigned char>(letter)]) {
        throw std::logic_error(std::string("command letter ") + letter + " claimed twice");
    }
    if ((row->flow == Flow::Jumps) != jump) {
        throw std::logic_error(std::string("command letter ") + letter +
                               " bound as the wrong kind");
    }
    return *row;
}

void CommandTable::Bind(char letter, Handler handler) {
    handlers_[static_cast<unsigned char>(letter)] = std::move(handler);
    letters_ += letter;
}

void CommandTable::Add(char letter, Procedure procedure) {
    const Then then = Claim(letter, false).flow == Flow::ReadsOn ? Then::Continue : Then::Stop;
    Bind(letter, [procedure = std::move(procedure), then](std::string_view argument) {
        procedure(argument);
        return then;
    });
}

void CommandTable::AddJump(char letter, Jump jump) {
    Claim(letter, true);
    Bind(letter, [jump = std::move(jump)](std::string_view argument) {
        return jump(argument) ? Then::Continue : Then::Stop;
    });
}

Then CommandTable::Execute(std::string_view command_text) const {
    if (command_text.empty()) return Then::Stop;
    if (!FindCommandOf(command_text)) return Then::Continue;
    const Handler& run = handlers_[static_cast<unsigned char>(command_text[0])];
    if (!run) return Then::Continue;
    return run(utf8::From(command_text, 2));
}

}  // namespace tsukikage
