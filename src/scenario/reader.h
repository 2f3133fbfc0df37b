#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/runtime_error.h"
#include "base/text_file.h"
#include "scenario/commands.h"
#include "window/main_window.h"

namespace tsukikage {

class Page;

// The scenario reader: the scenario file, the advance operation and the jump.
class Reader {
  public:
    Reader(MainWindow& window, Page& page, const CommandTable& commands)
        : w_(window), page_(page), commands_(commands) {}

    // Claims the clicks of the advance marker.
    void ClaimEvents(EventTable& events);

    // The advance operation: reads a page and runs the command that ends it, then reads on
    // for as long as the commands say "continue". A loop, so continuing commands never nest.
    void imgAhead_Click();

    // Runs one command text (a command line without its dot), then reads on when the
    // command continues.
    void DoCommand(std::string_view command_text);

    // Moves the reader to the line after the label line ".target" (the first in the file)
    // and reads on from there. When there is none, the file stays at its end.
    void JumpLabel(std::string_view target);
    // The search of JumpLabel without the reading on: true when the label was found. The
    // language has no conditions, so a jump to a place that an earlier jump led to since the
    // reader last waited would read the same lines for ever: it raises 28 (out of stack
    // space), where the original's nested advances ran out of stack.
    bool SeekLabel(std::string_view target);
    // The memory the label index may take (64 MB); a scenario with more command text is
    // searched line by line at each jump. Applies when the index is next made, at the first
    // jump after an opening.
    void set_label_index_limit(std::size_t bytes) { label_index_limit_ = bytes; }

    // Makes the game folder current and opens "datafile" as the scenario file.
    void OpenScenario();
    void CloseScenario();
    bool IsOpen() const { return file_.has_value(); }
    bool AtEnd() const { return !file_ || file_->AtEnd(); }
    // Where the reader stands in the open scenario, in bytes: a page is known by the place
    // where the reading stopped after it.
    std::size_t position() const { return file_ ? file_->position() : 0; }
    // The open scenario's bytes (empty when none is open).
    std::string_view ScenarioBytes() const { return file_ ? file_->bytes() : std::string_view(); }
    // Counts the openings of the scenario: a new game, a load or a replay.
    int open_count() const { return open_count_; }
    // The next line of the scenario, decoded; raises 62 at the end.
    std::string ReadLine();
    // The next line as raw CP932 bytes, valid until the next read.
    std::string_view ReadRawLine();

    // The handler of every scenario read: shows the error's description in the
    // "ファイルエラー" box, closes the scenario and ends the program.
    [[noreturn]] void FailScenario(const RuntimeError& error);

    // Deepest nesting of the advance operation seen so far (it should stay 1).
    int deepest_advance() const { return deepest_advance_; }

  private:
    // Reads one page and runs its command; true when the command continues.
    bool AdvanceOnce();
    // Where reading goes on after the first label line ".target", if there is one. Both
    // leave the file anywhere: the jump seeks after them.
    std::optional<std::size_t> LabelEnd(std::string_view target);
    void IndexLabels();

    MainWindow& w_;
    Page& page_;
    const CommandTable& commands_;
    std::optional<TextInput> file_;
    // For each command text, where reading goes on after its first line: made at the first
    // jump, as the file never changes while it is open. Left empty, with jumps searching the
    // file, when the command texts would take more memory than label_index_limit_.
    std::unordered_map<std::string, std::size_t> label_ends_;
    std::size_t label_index_limit_ = std::size_t{64} << 20;
    bool labels_indexed_ = false;
    bool label_index_too_big_ = false;
    // The places the jumps since the reader last waited have led to.
    std::unordered_set<std::size_t> jumped_to_;
    int open_count_ = 0;
    int advance_depth_ = 0;
    int deepest_advance_ = 0;
};

}  // namespace tsukikage
