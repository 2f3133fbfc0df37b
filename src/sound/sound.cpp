#include "sound/sound.h"

#include "app/engine.h"

namespace tsukikage {

// Sound effects and music arrive with the audio back end; the commands are accepted and
// reading goes on.
void Sound::SoundSE(std::string_view) {}

void Sound::SoundSELoop(std::string_view) {}

void Sound::SoundBGM(std::string_view) {}

void Sound::SoundBGMLoop(std::string_view) {}

std::uint32_t Sound::MciCommand(std::string_view command) {
    std::string reply;
    std::uint32_t code = e_.platform.music_device.SendString(command, reply);
    if (code != 0) {
        e_.platform.message_box.Show(e_.platform.music_device.ErrorText(code), MessageIcon::None,
                                     "朧堂開発用プログラム");
    }
    return code;
}

void Sound::StopSound() { e_.state.SndResult = e_.platform.wave_voice.PlaySound("", snd::kAsync); }

void Sound::StopMusic() {
    if (!e_.state.MidiOpen) return;
    MciCommand("Stop MIDI1");
    MciCommand("Close MIDI1");
}

void Sound::StopAllSound() {
    StopSound();
    StopMusic();
}

}  // namespace tsukikage
