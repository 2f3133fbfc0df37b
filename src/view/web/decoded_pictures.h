#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/surface.h"

namespace tsukikage::web {

// The pixels of the picture files decoded last, found again by the files' bytes. A game
// shows the same files again and again (the window's picture on every page, a scene's
// backgrounds), and each decode in the browser waits for the page: a page turned with
// pictures met before then takes no wait at all, and gets the very picture it had before, so
// the page has its image already. The least recently used go first once the bytes kept pass
// the budget.
class DecodedPictures {
  public:
    explicit DecodedPictures(std::size_t budget_bytes) : budget_(budget_bytes) {}

    // The pixels decoded from these bytes, or nullptr.
    std::shared_ptr<const Surface> Find(std::string_view file);
    void Keep(std::string file, std::shared_ptr<const Surface> pixels);

    std::size_t kept_bytes() const { return kept_; }

  private:
    struct Entry {
        std::string file;
        std::shared_ptr<const Surface> pixels;
        std::size_t Bytes() const { return file.size() + pixels->pixels.size() * 4; }
    };
    using Entries = std::list<Entry>;  // the most recently used first
    std::size_t budget_;
    std::size_t kept_ = 0;
    Entries entries_;
    std::unordered_multimap<std::size_t, Entries::iterator> by_hash_;
};

}  // namespace tsukikage::web
