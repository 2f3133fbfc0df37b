#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/interfaces.h"

namespace tsukikage {

// Error codes of the music device, numbered as the original command-string device numbered them.
namespace mci {
inline constexpr std::uint32_t kUnrecognizedKeyword = 259;
inline constexpr std::uint32_t kUnrecognizedCommand = 261;
inline constexpr std::uint32_t kInvalidDeviceName = 263;  // the alias is not open
inline constexpr std::uint32_t kDeviceOpen = 265;
inline constexpr std::uint32_t kMissingCommandString = 267;
inline constexpr std::uint32_t kMissingStringArgument = 269;
inline constexpr std::uint32_t kBadInteger = 270;
inline constexpr std::uint32_t kMissingParameter = 273;
inline constexpr std::uint32_t kFileNotFound = 275;
inline constexpr std::uint32_t kCannotUseAll = 279;
inline constexpr std::uint32_t kOutOfRange = 282;
inline constexpr std::uint32_t kDuplicateAlias = 289;
inline constexpr std::uint32_t kMissingDeviceName = 292;
inline constexpr std::uint32_t kBadTimeFormat = 293;
inline constexpr std::uint32_t kNoClosingQuote = 294;
inline constexpr std::uint32_t kInvalidFile = 296;
inline constexpr std::uint32_t kExtraCharacters = 305;
}  // namespace mci

// Milliseconds from any fixed point; only differences count.
class MusicClock {
  public:
    virtual ~MusicClock() = default;
    virtual std::int64_t NowMs() = 0;
};

class SteadyMusicClock : public MusicClock {
  public:
    std::int64_t NowMs() override;
};

// What makes the sound: holds one piece, plays it from a point, stops it.
class MusicPlayer {
  public:
    virtual ~MusicPlayer() = default;
    // False when the file cannot be played; the piece held before is gone either way.
    virtual bool Load(const std::filesystem::path& path) = 0;
    // The length of the loaded piece when the player knows it (it does not for MIDI).
    virtual std::optional<std::int64_t> LengthMs() = 0;
    virtual void Play(std::int64_t from_ms) = 0;
    virtual void Stop() = 0;
    virtual void Unload() = 0;
};

// Finds the file that an open command names; nothing when there is none.
using MusicPathResolver = std::function<std::optional<std::filesystem::path>(std::string_view)>;

// The music device: takes the command strings of the original multimedia device and answers as
// it did (result code, reply text, error text). One piece is open at a time under its alias.
// A MIDI file's length comes from reading the file itself and whether it still plays from the
// clock, since players report neither in time; other files the player accepts are taken too.
// Keywords and aliases ignore letter case; blanks between words may repeat.
class MusicCommandDevice : public MusicDevice {
  public:
    MusicCommandDevice(MusicPlayer& player, MusicClock& clock, MusicPathResolver resolve);

    std::uint32_t SendString(std::string_view command, std::string& reply) override;
    std::string ErrorText(std::uint32_t code) override;
    std::optional<std::int64_t> MsUntilStopped() override;

  private:
    struct Piece {
        std::string alias;  // as opened; compared ignoring case
        std::int64_t length_ms = 0;
        bool playing = false;
        std::int64_t position_ms = 0;  // while stopped
        std::int64_t started_at_ms = 0;
        std::int64_t started_from_ms = 0;
    };

    // The words after a command's device name: as written for open, whose alias keeps its
    // case; lower-cased and without "notify" for the verbs on an open piece.
    using Keywords = std::vector<std::string>;
    using VerbHandler = std::uint32_t (MusicCommandDevice::*)(std::string_view device,
                                                              const Keywords& keywords,
                                                              std::string& reply);
    // What the device name of a verb names.
    enum class Target { kFile, kPiece, kPieceOrAll };
    struct Verb {
        std::string_view name;
        Target target;
        VerbHandler run;
    };
    static const Verb* FindVerb(std::string_view word);

    std::uint32_t Run(std::string_view command, std::string& reply);
    // Whether a verb's device name names what it must: 0, or the error code.
    std::uint32_t DeviceError(std::string_view device, bool quoted, Target target) const;
    std::uint32_t OpenVerb(std::string_view file, const Keywords& keywords, std::string& reply);
    std::uint32_t CloseVerb(std::string_view device, const Keywords& keywords, std::string& reply);
    std::uint32_t PlayVerb(std::string_view device, const Keywords& keywords, std::string& reply);
    std::uint32_t StopVerb(std::string_view device, const Keywords& keywords, std::string& reply);
    std::uint32_t SetVerb(std::string_view device, const Keywords& keywords, std::string& reply);
    std::uint32_t StatusVerb(std::string_view device, const Keywords& keywords, std::string& reply);

    std::uint32_t Open(std::string_view file, std::string_view alias);
    void PlayFrom(std::int64_t from_ms);
    std::int64_t Position();
    void Close();

    MusicPlayer& player_;
    MusicClock& clock_;
    MusicPathResolver resolve_;
    std::optional<Piece> piece_;
};

// The resolver for files named the game's way: the game folder's own path, then "\" and a game
// file name, found through the game folder's lookup; any other text is taken as a path.
MusicPathResolver GameMusicResolver(std::filesystem::path root);

// Cuts text so that it fits a 255-byte reply buffer of the original device in its ANSI code
// page (254 bytes and the terminating null), never splitting a character.
std::string FitReplyBuffer(std::string_view utf8_text);

}  // namespace tsukikage
