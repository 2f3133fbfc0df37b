#include "base/game_folder.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "base/folder_entries.h"
#include "base/text_codec.h"

namespace tsukikage {

namespace {

namespace fs = std::filesystem;

constexpr char32_t kVoicedMark = 0x3099;
constexpr char32_t kSemiVoicedMark = 0x309A;

// Voiced kana that the regular rows below do not cover.
constexpr std::pair<char32_t, char32_t> kIrregularVoiced[] = {
    {0x3046, 0x3094},  // う -> ゔ
    {0x30A6, 0x30F4},  // ウ -> ヴ
    {0x309D, 0x309E},  // ゝ -> ゞ
    {0x30FD, 0x30FE},  // ヽ -> ヾ
    {0x30EF, 0x30F7},  // ワ -> ヷ
    {0x30F0, 0x30F8},  // ヰ -> ヸ
    {0x30F1, 0x30F9},  // ヱ -> ヹ
    {0x30F2, 0x30FA},  // ヲ -> ヺ
};

// The precomposed kana for base + (semi-)voiced mark, or 0 when there is none.
char32_t ComposeKana(char32_t base, char32_t mark) {
    if (mark == kVoicedMark) {
        for (const auto& [plain, voiced] : kIrregularVoiced) {
            if (base == plain) return voiced;
        }
    }
    // Katakana mirror hiragana 0x60 code points higher.
    const char32_t offset = (base >= 0x30A1 && base <= 0x30F6) ? 0x60 : 0;
    const char32_t h = base - offset;
    if (mark == kVoicedMark) {
        if (h >= 0x304B && h <= 0x3061 && (h - 0x304B) % 2 == 0) return base + 1;  // か..ち
        if (h == 0x3064 || h == 0x3066 || h == 0x3068) return base + 1;            // つ て と
    }
    if (h >= 0x306F && h <= 0x307B && (h - 0x306F) % 3 == 0) {  // は ひ ふ へ ほ
        return base + (mark == kVoicedMark ? 1 : 2);
    }
    return 0;
}

// Decodes one code point of valid UTF-8 at s[i], advancing i.
char32_t Next(std::string_view s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (i + n > s.size()) n = 1;
    char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += n;
    return cp;
}

void Append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Names on disk are bytes: UTF-8 when they are valid UTF-8, else the game's CP932.
std::string DecodeEntryName(const std::string& raw) {
    return IsValidUtf8(raw) ? raw : Cp932ToUtf8(raw);
}

bool IsRefused(std::string_view component) {
    return component == "." || component == "..";
}

// A name's components as the original platform opened them: the name ended at its first
// null character, and blanks and dots at the end of the last component were dropped
// ("back.bmp " and "a.wav." open "back.bmp" and "a.wav"). Nothing when a component is
// refused or the last one is only blanks and dots.
std::optional<std::vector<std::string>> PlatformParts(std::string_view name) {
    std::vector<std::string> parts = SplitGameName(name.substr(0, name.find('\0')));
    if (parts.empty()) return std::nullopt;
    for (const std::string& part : parts) {
        if (IsRefused(part)) return std::nullopt;
    }
    std::string& last = parts.back();
    while (!last.empty() && (last.back() == ' ' || last.back() == '.')) last.pop_back();
    if (last.empty()) return std::nullopt;
    return parts;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// A name's components as PlatformParts gives them, as views into the name: a lookup walks them
// with nothing allocated. `valid` is false where PlatformParts gives nothing.
struct NameParts {
    std::string_view name;    // up to the first null character
    std::size_t last_at = 0;  // where the last component starts
    std::string_view last;    // the last component, its end trimmed
    bool valid = false;

    explicit NameParts(std::string_view full) : name(full.substr(0, full.find('\0'))) {
        bool any = false;
        for (std::size_t i = 0; i < name.size();) {
            if (IsSeparator(name[i])) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < name.size() && !IsSeparator(name[end])) ++end;
            const std::string_view part = name.substr(i, end - i);
            if (IsRefused(part)) return;
            last_at = i;
            last = part;
            any = true;
            i = end;
        }
        while (!last.empty() && (last.back() == ' ' || last.back() == '.')) last.remove_suffix(1);
        valid = any && !last.empty();
    }

    // Calls visit(component, is_last) for each component in turn while it returns true.
    template <typename Visit>
    void ForEach(Visit&& visit) const {
        for (std::size_t i = 0; i < name.size();) {
            if (IsSeparator(name[i])) {
                ++i;
                continue;
            }
            if (i == last_at) {
                visit(last, true);
                return;
            }
            std::size_t end = i;
            while (end < name.size() && !IsSeparator(name[end])) ++end;
            if (!visit(name.substr(i, end - i), false)) return;
            i = end;
        }
    }
};

// A name that PlatformParts gives back as its one component, unchanged.
bool IsPlainComponent(std::string_view name) {
    return !name.empty() && name.find_first_of(std::string_view("\\/\0", 3)) == name.npos &&
           name.back() != ' ' && name.back() != '.';
}

bool IsDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// A spelling that lexical normalisation leaves as it is: no empty, "." or ".." component and
// no separator at the end.
bool IsNormalSpelling(std::string_view s) {
    if (s.empty() || s.back() == '/') return false;
    std::size_t start = 0;
    while (start <= s.size()) {
        const std::size_t end = std::min(s.find('/', start), s.size());
        const std::string_view part = s.substr(start, end - start);
        if ((part.empty() && start != 0) || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

// Cache keys must not depend on how a caller spelled the same folder.
std::string CacheKey(const fs::path& folder) {
    if (IsNormalSpelling(folder.native())) return folder.native();
    fs::path key = folder.lexically_normal();
    if (!key.has_filename() && key.has_relative_path()) key = key.parent_path();
    return key.native();
}

}  // namespace

std::vector<std::string> SplitGameName(std::string_view name) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\' || name[i] == '/') {
            if (i > start) parts.emplace_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::string FileNameKey(std::string_view utf8_name) {
    std::string key;
    key.reserve(utf8_name.size());
    std::size_t i = 0;
    char32_t pending = 0;  // the last code point, held back in case a mark follows
    bool has_pending = false;
    while (i < utf8_name.size()) {
        char32_t cp = Next(utf8_name, i);
        if (cp >= 'A' && cp <= 'Z') cp += 'a' - 'A';
        if (cp >= 0xFF21 && cp <= 0xFF3A) cp += 0x20;  // full-width Ａ-Ｚ
        if (has_pending && (cp == kVoicedMark || cp == kSemiVoicedMark)) {
            if (const char32_t composed = ComposeKana(pending, cp)) {
                pending = composed;
                continue;
            }
        }
        if (has_pending) Append(key, pending);
        pending = cp;
        has_pending = true;
    }
    if (has_pending) Append(key, pending);
    return key;
}

GameFolder::GameFolder(std::filesystem::path root) : root_(std::move(root)) {}

const GameFolder::Folder& GameFolder::Listing(const fs::path& folder) const {
    if (auto it = by_spelling_.find(folder.native()); it != by_spelling_.end()) {
        return *it->second;
    }
    std::string key = CacheKey(folder);
    auto it = listings_.find(key);
    if (it == listings_.end()) {
        auto listing = std::make_shared<Folder>();
        listing->path = folder;
        std::vector<Entry>& entries = listing->entries;
        FolderEntries dir(folder);
        while (const char* name = dir.Next()) {
            Entry& entry = entries.emplace_back();
            entry.raw_name = name;
            entry.key = FileNameKey(DecodeEntryName(entry.raw_name));
        }
        if (dir.failed()) entries.clear();  // an unreadable folder behaves as an empty one
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.raw_name < b.raw_name; });
        it = listings_.emplace(std::move(key), std::move(listing)).first;
    }
    by_spelling_.emplace(folder.native(), it->second);
    return *it->second;
}

const fs::path* GameFolder::FindEntry(const fs::path& folder, std::string_view component) const {
    const Folder& listing = Listing(folder);
    // The exact name first, then the same name told apart only by case or kana form.
    const Entry* found = nullptr;
    for (const Entry& entry : listing.entries) {
        if (entry.raw_name == component) {
            found = &entry;
            break;
        }
    }
    if (!found) {
        const std::string key = FileNameKey(component);
        const Entry* decoded_match = nullptr;
        const Entry* key_match = nullptr;
        for (const Entry& entry : listing.entries) {
            if (entry.key != key) continue;
            if (!decoded_match && DecodeEntryName(entry.raw_name) == component) {
                decoded_match = &entry;
            }
            if (!key_match) key_match = &entry;
        }
        found = decoded_match ? decoded_match : key_match;
    }
    if (!found) return nullptr;
    if (!found->path) found->path = listing.path / found->raw_name;
    return &*found->path;
}

std::optional<fs::path> GameFolder::Find(std::string_view name) const {
    const fs::path* found = Lookup(name);
    return found ? std::optional<fs::path>(*found) : std::nullopt;
}

const fs::path* GameFolder::Lookup(std::string_view name) const {
    // More names than a game has pictures and sounds: a scenario that names ever new ones
    // starts the list afresh rather than growing it without end.
    constexpr std::size_t kMostRemembered = 4096;
    auto it = found_.find(name);
    if (it == found_.end()) {
        std::optional<fs::path> found = FindUnder(root_, name);
        if (found_.size() >= kMostRemembered) found_.clear();
        it = found_.emplace(std::string(name), std::move(found)).first;
    }
    return it->second ? &*it->second : nullptr;
}

std::optional<fs::path> GameFolder::FindUnder(const fs::path& folder, std::string_view name) const {
    if (IsPlainComponent(name)) {  // the usual name within a folder, looked up without splitting
        const fs::path* entry = FindEntry(folder, name);
        return entry ? std::optional<fs::path>(*entry) : std::nullopt;
    }
    const NameParts parts(name);
    if (!parts.valid) return std::nullopt;
    // The path of each step stays in its folder's cached listing, which no lookup drops.
    const fs::path* current = &folder;
    bool found = true;
    parts.ForEach([&](std::string_view part, bool) {
        const fs::path* next = FindEntry(*current, part);
        if (!next) return found = false;
        current = next;
        return true;
    });
    if (!found) return std::nullopt;
    return *current;
}

std::optional<fs::path> GameFolder::FindSound(std::string_view name) const {
    std::optional<fs::path> found = Find(name);
    if (found && !IsDirectory(*found)) return found;
    const std::optional<std::vector<std::string>> parts = PlatformParts(name);
    if (!parts || parts->back().find('.') != std::string::npos) return found;
    std::string with_extension;
    for (const std::string& part : *parts) with_extension += '\\' + part;
    with_extension += ".wav";
    if (std::optional<fs::path> wave = Find(with_extension)) return wave;
    return found;
}

std::optional<fs::path> GameFolder::PathForWriting(std::string_view name) const {
    const NameParts parts(name);
    if (!parts.valid) return std::nullopt;
    // As in FindUnder, each step's path stays in its folder's cached listing until the end.
    const fs::path* current = &root_;
    std::optional<fs::path> result;
    std::optional<fs::path> forget;
    parts.ForEach([&](std::string_view part, bool last) {
        const fs::path* next = FindEntry(*current, part);
        if (last) {
            if (next) {
                result = *next;
            } else if (IsDirectory(*current)) {  // only the root is unchecked before
                result = *current / fs::path(part);
                forget = *current;
            }
            return false;
        }
        if (!next || !IsDirectory(*next)) return false;
        current = next;
        return true;
    });
    // The caller is about to create the file: the folder is listed afresh next time.
    if (forget) Forget(*forget);
    return result;
}

void GameFolder::Forget(const std::filesystem::path& folder) const {
    found_.clear();
    const auto listing = listings_.find(CacheKey(folder));
    if (listing == listings_.end()) return;
    // Only this folder's spellings go: the other folders' listings still stand.
    std::erase_if(by_spelling_,
                  [&](const auto& spelling) { return spelling.second == listing->second; });
    listings_.erase(listing);
}

}  // namespace tsukikage
