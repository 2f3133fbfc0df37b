#include "saves/slot_notes.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "base/digest.h"
#include "base/runtime_error.h"
#include "base/text_file.h"

namespace tsukikage {
namespace {

constexpr std::string_view kFormatLine = "tsukikage slots 1";
constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 5;
// A side file larger than this is no file of ours: it is not read.
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;

template <typename Number>
bool ParseNumber(std::string_view text, Number& value, int base = 10) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    return error == std::errc() && stop == end && !text.empty();
}

// Takes the text up to the next blank from `line`.
std::string_view Field(std::string_view& line) {
    const std::size_t blank = line.find(' ');
    const std::string_view field = line.substr(0, blank);
    line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    return field;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

SlotNotes::SlotNotes(std::filesystem::path file) : file_(std::move(file)) {
    if (file_.empty()) return;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file_, error);
    if (error || size > kMaxFileBytes) return;
    std::ifstream in(file_, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kFormatLine) return;
    while (std::getline(in, line)) {
        std::string_view rest = line;
        int slot = 0;
        Note note;
        if (!ParseNumber(Field(rest), slot) || slot < kFirstSlot || slot > kLastSlot) continue;
        const std::string_view digest = Field(rest);
        if (digest.size() != 16 || !ParseNumber(digest, note.fingerprint, 16)) continue;
        if (!ParseNumber(Field(rest), note.saved_at)) continue;
        note.first_words = rest;
        notes_[slot] = std::move(note);
    }
}

const SlotNotes::Note* SlotNotes::Find(int slot) const {
    const auto found = notes_.find(slot);
    return found == notes_.end() ? nullptr : &found->second;
}

std::optional<int> SlotNotes::Set(int slot, Note note) {
    // One line each: a line end inside the words would start a line of its own.
    for (char& c : note.first_words) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    notes_[slot] = std::move(note);
    if (file_.empty()) return std::nullopt;
    std::string bytes(kFormatLine);
    bytes += '\n';
    for (const auto& [number, kept] : notes_) {
        char head[64];
        std::snprintf(head, sizeof head, "%d %016llx %lld ", number,
                      static_cast<unsigned long long>(kept.fingerprint),
                      static_cast<long long>(kept.saved_at));
        bytes += head;
        bytes += kept.first_words;
        bytes += '\n';
    }
    try {
        std::error_code ignored;
        std::filesystem::create_directories(file_.parent_path(), ignored);
        ReplaceFile(file_, bytes);
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return std::nullopt;
}

std::string SlotNotesFileName(const std::filesystem::path& record_folder) {
    char name[48];
    std::snprintf(name, sizeof name, "slots-%016llx.txt",
                  static_cast<unsigned long long>(Fnv1a64(record_folder.string())));
    return name;
}

std::uint64_t SaveFingerprint(std::string_view bytes) {
    return Fnv1a64(bytes);
}

std::string FirstWords(std::string_view page, std::size_t limit) {
    std::string joined;
    for (const char c : page) {
        if (c != '\r' && c != '\n') joined += c;
    }
    // Blanks at the head, ASCII and the full-width one, say nothing.
    std::string_view text = joined;
    constexpr std::string_view kWideBlank = "\u3000";
    while (!text.empty()) {
        if (text.front() == ' ' || text.front() == '\t') {
            text.remove_prefix(1);
        } else if (text.substr(0, kWideBlank.size()) == kWideBlank) {
            text.remove_prefix(kWideBlank.size());
        } else {
            break;
        }
    }
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IsContinuation(static_cast<unsigned char>(text[at]))) continue;
        if (characters == limit) return std::string(text.substr(0, at)) + "…";
        ++characters;
    }
    return std::string(text);
}

std::string SavedAtText(std::int64_t seconds) {
    const auto moment = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr) return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M", &local);
    return text;
}

}  // namespace tsukikage
