#include "sound/music_command.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "base/ascii.h"
#include "base/game_folder.h"
#include "sound/midi_file.h"

namespace tsukikage {
namespace {

constexpr std::size_t kReplyBufferBytes = 254;

struct ErrorMessage {
    std::uint32_t code;
    std::string_view text;
};

constexpr ErrorMessage kErrorMessages[] = {
    {mci::kUnrecognizedKeyword, "不明なコマンド パラメータが指定されました。"},
    {mci::kUnrecognizedCommand, "指定されたコマンドは認識されません。"},
    {mci::kInvalidDeviceName, "指定されたデバイスは開かれていないか、MCI で認識されません。"},
    {mci::kDeviceOpen,
     "デバイス名は既にこのアプリケーションでエイリアスとして使われています。"
     "一意の名前を使ってください。"},
    {mci::kMissingCommandString, "コマンドが指定されていません。"},
    {mci::kMissingStringArgument,
     "指定されたコマンドには文字列パラメータが必要です。指定してください。"},
    {mci::kBadInteger, "コマンドの整数が無効か、指定されていません。"},
    {mci::kMissingParameter, "指定されたコマンドにはパラメータが必要です。指定してください。"},
    {mci::kFileNotFound,
     "指定されたファイルが見つかりません。パスとファイル名を確認してください。"},
    {mci::kCannotUseAll, "このコマンドにはデバイス名 \"all\" は使えません。"},
    {mci::kOutOfRange, "指定されたパラメータは、このコマンドの範囲外です。"},
    {mci::kDuplicateAlias,
     "指定されたエイリアスは既にこのアプリケーションで使われています。"
     "一意のエイリアスを使ってください。"},
    {mci::kMissingDeviceName, "デバイス名を指定してください。"},
    {mci::kBadTimeFormat, "指定された時間形式の値が無効です。"},
    {mci::kNoClosingQuote, "閉じる引用符がありません。"},
    {mci::kInvalidFile,
     "指定されたファイルは、指定された MCI デバイスで再生できません。"
     "ファイルが壊れているか、形式が正しくありません。"},
    {mci::kExtraCharacters, "引用符で囲まれた文字列の後に余分な文字を指定することはできません。"},
};

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits on blanks; a double-quoted part is one word and may hold blanks. Nothing, with the
// error code set, when a quote is left open or a word runs on after its closing quote.
std::optional<std::vector<Token>> Tokenize(std::string_view command, std::uint32_t& error) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (i < command.size()) {
        if (blank(command[i])) {
            ++i;
            continue;
        }
        Token token;
        if (command[i] == '"') {
            const std::size_t close = command.find('"', i + 1);
            if (close == std::string_view::npos) {
                error = mci::kNoClosingQuote;
                return std::nullopt;
            }
            token.text = command.substr(i + 1, close - i - 1);
            token.quoted = true;
            i = close + 1;
            if (i < command.size() && !blank(command[i])) {
                error = mci::kExtraCharacters;
                return std::nullopt;
            }
        } else {
            const std::size_t start = i;
            while (i < command.size() && !blank(command[i])) ++i;
            token.text = command.substr(start, i - start);
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::optional<std::int64_t> Integer(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The words after the device name, as written.
std::vector<std::string> WrittenKeywords(const std::vector<Token>& words) {
    std::vector<std::string> keywords;
    for (std::size_t i = 2; i < words.size(); ++i) keywords.push_back(words[i].text);
    return keywords;
}

// The words after the device name, lower-cased. "notify" is accepted everywhere and changes
// nothing, as no window is ever given to be notified.
std::vector<std::string> PieceKeywords(const std::vector<Token>& words) {
    std::vector<std::string> keywords;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (!ascii::EqualsIgnoringCase(words[i].text, "notify")) {
            keywords.push_back(ascii::Lower(words[i].text));
        }
    }
    return keywords;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::int64_t SteadyMusicClock::NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

MusicCommandDevice::MusicCommandDevice(MusicPlayer& player, MusicClock& clock,
                                       MusicPathResolver resolve)
    : player_(player), clock_(clock), resolve_(std::move(resolve)) {}

std::uint32_t MusicCommandDevice::SendString(std::string_view command, std::string& reply) {
    reply.clear();
    const std::uint32_t code = Run(command, reply);
    reply = FitReplyBuffer(reply);
    return code;
}

const MusicCommandDevice::Verb* MusicCommandDevice::FindVerb(std::string_view word) {
    static constexpr Verb kVerbs[] = {
        {"open", Target::kFile, &MusicCommandDevice::OpenVerb},
        {"close", Target::kPieceOrAll, &MusicCommandDevice::CloseVerb},
        {"play", Target::kPiece, &MusicCommandDevice::PlayVerb},
        {"stop", Target::kPiece, &MusicCommandDevice::StopVerb},
        {"set", Target::kPiece, &MusicCommandDevice::SetVerb},
        {"status", Target::kPiece, &MusicCommandDevice::StatusVerb},
    };
    for (const Verb& verb : kVerbs) {
        if (ascii::EqualsIgnoringCase(word, verb.name)) return &verb;
    }
    return nullptr;
}

std::uint32_t MusicCommandDevice::Run(std::string_view command, std::string& reply) {
    std::uint32_t error = 0;
    std::optional<std::vector<Token>> parsed = Tokenize(command, error);
    if (!parsed) return error;
    const std::vector<Token>& words = *parsed;
    if (words.empty()) return mci::kMissingCommandString;
    const Verb* verb = FindVerb(words[0].text);
    if (!verb) return mci::kUnrecognizedCommand;
    if (words.size() < 2) return mci::kMissingDeviceName;
    const Token& device = words[1];
    if (verb->target == Target::kFile) {
        return (this->*verb->run)(device.text, WrittenKeywords(words), reply);
    }
    if (const std::uint32_t refused = DeviceError(device.text, device.quoted, verb->target)) {
        return refused;
    }
    return (this->*verb->run)(device.text, PieceKeywords(words), reply);
}

std::uint32_t MusicCommandDevice::DeviceError(std::string_view device, bool quoted,
                                              Target target) const {
    const bool all = !quoted && ascii::EqualsIgnoringCase(device, "all");
    if (all) return target == Target::kPieceOrAll ? 0 : mci::kCannotUseAll;
    if (!piece_ || !ascii::EqualsIgnoringCase(device, piece_->alias)) {
        return mci::kInvalidDeviceName;
    }
    return 0;
}

// open <file> alias <alias>
std::uint32_t MusicCommandDevice::OpenVerb(std::string_view file, const Keywords& keywords,
                                           std::string&) {
    if (keywords.empty()) return mci::kMissingParameter;
    if (!ascii::EqualsIgnoringCase(keywords[0], "alias")) return mci::kUnrecognizedKeyword;
    if (keywords.size() < 2) return mci::kMissingStringArgument;
    if (keywords.size() > 2) return mci::kUnrecognizedKeyword;
    return Open(file, keywords[1]);
}

// close <alias> | close all
std::uint32_t MusicCommandDevice::CloseVerb(std::string_view, const Keywords& keywords,
                                            std::string&) {
    if (!keywords.empty()) return mci::kUnrecognizedKeyword;
    if (piece_) Close();
    return 0;
}

// play <alias> [from <ms>]: without "from" it goes on from where it stopped.
std::uint32_t MusicCommandDevice::PlayVerb(std::string_view, const Keywords& keywords,
                                           std::string&) {
    std::int64_t from = Position();
    if (!keywords.empty()) {
        if (keywords[0] != "from") return mci::kUnrecognizedKeyword;
        if (keywords.size() < 2) return mci::kMissingParameter;
        std::optional<std::int64_t> value = Integer(keywords[1]);
        if (!value) return mci::kBadInteger;
        if (*value > piece_->length_ms) return mci::kOutOfRange;
        if (keywords.size() > 2) return mci::kUnrecognizedKeyword;
        from = *value;
    }
    PlayFrom(from);
    return 0;
}

std::uint32_t MusicCommandDevice::StopVerb(std::string_view, const Keywords& keywords,
                                           std::string&) {
    if (!keywords.empty()) return mci::kUnrecognizedKeyword;
    piece_->position_ms = Position();
    piece_->playing = false;
    player_.Stop();
    return 0;
}

// set <alias> time format milliseconds|ms: the only time format there is.
std::uint32_t MusicCommandDevice::SetVerb(std::string_view, const Keywords& keywords,
                                          std::string&) {
    if (keywords.empty()) return mci::kMissingParameter;
    if (keywords.size() < 2 || keywords[0] != "time" || keywords[1] != "format") {
        return mci::kUnrecognizedKeyword;
    }
    if (keywords.size() != 3) return mci::kBadTimeFormat;
    return keywords[2] == "milliseconds" || keywords[2] == "ms" ? 0 : mci::kBadTimeFormat;
}

// status <alias> length|position|mode
std::uint32_t MusicCommandDevice::StatusVerb(std::string_view, const Keywords& keywords,
                                             std::string& reply) {
    if (keywords.empty()) return mci::kMissingParameter;
    if (keywords.size() > 1) return mci::kUnrecognizedKeyword;
    if (keywords[0] == "length") {
        reply = std::to_string(piece_->length_ms);
    } else if (keywords[0] == "position") {
        reply = std::to_string(Position());
    } else if (keywords[0] == "mode") {
        Position();  // notices the end of the piece
        reply = piece_->playing ? "playing" : "stopped";
    } else {
        return mci::kUnrecognizedKeyword;
    }
    return 0;
}

std::uint32_t MusicCommandDevice::Open(std::string_view file, std::string_view alias) {
    if (piece_) {
        return ascii::EqualsIgnoringCase(alias, piece_->alias) ? mci::kDuplicateAlias
                                                               : mci::kDeviceOpen;
    }
    std::optional<std::filesystem::path> path = resolve_(file);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error)) return mci::kFileNotFound;
    std::optional<std::string> bytes = ReadWholeFile(*path);
    if (!bytes) return mci::kFileNotFound;
    // The device is chosen by the file's contents: a MIDI file is timed by its own reading.
    std::optional<std::int64_t> length;
    if (LooksLikeMidi(*bytes)) {
        length = MidiLengthMs(*bytes);
        if (!length) return mci::kInvalidFile;
        if (!player_.Load(*path)) return mci::kInvalidFile;
    } else {
        if (!player_.Load(*path)) return mci::kInvalidFile;
        length = player_.LengthMs();
        if (!length) {
            player_.Unload();
            return mci::kInvalidFile;
        }
    }
    piece_ = Piece{std::string(alias), *length};
    return 0;
}

void MusicCommandDevice::PlayFrom(std::int64_t from_ms) {
    if (from_ms >= piece_->length_ms) {
        // At the end already: the device stops at once.
        player_.Stop();
        piece_->playing = false;
        piece_->position_ms = piece_->length_ms;
        return;
    }
    piece_->playing = true;
    piece_->started_from_ms = from_ms;
    piece_->started_at_ms = clock_.NowMs();
    player_.Play(from_ms);
}

std::int64_t MusicCommandDevice::Position() {
    Piece& piece = *piece_;
    if (!piece.playing) return piece.position_ms;
    const std::int64_t elapsed = clock_.NowMs() - piece.started_at_ms;
    const std::int64_t position = piece.started_from_ms + std::max<std::int64_t>(elapsed, 0);
    if (position >= piece.length_ms) {
        piece.playing = false;
        piece.position_ms = piece.length_ms;
        return piece.length_ms;
    }
    return position;
}

std::optional<std::int64_t> MusicCommandDevice::MsUntilStopped() {
    if (!piece_) return std::nullopt;
    const std::int64_t position = Position();
    if (!piece_->playing) return std::nullopt;
    return piece_->length_ms - position;
}

void MusicCommandDevice::Close() {
    player_.Stop();
    player_.Unload();
    piece_.reset();
}

std::string MusicCommandDevice::ErrorText(std::uint32_t code) {
    for (const ErrorMessage& message : kErrorMessages) {
        if (message.code == code) return FitReplyBuffer(message.text);
    }
    return FitReplyBuffer("不明なエラーです。");
}

std::string FitReplyBuffer(std::string_view utf8_text) {
    std::size_t ansi_bytes = 0;
    std::size_t pos = 0;
    while (pos < utf8_text.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8_text[pos]);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        length = std::min(length, utf8_text.size() - pos);
        // In the Japanese code page ASCII and half-width katakana (U+FF61 to U+FF9F) take one
        // byte, every other character two.
        bool single = lead < 0x80;
        if (length == 3 && lead == 0xEF) {
            const unsigned second = static_cast<unsigned char>(utf8_text[pos + 1]);
            const unsigned third = static_cast<unsigned char>(utf8_text[pos + 2]);
            const unsigned code = (second & 0x3F) << 6 | (third & 0x3F) | 0xF000;
            single = code >= 0xFF61 && code <= 0xFF9F;
        }
        const std::size_t cost = single ? 1 : 2;
        if (ansi_bytes + cost > kReplyBufferBytes) break;
        ansi_bytes += cost;
        pos += length;
    }
    return std::string(utf8_text.substr(0, pos));
}

MusicPathResolver GameMusicResolver(std::filesystem::path root) {
    auto folder = std::make_shared<GameFolder>(root);
    return [folder](std::string_view text) -> std::optional<std::filesystem::path> {
        const std::string prefix = folder->root().string();
        if (text.size() > prefix.size() && text.substr(0, prefix.size()) == prefix &&
            (text[prefix.size()] == '\\' || text[prefix.size()] == '/')) {
            return folder->Find(text.substr(prefix.size()));
        }
        std::error_code error;
        std::filesystem::path path{std::string(text)};
        if (std::filesystem::is_regular_file(path, error)) return path;
        return std::nullopt;
    };
}

}  // namespace tsukikage
