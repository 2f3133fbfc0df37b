#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/surface.h"
#include "platform/speaker.h"

namespace tsukikage {

// The small doors through which the engine reaches the desktop. Each has a real
// implementation (Qt or SDL) and a recording fake for tests.

enum class MessageIcon { None, Critical, Question, Exclamation, Information };

// A modal message box with an OK button; returns when the player has closed it.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual void Show(std::string_view text, MessageIcon icon, std::string_view title) = 0;
    // A modal question with Yes and No (Return answers yes, Escape and the close box no);
    // true for yes.
    virtual bool Ask(std::string_view text, std::string_view title) = 0;
};

class Beeper {
  public:
    virtual ~Beeper() = default;
    virtual void Beep() = 0;
};

// The application-wide busy (hourglass) pointer.
class BusyPointer {
  public:
    virtual ~BusyPointer() = default;
    virtual void SetBusy(bool busy) = 0;
};

// How the program ended, as its exit status tells a launcher or a script: the player quit,
// or a fatal error box was shown.
enum class ExitStatus : int { Quit = 0, Failed = 1 };

// Ends the process at once with a status: no further event is handled, no closing procedure
// runs. End never returns; the fake for tests throws instead.
class ProcessControl {
  public:
    virtual ~ProcessControl() = default;
    virtual void End(ExitStatus status) = 0;
};

// Ends the program through the platform; aborts should an implementation return.
[[noreturn]] inline void EndProgram(ProcessControl& process, ExitStatus status) {
    process.End(status);
    std::abort();
}

// Decodes a BMP or JPEG file. Raises error 53 when the file is missing and 481 when it is no
// readable picture. The picture is shared and never changes: a decoder may hand the same one
// out again for the same file.
class PictureDecoder {
  public:
    virtual ~PictureDecoder() = default;
    virtual std::shared_ptr<const Surface> Decode(const std::filesystem::path& path) = 0;
};

// Flags of the wave-sound call.
namespace snd {
inline constexpr unsigned kAsync = 0x1;
inline constexpr unsigned kLoop = 0x8;
}  // namespace snd

// The one wave-sound voice: a new request replaces the sound now playing; an empty name stops
// it. The name is a game file name (see GameFolder). Returns non-zero when accepted, 0 when not.
class WaveVoice {
  public:
    virtual ~WaveVoice() = default;
    virtual std::int32_t PlaySound(std::string_view name, unsigned flags) = 0;
};

// The music device driven by command strings ("Open ... alias MIDI1", "Play MIDI1", ...).
// Returns 0 on success or an error code; status commands fill `reply`.
class MusicDevice {
  public:
    virtual ~MusicDevice() = default;
    virtual std::uint32_t SendString(std::string_view command, std::string& reply) = 0;
    virtual std::string ErrorText(std::uint32_t code) = 0;
    // How long the open piece plays on before its status says "stopped", when the device knows
    // it; nothing when no piece plays or the device cannot tell. A question only: it changes
    // nothing the commands answer.
    virtual std::optional<std::int64_t> MsUntilStopped() { return std::nullopt; }
};

// How loud the two sound outputs play, each from 0 (silent) to 100 (as recorded). The
// player's own setting: the game itself never changes it.
class SoundLevels {
  public:
    virtual ~SoundLevels() = default;
    // The music device's pieces, MIDI and wave alike.
    virtual void SetMusicLevel(int percent) = 0;
    // The wave voice.
    virtual void SetVoiceLevel(int percent) = 0;
};

// Levels that stay as recorded: for platforms without a mixer.
SoundLevels& FixedSoundLevels();

// The factor on a sound's amplitude for a level of 0 to 100, out-of-range levels taken as the
// nearer end.
double LevelGain(int percent);

// Everything the engine reaches outside itself, handed over in one piece.
struct Platform {
    MessageBox& message_box;
    Beeper& beeper;
    BusyPointer& busy_pointer;
    ProcessControl& process;
    PictureDecoder& picture_decoder;
    WaveVoice& wave_voice;
    MusicDevice& music_device;
    SoundLevels& sound_levels = FixedSoundLevels();
    Speaker& speaker = NoSpeech();
};

}  // namespace tsukikage
