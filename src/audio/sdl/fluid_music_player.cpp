#include "audio/sdl/fluid_music_player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <sstream>

#include <malloc.h>

#include "sound/midi_file.h"

namespace tsukikage {
namespace {

constexpr int kRate = 44100;
// Voices sounding at once: far more than the pieces of the game's time ever ask for, a third
// of the synthesizer's memory of its default 256.
constexpr int kPolyphony = 64;

// The one message of a silent music: what is wrong and how to choose another soundfont.
void ReportSilentMusic(Language language, Message problem, const std::filesystem::path& soundfont) {
    std::ostringstream quoted;
    quoted << soundfont;
    std::cerr << "tsukikage: " << Text(language, problem, {quoted.str(), kSoundFontVariable})
              << '\n';
}

}  // namespace

FluidMusicPlayer::FluidMusicPlayer(SdlAudio& audio, std::filesystem::path soundfont,
                                   Language language)
    : audio_(audio), language_(language) {
    // FluidSynth's own complaints would repeat what the one message says.
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
    std::packaged_task<bool()> task(
        [this, soundfont = std::move(soundfont)] { return LoadSynthesizer(soundfont); });
    loading_ = task.get_future();
    loader_ = std::thread(std::move(task));
}

FluidMusicPlayer::~FluidMusicPlayer() {
    loader_.join();
    if (hooked_) {
        std::unique_lock lock(mutex_);
        if (sounding_) {
            fading_ = true;
            // A stalled audio thread must not keep the program from ending.
            faded_.wait_for(lock, std::chrono::milliseconds(250), [this] { return !sounding_; });
        }
    }
    Unhook();
    {
        const std::lock_guard lock(mutex_);
        DeletePlayer();
    }
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

bool FluidMusicPlayer::LoadSynthesizer(const std::filesystem::path& soundfont) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(soundfont, error)) {
        ReportSilentMusic(language_, Message::SoundFontMissing, soundfont);
        return false;
    }
    if (!fluid_is_soundfont(soundfont.c_str())) {
        ReportSilentMusic(language_, Message::NotASoundFont, soundfont);
        return false;
    }
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
    // Only the samples that pieces use are read into memory.
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings_, "synth.polyphony", kPolyphony);
    // Full gain, as the mixer's own MIDI player sets it at full music volume: FluidSynth's
    // default of 0.2 plays the pieces some 14 dB quieter than the game's wave sounds expect.
    fluid_settings_setnum(settings_, "synth.gain", 1.0);
    synth_ = new_fluid_synth(settings_);
    const bool loaded = synth_ && fluid_synth_sfload(synth_, soundfont.c_str(), 1) != FLUID_FAILED;
    if (!loaded) {
        ReportSilentMusic(language_, Message::SoundFontUnreadable, soundfont);
        if (synth_) delete_fluid_synth(synth_);
        synth_ = nullptr;
    }
    // What the loading needed only for a while goes back to the system, not to this thread's
    // own heap, where it would stay resident for the rest of the run.
    malloc_trim(0);
    return loaded;
}

bool FluidMusicPlayer::SoundFontLoaded() {
    if (!load_known_) {
        loaded_ = loading_.get();
        load_known_ = true;
    }
    return loaded_;
}

bool FluidMusicPlayer::Load(const std::filesystem::path& path) {
    Unload();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string file(std::istreambuf_iterator<char>(in), {});
    // A RIFF MIDI file plays as the Standard MIDI File it wraps.
    const std::optional<std::string_view> midi = StandardMidiBytes(file);
    if (!midi) return false;
    piece_ = *midi;
    return true;
}

void FluidMusicPlayer::Play(std::int64_t from_ms) {
    if (piece_.empty() || !audio_.Ready() || !SoundFontLoaded()) return;
    const std::uint64_t tick = MidiTickAtMs(piece_, from_ms).value_or(0);
    int frequency = kRate;
    Uint16 format = 0;
    int channels = 2;
    Mix_QuerySpec(&frequency, &format, &channels);
    {
        const std::lock_guard lock(mutex_);
        DeletePlayer();
        // Starting again cuts the tail of the previous pass at once.
        fluid_synth_all_sounds_off(synth_, -1);
        channels_ = channels;
        player_ = new_fluid_player(synth_);
        if (!player_ || fluid_player_add_mem(player_, piece_.data(), piece_.size()) != FLUID_OK) {
            DeletePlayer();
            return;
        }
        if (tick > 0)
            fluid_player_seek(player_, static_cast<int>(std::min<std::uint64_t>(
                                           tick, std::numeric_limits<int>::max())));
        fluid_player_play(player_);
        sounding_ = true;
        fading_ = false;
    }
    Hook();
}

void FluidMusicPlayer::Stop() {
    const std::lock_guard lock(mutex_);
    if (player_) fluid_player_stop(player_);
    if (synth_) fluid_synth_all_sounds_off(synth_, -1);
    sounding_ = false;
}

void FluidMusicPlayer::Unload() {
    {
        const std::lock_guard lock(mutex_);
        DeletePlayer();
        if (synth_) fluid_synth_all_sounds_off(synth_, -1);
        sounding_ = false;
    }
    piece_.clear();
    // The mixer's own music stream plays again, for pieces of other kinds.
    Unhook();
}

void FluidMusicPlayer::SetGain(double gain) {
    const double share = gain > 0 ? std::min(gain, 1.0) : 0.0;
    scale_.store(static_cast<int>(std::lround(share * kFullScale)), std::memory_order_relaxed);
}

void FluidMusicPlayer::DeletePlayer() {
    if (!player_) return;
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
}

void FluidMusicPlayer::Hook() {
    if (hooked_) return;
    Mix_HookMusic(&FluidMusicPlayer::MixMusic, this);
    hooked_ = true;
}

void FluidMusicPlayer::Unhook() {
    if (!hooked_) return;
    Mix_HookMusic(nullptr, nullptr);
    hooked_ = false;
}

void FluidMusicPlayer::MixMusic(void* self, Uint8* stream, int length) {
    static_cast<FluidMusicPlayer*>(self)->Render(stream, length);
}

// On the mixer's audio thread: the music comes first into the buffer, the wave voice is mixed
// onto it afterwards. A stopped piece costs nothing.
void FluidMusicPlayer::Render(Uint8* stream, int length) {
    const std::lock_guard lock(mutex_);
    const int channels = std::max(channels_, 1);
    const int frames = length / (2 * channels);
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    if (!sounding_ || !synth_) {
        std::memset(stream, 0, static_cast<std::size_t>(length));
        return;
    }
    if (channels == 2) {
        fluid_synth_write_s16(synth_, frames, out, 0, 2, out, 1, 2);
    } else {
        stereo_.resize(static_cast<std::size_t>(frames) * 2);
        fluid_synth_write_s16(synth_, frames, stereo_.data(), 0, 2, stereo_.data(), 1, 2);
        std::memset(stream, 0, static_cast<std::size_t>(length));
        for (int i = 0; i < frames; ++i) {
            const int left = stereo_[2 * i];
            const int right = stereo_[2 * i + 1];
            if (channels == 1) {
                out[i] = static_cast<std::int16_t>((left + right) / 2);
            } else {
                out[i * channels] = static_cast<std::int16_t>(left);
                out[i * channels + 1] = static_cast<std::int16_t>(right);
            }
        }
    }
    // At full scale the synthesizer's samples pass untouched.
    if (const int scale = scale_.load(std::memory_order_relaxed); scale < kFullScale) {
        for (int i = 0; i < frames * channels; ++i) {
            out[i] = static_cast<std::int16_t>(out[i] * scale / kFullScale);
        }
    }
    if (fading_) {
        // The last buffer before the end falls to silence instead of breaking off.
        for (int i = 0; i < frames; ++i) {
            const int gain = frames - 1 - i;
            for (int c = 0; c < channels; ++c) {
                std::int16_t& sample = out[i * channels + c];
                sample = static_cast<std::int16_t>(sample * gain / frames);
            }
        }
        sounding_ = false;
        faded_.notify_all();
    }
}

}  // namespace tsukikage
