#include "view/web/web_sound.h"

#include <emscripten.h>

#include <fstream>
#include <iterator>

#include "sound/midi_file.h"
#include "sound/wave_decode.h"
#include "sound/wave_file.h"

namespace tsukikage::web {
namespace {

// The page's sound (web/sound.js); a page without it stays silent.
// clang-format off
EM_JS(int, VoicePlay, (const float* samples, int frames, int channels, int rate, int loop), {
    if (typeof TsukikageSound === 'undefined') return 1;
    const start = samples >> 2;
    return TsukikageSound.playVoice(HEAPF32.subarray(start, start + frames * channels), channels,
                                    rate, loop !== 0) ? 1 : 0;
});
EM_JS(void, VoiceStop, (), {
    if (typeof TsukikageSound !== 'undefined') TsukikageSound.stopVoice();
});
EM_JS(void, MusicLoadMidi, (const char* bytes, int size), {
    if (typeof TsukikageSound !== 'undefined') {
        TsukikageSound.loadMidi(HEAPU8.slice(bytes, bytes + size));
    }
});
EM_JS(void, MusicLoadWave, (const float* samples, int frames, int channels, int rate), {
    if (typeof TsukikageSound === 'undefined') return;
    const start = samples >> 2;
    TsukikageSound.loadMusicWave(HEAPF32.subarray(start, start + frames * channels), channels,
                                 rate);
});
EM_JS(void, MusicPlay, (double from_ms, double from_tick), {
    if (typeof TsukikageSound !== 'undefined') TsukikageSound.playMusic(from_ms, from_tick);
});
EM_JS(void, MusicStop, (), {
    if (typeof TsukikageSound !== 'undefined') TsukikageSound.stopMusic();
});
EM_JS(void, MusicUnload, (), {
    if (typeof TsukikageSound !== 'undefined') TsukikageSound.unloadMusic();
});
EM_JS(void, SetGain, (int music, double gain), {
    if (typeof TsukikageSound !== 'undefined') TsukikageSound.setGain(music !== 0, gain);
});
// clang-format on

// A sound file's bytes; nothing when it cannot be read or is larger than any wave decodes to.
std::optional<std::string> ReadSoundFile(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxWaveSamples * sizeof(float)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size))) return std::nullopt;
    return bytes;
}

}  // namespace

WebWaveVoice::~WebWaveVoice() {
    VoiceStop();
}

std::int32_t WebWaveVoice::PlaySound(std::string_view name, unsigned flags) {
    VoiceStop();
    if (name.empty()) return 1;  // the stop
    const std::optional<std::filesystem::path> path = find_sound_(name);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error)) return 0;
    const std::optional<std::string> file = ReadSoundFile(*path);
    const std::optional<WaveSamples> wave = file ? DecodeWaveSamples(*file) : std::nullopt;
    if (!wave) return 0;
    return VoicePlay(wave->samples.data(), static_cast<int>(wave->Frames()), wave->channels,
                     wave->sample_rate, (flags & snd::kLoop) ? 1 : 0);
}

bool WebMusicPlayer::Load(const std::filesystem::path& path) {
    Unload();
    const std::optional<std::string> file = ReadSoundFile(path);
    if (!file) return false;
    if (LooksLikeMidi(*file)) {
        const std::optional<std::string_view> midi = StandardMidiBytes(*file);
        if (!midi) return false;
        midi_ = *midi;
        MusicLoadMidi(midi_.data(), static_cast<int>(midi_.size()));
    } else {
        const std::optional<WaveSamples> wave = DecodeWaveSamples(*file);
        if (!wave) return false;
        length_ms_ = static_cast<std::int64_t>(wave->Frames()) * 1000 / wave->sample_rate;
        MusicLoadWave(wave->samples.data(), static_cast<int>(wave->Frames()), wave->channels,
                      wave->sample_rate);
    }
    loaded_ = true;
    return true;
}

void WebMusicPlayer::Play(std::int64_t from_ms) {
    if (!loaded_) return;
    const std::uint64_t tick = midi_.empty() ? 0 : MidiTickAtMs(midi_, from_ms).value_or(0);
    MusicPlay(static_cast<double>(from_ms), static_cast<double>(tick));
}

void WebMusicPlayer::Stop() {
    if (loaded_) MusicStop();
}

void WebMusicPlayer::Unload() {
    if (loaded_) MusicUnload();
    midi_.clear();
    length_ms_.reset();
    loaded_ = false;
}

void WebSoundLevels::SetMusicLevel(int percent) {
    SetGain(1, LevelGain(percent));
}

void WebSoundLevels::SetVoiceLevel(int percent) {
    SetGain(0, LevelGain(percent));
}

}  // namespace tsukikage::web
