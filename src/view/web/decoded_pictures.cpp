#include "view/web/decoded_pictures.h"

#include <functional>
#include <iterator>
#include <utility>

namespace tsukikage::web {
namespace {

std::size_t HashOf(std::string_view file) {
    return std::hash<std::string_view>{}(file);
}

}  // namespace

std::shared_ptr<const Surface> DecodedPictures::Find(std::string_view file) {
    const auto [first, last] = by_hash_.equal_range(HashOf(file));
    for (auto it = first; it != last; ++it) {
        if (it->second->file != file) continue;
        entries_.splice(entries_.begin(), entries_, it->second);
        return it->second->pixels;
    }
    return nullptr;
}

void DecodedPictures::Keep(std::string file, std::shared_ptr<const Surface> pixels) {
    if (!pixels || Find(file)) return;
    Entry entry{std::move(file), std::move(pixels)};
    if (entry.Bytes() > budget_) return;
    kept_ += entry.Bytes();
    const std::size_t hash = HashOf(entry.file);
    entries_.push_front(std::move(entry));
    by_hash_.emplace(hash, entries_.begin());
    while (kept_ > budget_) {
        const auto oldest = std::prev(entries_.end());
        const auto [first, last] = by_hash_.equal_range(HashOf(oldest->file));
        for (auto it = first; it != last; ++it) {
            if (it->second == oldest) {
                by_hash_.erase(it);
                break;
            }
        }
        kept_ -= oldest->Bytes();
        entries_.erase(oldest);
    }
}

}  // namespace tsukikage::web
