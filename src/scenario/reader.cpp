#include "scenario/reader.h"

#include <algorithm>

#include "base/scoped_count.h"
#include "base/text_codec.h"
#include "scenario/page.h"

namespace tsukikage {
namespace {

constexpr std::string_view kScenarioName = "datafile";

}  // namespace

void Reader::ClaimEvents(EventTable& events) {
    events.OnClick(ControlId::imgAhead, "Reader::imgAhead_Click", [this] { imgAhead_Click(); });
}

void Reader::imgAhead_Click() {
    const ScopedCount depth(advance_depth_);
    deepest_advance_ = std::max(deepest_advance_, advance_depth_);
    try {
        // Each pass is one advance; a continuing command starts the next pass instead of
        // nesting another advance inside this one.
        while (AdvanceOnce()) {
        }
        jumped_to_.clear();  // the reader waits
    } catch (const RuntimeError& error) {
        FailScenario(error);
    }
}

bool Reader::AdvanceOnce() {
    page_.EmptyPage();
    // The file is looked up afresh for every line: a command may close or reopen it.
    while (file_ && !file_->AtEnd()) {
        std::string_view raw = file_->ReadRawLine();
        if (!IsCommandLine(raw)) {
            page_.AppendCp932Line(raw, true);
            continue;
        }
        page_.Show();
        // A line whose first byte is no command letter (a label, a choice block's line) runs
        // nothing: it is passed over undecoded. A CP932 byte below 0x80 decodes to itself,
        // and one above to a character of several bytes, which is no command either.
        const std::string_view text = raw.substr(1);
        if (!FindCommandOf(text)) return !text.empty();
        return commands_.Execute(Cp932ToUtf8(text)) == Then::Continue;
    }
    page_.Show();
    return false;
}

void Reader::DoCommand(std::string_view command_text) {
    if (commands_.Execute(command_text) == Then::Continue) imgAhead_Click();
}

void Reader::IndexLabels() {
    labels_indexed_ = true;
    std::size_t bytes = 0;
    file_->Rewind();
    while (!file_->AtEnd()) {
        std::string_view raw = file_->ReadRawLine();
        if (!IsCommandLine(raw)) continue;
        std::string text = Cp932ToUtf8(raw.substr(1));
        bytes += text.size() + sizeof(std::size_t) * 4;
        if (bytes > label_index_limit_) {
            label_index_too_big_ = true;
            label_ends_.clear();
            break;
        }
        label_ends_.emplace(std::move(text), file_->position());  // the first line wins
    }
}

std::optional<std::size_t> Reader::LabelEnd(std::string_view target) {
    if (!labels_indexed_) IndexLabels();
    if (!label_index_too_big_) {
        const auto found = label_ends_.find(std::string(target));
        if (found == label_ends_.end()) return std::nullopt;
        return found->second;
    }
    file_->Rewind();
    while (!file_->AtEnd()) {
        std::string_view raw = file_->ReadRawLine();
        if (IsCommandLine(raw) && Cp932ToUtf8(raw.substr(1)) == target) return file_->position();
    }
    return std::nullopt;
}

bool Reader::SeekLabel(std::string_view target) {
    try {
        if (!file_) return false;
        const std::optional<std::size_t> end = LabelEnd(target);
        if (!end) {
            file_->Seek(file_->bytes().size());  // searched to its end, as the original did
            return false;
        }
        if (!jumped_to_.insert(*end).second) Raise(err::kOutOfStackSpace);
        file_->Seek(*end);
        return true;
    } catch (const RuntimeError& error) {
        FailScenario(error);
    }
}

void Reader::JumpLabel(std::string_view target) {
    if (SeekLabel(target)) imgAhead_Click();
}

void Reader::OpenScenario() {
    CloseScenario();
    std::optional<std::filesystem::path> path = w_.folder.Find(kScenarioName);
    if (!path) Raise(err::kFileNotFound);
    file_.emplace(TextInput::Open(*path));
    ++open_count_;
    w_.state.written_only.ScenarioFile = 1;
}

void Reader::CloseScenario() {
    file_.reset();
    label_ends_.clear();
    labels_indexed_ = false;
    label_index_too_big_ = false;
    jumped_to_.clear();
}

std::string Reader::ReadLine() {
    if (!file_) Raise(err::kBadFileNameOrNumber);
    return file_->ReadLine();
}

std::string_view Reader::ReadRawLine() {
    if (!file_) Raise(err::kBadFileNameOrNumber);
    return file_->ReadRawLine();
}

void Reader::FailScenario(const RuntimeError& error) {
    page_.Show();
    w_.form.Changed();
    w_.platform.message_box.Show(ErrorDescription(error.number()), MessageIcon::Exclamation,
                                 "ファイルエラー");
    CloseScenario();
    EndProgram(w_.platform.process, ExitStatus::Failed);
}

}  // namespace tsukikage
