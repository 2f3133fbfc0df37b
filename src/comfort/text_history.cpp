#include "comfort/text_history.h"

#include <algorithm>
#include <utility>

namespace tsukikage {

void TextHistory::Clear() {
    entries_.clear();
    open_ = false;
    bottom_ = 0;
}

void TextHistory::AddPage(std::string text) {
    Add({std::move(text), false});
}

void TextHistory::AddPick(std::string caption) {
    Add({std::move(caption), true});
}

void TextHistory::Add(HistoryEntry entry) {
    entries_.push_back(std::move(entry));
    if (entries_.size() > kCapacity) {
        entries_.pop_front();
        if (bottom_ > 0) --bottom_;
    }
}

bool TextHistory::Open() {
    if (entries_.empty()) return false;
    open_ = true;
    bottom_ = entries_.size() - 1;
    return true;
}

void TextHistory::Back(std::size_t entries) {
    bottom_ -= std::min(entries, bottom_);
}

void TextHistory::Forward(std::size_t entries) {
    if (bottom_ + 1 >= entries_.size()) {
        open_ = false;
        return;
    }
    bottom_ = std::min(entries_.size() - 1, bottom_ + entries);
}

HistoryView TextHistory::View() const {
    HistoryView view;
    view.open = open_;
    if (!open_) return view;
    const std::size_t first = bottom_ + 1 > kShownEntries ? bottom_ + 1 - kShownEntries : 0;
    const auto begin = entries_.begin() + static_cast<std::ptrdiff_t>(first);
    view.entries.assign(begin, entries_.begin() + static_cast<std::ptrdiff_t>(bottom_ + 1));
    view.position = bottom_ + 1;
    view.count = entries_.size();
    return view;
}

}  // namespace tsukikage
