// decode_probe FILE...: how long the player takes to decode each wave file into the PCM it
// hands to the mixer (the fastest of five runs), and how many seconds of sound it holds.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "audio/decode/wave_decoder.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        double best_ms = 1e9;
        std::optional<std::string> pcm;
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            pcm = tsukikage::ReadAsPcmWave(argv[i]);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            best_ms = std::min(best_ms, took.count());
        }
        if (!pcm) {
            std::printf("%s: not decoded\n", argv[i]);
            continue;
        }
        // The plain wave's header says its rate and channels: 44 bytes, then the samples.
        const auto u32 = [&](std::size_t at) {
            return static_cast<unsigned char>((*pcm)[at]) |
                   static_cast<unsigned char>((*pcm)[at + 1]) << 8 |
                   static_cast<unsigned char>((*pcm)[at + 2]) << 16 |
                   static_cast<unsigned>(static_cast<unsigned char>((*pcm)[at + 3])) << 24;
        };
        const double seconds = static_cast<double>(pcm->size() - 44) / u32(28);
        std::printf("%s: %.1f ms for %.1f s of sound\n", argv[i], best_ms, seconds);
    }
}
