#include "sound/sound.h"

#include "base/ascii.h"
#include "base/numeric.h"
#include "base/scoped_count.h"
#include "platform/application.h"

namespace tsukikage {
namespace {

// The command strings of the music, all on the one alias MIDI1.
constexpr std::string_view kStopMidi = "Stop MIDI1";
constexpr std::string_view kCloseMidi = "Close MIDI1";
constexpr std::string_view kCloseAll = "Close all";
constexpr std::string_view kPlayMidi = "Play MIDI1";
constexpr std::string_view kPlayFromStart = "Play MIDI1 from 0 notify";
constexpr std::string_view kTimeFormat = "set MIDI1 time format milliseconds";
constexpr std::string_view kStatusLength = "Status MIDI1 length";
constexpr std::string_view kStatusMode = "Status MIDI1 mode";

}  // namespace

void Sound::ClaimEvents(EventTable& events) {
    events.OnTimer(TimerId::BgmWatch, "Sound::BgmLoopWatch", [this] { BgmLoopWatch(); });
}

void Sound::PlayWave(std::string_view argument, unsigned flags) {
    StopSound();
    std::string name = "\\";
    name += argument;
    w_.state.written_only.SndResult = w_.platform.wave_voice.PlaySound(name, flags);
}

void Sound::SoundSE(std::string_view argument) {
    PlayWave(argument, snd::kAsync);
}

void Sound::SoundSELoop(std::string_view argument) {
    PlayWave(argument, snd::kAsync | snd::kLoop);
}

void Sound::PlayLooping(std::string_view name) {
    w_.state.written_only.SndResult =
        w_.platform.wave_voice.PlaySound(name, snd::kAsync | snd::kLoop);
}

std::string Sound::OpenCommand(std::string_view argument) const {
    std::string command = "Open \"";
    command += w_.folder.root().string();
    command += '\\';
    command += argument;
    command += "\" alias MIDI1";
    return command;
}

void Sound::Track(std::string_view command, std::uint32_t result) {
    if (command == kCloseMidi || command == kCloseAll) {
        midi1_closed_ = true;
    } else if (command.starts_with("Open ")) {
        midi1_closed_ = result != 0;
    } else {
        return;
    }
    // The watch ticks only while a piece is open under MIDI1 for it to restart: an idle
    // program wakes for nothing.
    w_.form.timer(TimerId::BgmWatch).enabled = w_.state.MidiOpen && !midi1_closed_;
}

std::string Sound::MciCommand(std::string_view command) {
    std::string reply;
    const std::uint32_t code = w_.platform.music_device.SendString(command, reply);
    Track(command, code);
    if (code != 0) {
        const ScopedCount box(boxes_open_);
        w_.platform.message_box.Show(w_.platform.music_device.ErrorText(code), MessageIcon::None,
                                     application::kTitle);
    }
    if (ascii::StartsWithIgnoringCase(command, "status")) return reply;
    return {};
}

void Sound::SendDirect(std::string_view command) {
    mci_cmd_ = command;
    const std::uint32_t code = w_.platform.music_device.SendString(mci_cmd_, mci_return_);
    Track(mci_cmd_, code);
}

void Sound::CloseBeforeNewMusic() {
    if (w_.state.MidiOpen) {
        // An alias already closed is not stopped and closed again: that would only report
        // "not open" twice before the new piece.
        if (!midi1_closed_) {
            MciCommand(kStopMidi);
            MciCommand(kCloseMidi);
        }
        SendDirect(kCloseAll);
    } else {
        SendDirect(kCloseMidi);
    }
}

void Sound::SoundBGM(std::string_view argument) {
    CloseBeforeNewMusic();
    SendDirect(OpenCommand(argument));
    SendDirect(kPlayMidi);
}

void Sound::SoundBGMLoop(std::string_view argument) {
    CloseBeforeNewMusic();
    w_.state.MidiOpen = true;
    MciCommand(OpenCommand(argument));
    MciCommand(kTimeFormat);
    bgm_length_ = ToLong(MciCommand(kStatusLength));
    MciCommand(kPlayFromStart);
}

void Sound::BgmLoopWatch() {
    if (!w_.state.MidiOpen) {
        w_.form.timer(TimerId::BgmWatch).enabled = false;
        return;
    }
    // Ticks go on while a box is open; the watch waits for it to close rather than stack more.
    if (midi1_closed_ || boxes_open_ > 0) return;
    if (ascii::StartsWithIgnoringCase(MciCommand(kStatusMode), "stopped")) {
        MciCommand(kPlayFromStart);
    }
}

std::optional<std::int64_t> Sound::BgmWatchQuietMs() {
    if (!w_.state.MidiOpen || midi1_closed_ || boxes_open_ > 0) return std::nullopt;
    return w_.platform.music_device.MsUntilStopped();
}

void Sound::StopSound() {
    w_.state.written_only.SndResult = w_.platform.wave_voice.PlaySound("", snd::kAsync);
}

void Sound::StopMusic() {
    if (!w_.state.MidiOpen || midi1_closed_) return;
    MciCommand(kStopMidi);
    MciCommand(kCloseMidi);
}

void Sound::StopAllSound() {
    StopSound();
    StopMusic();
}

void Sound::CloseMusicSilently() {
    SendDirect(kCloseMidi);
}

}  // namespace tsukikage
