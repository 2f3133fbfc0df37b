#pragma once

#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/sdl/sdl_audio.h"
#include "audio/sdl/sdl_sound_levels.h"
#include "base/messages.h"

namespace tsukikage {

// Plays MIDI pieces on one FluidSynth synthesizer kept for the program's life. The soundfont is
// loaded once, on a thread of its own that starts with the player, so that neither the window
// nor a page waits for it; only a piece played before it is ready waits for the rest of the
// loading. Each piece runs through a FluidSynth player of its own; the synthesizer's output is
// the mixer's music stream (its music hook), so the wave voice's channel mixes on top of it.
// Without a usable soundfont the music is silent, with one message on stderr (in `language`),
// and every call
// still succeeds: the music device answers as it always does.
class FluidMusicPlayer : public LeveledMusicPlayer {
  public:
    FluidMusicPlayer(SdlAudio& audio, std::filesystem::path soundfont,
                     Language language = Language::English);
    // Fades a sounding piece out over one buffer before the hook is let go.
    ~FluidMusicPlayer() override;
    FluidMusicPlayer(const FluidMusicPlayer&) = delete;
    FluidMusicPlayer& operator=(const FluidMusicPlayer&) = delete;

    bool Load(const std::filesystem::path& path) override;
    // The music device reads a MIDI piece's length itself.
    std::optional<std::int64_t> LengthMs() override { return std::nullopt; }
    void Play(std::int64_t from_ms) override;
    void Stop() override;
    void Unload() override;
    // Scales the samples the synthesizer renders; takes effect with the next buffer.
    void SetGain(double gain) override;

    // Waits for the loading thread; whether the soundfont loaded.
    bool SoundFontLoaded();

  private:
    static void MixMusic(void* self, Uint8* stream, int length);
    void Render(Uint8* stream, int length);
    bool LoadSynthesizer(const std::filesystem::path& soundfont);
    void Hook();
    void Unhook();
    void DeletePlayer();  // with mutex_ held

    SdlAudio& audio_;
    Language language_;
    std::future<bool> loading_;
    std::thread loader_;
    bool loaded_ = false;
    bool load_known_ = false;

    // Set by the loading thread before loading_ is ready; fixed afterwards.
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;

    // Between the calls and the mixer's audio thread, which renders in MixMusic. Never held
    // while calling into the mixer, which takes its own audio lock around MixMusic.
    std::mutex mutex_;
    std::condition_variable faded_;
    fluid_player_t* player_ = nullptr;
    bool sounding_ = false;
    bool fading_ = false;
    int channels_ = 2;
    std::vector<std::int16_t> stereo_;  // for outputs that are not stereo

    // The gain in 1/65536ths, read by the audio thread without the lock.
    static constexpr int kFullScale = 1 << 16;
    std::atomic<int> scale_{kFullScale};

    std::string piece_;  // the loaded file's bytes
    bool hooked_ = false;
};

}  // namespace tsukikage
