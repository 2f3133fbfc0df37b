#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "window/main_window.h"

namespace tsukikage {

// The title theme, looping on the wave voice on the title screen.
inline constexpr std::string_view kTitleTheme = "\\bgm\\晩鐘テーマ曲";

// Sound effects on the wave voice and background music on the music device.
class Sound {
  public:
    explicit Sound(MainWindow& window) : w_(window) {}

    // Claims the looping-music watch's timer.
    void ClaimEvents(EventTable& events);

    // Effects: the sound stop, then the file once or over and over; both return at once.
    void SoundSE(std::string_view argument);
    void SoundSELoop(std::string_view argument);
    // A game wave file (a name from the game folder) over and over, replacing what the wave
    // voice plays; returns at once.
    void PlayLooping(std::string_view name);
    // Music: closes what is open, then opens the piece and plays it once.
    void SoundBGM(std::string_view argument);
    // Music that the watch restarts whenever it ends. Sets MidiOpen and starts the watch timer;
    // a piece that cannot be opened ends in a failing length conversion (error 13).
    void SoundBGMLoop(std::string_view argument);

    // The watch timer's tick: while MidiOpen is set, plays the piece in MIDI1 again from its
    // start when the device reports it stopped. Asks nothing while MIDI1 is known to be
    // closed; stops its timer once MidiOpen is found cleared.
    void BgmLoopWatch();
    // How long the watch's ticks only hear "playing": until the device's piece ends, when the
    // device can tell; nothing when a tick may do more.
    std::optional<std::int64_t> BgmWatchQuietMs();

    // Sends one command string to the music device; a failure shows the device's error text.
    // Returns the reply of status commands, otherwise empty text.
    std::string MciCommand(std::string_view command);

    // The wave voice's stop.
    void StopSound();
    // The stop of the music: "Stop MIDI1" and "Close MIDI1" while MidiOpen is set.
    void StopMusic();
    // Both, the wave voice first.
    void StopAllSound();
    // "Close MIDI1" sent straight to the device, opened or not, with no report.
    void CloseMusicSilently();

    // The last direct send and its reply, and the looping piece's length in milliseconds as
    // the device reported it.
    const std::string& MciCmd() const { return mci_cmd_; }
    const std::string& MciReturn() const { return mci_return_; }
    std::int32_t BgmLength() const { return bgm_length_; }

  private:
    void CloseBeforeNewMusic();
    // Sends the command as it stands: the reply goes to MciReturn, the result is ignored.
    void SendDirect(std::string_view command);
    void PlayWave(std::string_view argument, unsigned flags);
    std::string OpenCommand(std::string_view argument) const;
    void Track(std::string_view command, std::uint32_t result);

    MainWindow& w_;
    std::string mci_cmd_;
    std::string mci_return_;
    std::int32_t bgm_length_ = 0;
    // Known to hold nothing: set once MIDI1 is closed or fails to open, cleared when a piece
    // opens. The stop steps and the watch then leave the device alone instead of reporting
    // "not open" again and again.
    bool midi1_closed_ = false;
    int boxes_open_ = 0;
};

}  // namespace tsukikage
