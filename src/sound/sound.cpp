#include "sound/sound.h"

#include "app/engine.h"
#include "platform/numeric.h"

namespace tsukikage {
namespace {

constexpr std::string_view kCaption = "朧堂開発用プログラム";

// The reply begins with `word` (lower case) in any letter case.
bool StartsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

// A counter that holds while an error box of the music is open.
class BoxOpen {
  public:
    explicit BoxOpen(int& depth) : depth_(depth) { ++depth_; }
    ~BoxOpen() { --depth_; }
    BoxOpen(const BoxOpen&) = delete;
    BoxOpen& operator=(const BoxOpen&) = delete;

  private:
    int& depth_;
};

}  // namespace

void Sound::SoundSE(std::string_view argument) {
    StopSound();
    e_.state.SndResult =
        e_.platform.wave_voice.PlaySound("\\" + std::string(argument), snd::kAsync);
}

void Sound::SoundSELoop(std::string_view argument) {
    StopSound();
    e_.state.SndResult =
        e_.platform.wave_voice.PlaySound("\\" + std::string(argument), snd::kAsync | snd::kLoop);
}

std::string Sound::FullPath(std::string_view argument) const {
    return e_.folder.root().string() + "\\" + std::string(argument);
}

void Sound::Track(std::string_view command, std::uint32_t result) {
    if (command == "Close MIDI1" || command == "Close all") {
        midi1_closed_ = true;
    } else if (command.starts_with("Open ")) {
        midi1_closed_ = result != 0;
    } else {
        return;
    }
    // The watch ticks only while a piece is open under MIDI1 for it to restart: an idle
    // program wakes for nothing.
    e_.form.bgm_watch.enabled = e_.state.MidiOpen && !midi1_closed_;
}

std::string Sound::MciCommand(std::string_view command) {
    std::string reply;
    const std::uint32_t code = e_.platform.music_device.SendString(command, reply);
    Track(command, code);
    if (code != 0) {
        BoxOpen box(boxes_open_);
        e_.platform.message_box.Show(e_.platform.music_device.ErrorText(code), MessageIcon::None,
                                     kCaption);
    }
    if (StartsWithWord(command, "status")) return reply;
    return {};
}

void Sound::SendDirect(std::string command) {
    MciCmd = std::move(command);
    const std::uint32_t code = e_.platform.music_device.SendString(MciCmd, MciReturn);
    Track(MciCmd, code);
}

void Sound::CloseBeforeNewMusic() {
    if (e_.state.MidiOpen) {
        // An alias already closed is not stopped and closed again: that would only report
        // "not open" twice before the new piece.
        if (!midi1_closed_) {
            MciCommand("Stop MIDI1");
            MciCommand("Close MIDI1");
        }
        SendDirect("Close all");
    } else {
        SendDirect("Close MIDI1");
    }
}

void Sound::SoundBGM(std::string_view argument) {
    CloseBeforeNewMusic();
    SendDirect("Open \"" + FullPath(argument) + "\" alias MIDI1");
    SendDirect("Play MIDI1");
}

void Sound::SoundBGMLoop(std::string_view argument) {
    CloseBeforeNewMusic();
    e_.state.MidiOpen = true;
    MciCommand("Open \"" + FullPath(argument) + "\" alias MIDI1");
    MciCommand("set MIDI1 time format milliseconds");
    BgmLength = ToLong(MciCommand("Status MIDI1 length"));
    MciCommand("Play MIDI1 from 0 notify");
}

void Sound::BgmLoopWatch() {
    if (!e_.state.MidiOpen) {
        e_.form.bgm_watch.enabled = false;
        return;
    }
    // Ticks go on while a box is open; the watch waits for it to close rather than stack more.
    if (midi1_closed_ || boxes_open_ > 0) return;
    if (StartsWithWord(MciCommand("Status MIDI1 mode"), "stopped")) {
        MciCommand("Play MIDI1 from 0 notify");
    }
}

void Sound::StopSound() {
    e_.state.SndResult = e_.platform.wave_voice.PlaySound("", snd::kAsync);
}

void Sound::StopMusic() {
    if (!e_.state.MidiOpen || midi1_closed_) return;
    MciCommand("Stop MIDI1");
    MciCommand("Close MIDI1");
}

void Sound::StopAllSound() {
    StopSound();
    StopMusic();
}

}  // namespace tsukikage
