// Two measuring aids for the music:
//   sound_probe play <midi file> <seconds>   plays the piece in a loop with SDL2_mixer alone, set
//                                            up as the player sets it up: the CPU reference
//   sound_probe gap <raw recording> <length ms>  finds where the second pass of a looping piece
//                                            starts in a disk-driver recording (s16le, stereo,
//                                            44100 Hz) and prints the silence added between passes
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

int Play(const char* file, int seconds) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
        std::fprintf(stderr, "sound_probe: no audio: %s\n", SDL_GetError());
        return 1;
    }
    Mix_Init(MIX_INIT_MID);
    Mix_SetSoundFonts("/usr/share/sounds/sf3/default-GM.sf3");
    Mix_Music* music = Mix_LoadMUS(file);
    if (!music) {
        std::fprintf(stderr, "sound_probe: %s: %s\n", file, Mix_GetError());
        return 1;
    }
    Mix_PlayMusic(music, -1);
    SDL_Delay(static_cast<Uint32>(seconds) * 1000);
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}

// Loudness per 5 ms frame.
std::vector<double> Envelope(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<double> frames;
    constexpr int kFrame = 44100 / 200;
    std::vector<char> buffer(kFrame * 4);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
        double sum = 0;
        for (int i = 0; i < kFrame * 2; ++i) {
            const auto sample =
                static_cast<std::int16_t>(static_cast<std::uint8_t>(buffer[2 * i]) |
                                          static_cast<std::uint8_t>(buffer[2 * i + 1]) << 8);
            sum += static_cast<double>(sample) * sample;
        }
        frames.push_back(std::sqrt(sum / (kFrame * 2)));
    }
    return frames;
}

int Gap(const char* path, int length_ms) {
    const std::vector<double> env = Envelope(path);
    const auto onset = std::find_if(env.begin(), env.end(), [](double v) { return v > 100; });
    if (onset == env.end()) {
        std::fprintf(stderr, "sound_probe: the recording is silent\n");
        return 1;
    }
    const std::size_t start = static_cast<std::size_t>(onset - env.begin());
    const std::size_t window = 600;  // 3 s of the opening
    const std::size_t expected = static_cast<std::size_t>(length_ms / 5);
    double best = -1;
    std::size_t best_offset = 0;
    for (std::size_t offset = expected - 100; offset < expected + 800; ++offset) {
        if (start + offset + window > env.size()) break;
        double dot = 0, a = 0, b = 0;
        for (std::size_t i = 0; i < window; ++i) {
            dot += env[start + i] * env[start + offset + i];
            a += env[start + i] * env[start + i];
            b += env[start + offset + i] * env[start + offset + i];
        }
        const double score = dot / std::sqrt(a * b + 1e-9);
        if (score > best) {
            best = score;
            best_offset = offset;
        }
    }
    if (best < 0) {
        std::fprintf(stderr, "sound_probe: the recording ends before the second pass\n");
        return 1;
    }
    std::printf("second pass %zu ms after the first (match %.3f); added between passes: %ld ms\n",
                best_offset * 5, best, static_cast<long>(best_offset * 5) - length_ms);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "play") return Play(argv[2], std::atoi(argv[3]));
    if (argc == 4 && std::string(argv[1]) == "gap") return Gap(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: sound_probe play <midi> <seconds> | gap <raw> <length ms>\n");
    return 2;
}
