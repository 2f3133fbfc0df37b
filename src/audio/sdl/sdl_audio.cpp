#include "audio/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace tsukikage {
namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
// Samples per buffer: large enough that the mixer wakes seldom, small enough that effects and
// a looping piece's restart come in time (23 ms).
constexpr int kBufferSamples = 1024;

}  // namespace

std::filesystem::path ChosenSoundFont() {
    const char* chosen = std::getenv(kSoundFontVariable);
    return chosen && *chosen ? std::filesystem::path(chosen) : kDefaultSoundFont;
}

int MixerVolume(double gain) {
    if (!(gain > 0)) return 0;
    return std::max(1, static_cast<int>(std::lround(std::min(gain, 1.0) * MIX_MAX_VOLUME)));
}

SdlAudio::~SdlAudio() {
    if (!opened_) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::TryOpen() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, kChannels, kBufferSamples) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

bool SdlAudio::Ready() {
    if (tried_) return opened_;
    tried_ = true;
    // Otherwise SDL takes over SIGINT and SIGTERM and they no longer end the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(0) != 0) return false;
    opened_ = TryOpen();
    if (!opened_) {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        opened_ = TryOpen();
    }
    if (!opened_) return false;
    Mix_Init(MIX_INIT_MID);
    // For MIDI through the mixer's own music stream, where FluidSynth is not linked directly.
    Mix_SetSoundFonts(ChosenSoundFont().c_str());
    Mix_AllocateChannels(1);
    Mix_Volume(kWaveChannel, MixerVolume(voice_gain_));
    return true;
}

void SdlAudio::SetVoiceGain(double gain) {
    voice_gain_ = gain;
    if (opened_) Mix_Volume(kWaveChannel, MixerVolume(gain));
}

}  // namespace tsukikage
