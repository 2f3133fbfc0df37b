#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace tsukikage {

// Which pages of a scenario the player has been shown, each known by the place in the
// scenario where the reading stopped after it.
//
// The record is the player's, not the game's: it lives in the player's data folder, one file
// per scenario content, named by a digest of the scenario's bytes and its length. An edited
// scenario is another scenario, so its pages start unread. The file is a first line naming
// the format, then one place per line; lines that do not read are passed over, so a damaged
// record keeps every place that reads. It is replaced whole, like the game's records.
class ReadPages {
  public:
    // `folder` holds the records; empty keeps them in memory only.
    explicit ReadPages(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Takes the record of the scenario with these bytes, reading it when there is one.
    void Open(std::string_view scenario);
    // True when the page ending at this place was shown before.
    bool Contains(std::size_t place) const { return places_.count(place) != 0; }
    // Adds a page; true when it was not in the record.
    bool Mark(std::size_t place);
    // Forgets every page: the scenario reads as never read.
    void Clear() {
        places_.clear();
        dirty_ = true;
    }
    bool dirty() const { return dirty_; }
    // Writes the record when it changed. On failure returns the run-time error number and
    // keeps the changes for the next try.
    std::optional<int> Save();

    // The record's file, empty when kept in memory or before Open.
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::string name_;
    std::set<std::size_t> places_;
    bool dirty_ = false;
};

// The record's file name for a scenario: a 64-bit FNV-1a digest of its bytes and its length.
std::string ReadPagesFileName(std::string_view scenario);

}  // namespace tsukikage
