#pragma once

#include <filesystem>

namespace tsukikage {

// The audio output shared by the wave voice and the music, opened on the first sound so that
// start-up does not wait for it. When no audio device opens, the silent dummy driver stands in
// and the game runs on without sound.
class SdlAudio {
  public:
    SdlAudio() = default;
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Opens the output if it is not open yet; false only when not even the dummy driver opens.
    bool Ready();
    bool opened() const { return opened_; }

    // The factor on the wave voice's amplitude, 0 to 1; kept until the output opens.
    void SetVoiceGain(double gain);

  private:
    bool TryOpen();

    bool tried_ = false;
    bool opened_ = false;
    double voice_gain_ = 1.0;
};

// The mixer's volume (0 to its full 128) for a factor on the amplitude from 0 to 1; a factor
// above 0 is never rounded down to silence.
int MixerVolume(double gain);

// The soundfont that MIDI music plays with: the file that the environment variable names when it
// is set and not empty, Debian's default General MIDI soundfont otherwise.
inline constexpr const char* kSoundFontVariable = "TSUKIKAGE_SOUNDFONT";
inline constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";
std::filesystem::path ChosenSoundFont();

// The wave voice's one mixer channel.
inline constexpr int kWaveChannel = 0;

}  // namespace tsukikage
