#include "base/record_folder.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "base/runtime_error.h"
#include "base/text_file.h"

namespace tsukikage {

namespace fs = std::filesystem;

RecordFolder::RecordFolder(const GameFolder& game, fs::path user_folder, WritableTest writable)
    : game_(game), user_path_(std::move(user_folder)), writable_(std::move(writable)) {}

bool RecordFolder::CanWriteIn(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

void RecordFolder::Decide() const {
    if (decided_) return;
    decided_ = true;
    if (user_path_.empty() || writable_(game_.root())) return;
    std::error_code error;
    const bool existed = fs::is_directory(user_path_, error);
    if (!existed) {
        fs::create_directories(user_path_, error);
        if (error) return;  // nowhere better: the records stay beside the game
    }
    newly_made_ = !existed;
    // The game folder's own records come along the first time each is missing here.
    for (std::string_view name : kRecordNames) {
        const fs::path target = user_path_ / fs::path(std::string(name.substr(1)));
        if (fs::exists(target, error)) continue;
        const std::optional<fs::path> source = game_.Find(name);
        if (!source) continue;
        std::ifstream in(*source, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        try {
            ReplaceFile(target, bytes);
        } catch (const RuntimeError&) {
            // A record that cannot be copied reads as missing; the game goes on.
        }
    }
    user_.emplace(user_path_);
}

const GameFolder& RecordFolder::Active() const {
    Decide();
    return user_ ? *user_ : game_;
}

std::optional<fs::path> RecordFolder::TakeNewUserFolder() const {
    Decide();
    if (!newly_made_) return std::nullopt;
    newly_made_ = false;
    return user_path_;
}

fs::path UserRecordFolder(const fs::path& data_home, const fs::path& game_folder) {
    std::error_code error;
    fs::path full = fs::weakly_canonical(fs::absolute(game_folder, error), error);
    if (full.empty()) full = game_folder;
    full = full.lexically_normal();
    if (!full.has_filename()) full = full.parent_path();  // a trailing separator
    // FNV-1a over the path's bytes.
    std::uint64_t digest = 1469598103934665603ull;
    for (unsigned char c : full.string()) digest = (digest ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest));
    std::string name = full.filename().string();
    if (name.empty()) name = "game";
    return data_home / "tsukikage" / (name + "-" + hex);
}

}  // namespace tsukikage
