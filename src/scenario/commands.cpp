#include "scenario/commands.h"

#include <stdexcept>

#include "base/utf8.h"

namespace tsukikage {

const CommandLetter& CommandTable::Claim(char letter, bool jump) {
    const CommandLetter* row = FindCommandLetter(letter);
    if (!row) throw std::logic_error(std::string("no command letter: ") + letter);
    const Handler& bound = handlers_[static_cast<unsigned char>(letter)];
    if (bound.procedure || bound.jump) {
        throw std::logic_error(std::string("command letter ") + letter + " claimed twice");
    }
    if ((row->flow == Flow::Jumps) != jump) {
        throw std::logic_error(std::string("command letter ") + letter +
                               " bound as the wrong kind");
    }
    return *row;
}

void CommandTable::Add(char letter, Procedure procedure) {
    const Then then = Claim(letter, false).flow == Flow::ReadsOn ? Then::Continue : Then::Stop;
    Handler& handler = handlers_[static_cast<unsigned char>(letter)];
    handler.procedure = std::move(procedure);
    handler.then = then;
    letters_ += letter;
}

void CommandTable::AddJump(char letter, Jump jump) {
    Claim(letter, true);
    handlers_[static_cast<unsigned char>(letter)].jump = std::move(jump);
    letters_ += letter;
}

Then CommandTable::Execute(std::string_view command_text) const {
    if (command_text.empty()) return Then::Stop;
    if (!FindCommandOf(command_text)) return Then::Continue;
    const Handler& run = handlers_[static_cast<unsigned char>(command_text[0])];
    const std::string_view argument = utf8::From(command_text, 2);
    if (run.jump) return run.jump(argument) ? Then::Continue : Then::Stop;
    if (!run.procedure) return Then::Continue;
    run.procedure(argument);
    return run.then;
}

}  // namespace tsukikage
