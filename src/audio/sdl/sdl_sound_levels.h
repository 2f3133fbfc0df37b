#pragma once

#include "audio/sdl/sdl_audio.h"
#include "platform/interfaces.h"
#include "sound/music_command.h"

namespace tsukikage {

// A music player whose output the player's music level turns down.
class LeveledMusicPlayer : public MusicPlayer {
  public:
    // The factor on the output's amplitude, from 0 (silent) to 1 (as the piece renders).
    virtual void SetGain(double gain) = 0;
};

// The player's sound levels applied to the mixer: the wave voice's channel and the music.
class SdlSoundLevels : public SoundLevels {
  public:
    SdlSoundLevels(SdlAudio& audio, LeveledMusicPlayer& music) : audio_(audio), music_(music) {}

    void SetMusicLevel(int percent) override { music_.SetGain(LevelGain(percent)); }
    void SetVoiceLevel(int percent) override { audio_.SetVoiceGain(LevelGain(percent)); }

  private:
    SdlAudio& audio_;
    LeveledMusicPlayer& music_;
};

}  // namespace tsukikage
