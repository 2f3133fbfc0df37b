#include "view/web/packed_waves.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "sound/wave_file.h"

namespace tsukikage::web {

bool UnpackWave(std::string& bytes) {
    const std::optional<WaveFormat> format = ReadWaveFormat(bytes);
    if (!format || format->tag != wave::kPcm || format->bits_per_sample != 16 ||
        format->channels == 0) {
        return false;
    }
    const std::size_t offset = static_cast<std::size_t>(format->data.data() - bytes.data());
    const std::size_t count = format->data.size() / 2;
    const std::size_t channels = format->channels;
    std::vector<std::uint16_t> samples(count);
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); };
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t one = i >= channels ? samples[i - channels] : 0;
        const std::uint16_t two = i >= 2 * channels ? samples[i - 2 * channels] : 0;
        const std::uint16_t residual =
            static_cast<std::uint16_t>(byte(offset + i) | byte(offset + count + i) << 8);
        // Wraps as the packer's subtraction did: arithmetic modulo 2^16.
        samples[i] = static_cast<std::uint16_t>(residual + 2 * one - two);
    }
    for (std::size_t i = 0; i < count; ++i) {
        bytes[offset + 2 * i] = static_cast<char>(samples[i] & 0xFF);
        bytes[offset + 2 * i + 1] = static_cast<char>(samples[i] >> 8);
    }
    return true;
}

int UnpackListedWaves(const std::filesystem::path& list, const std::filesystem::path& folder) {
    std::ifstream names(list, std::ios::binary);
    int restored = 0;
    for (std::string name; std::getline(names, name);) {
        if (!name.empty() && name.back() == '\r') name.pop_back();
        if (name.empty()) continue;
        // Whole files in one read and one write: the page waits for this before it starts.
        const std::string path = (folder / name).string();
        std::FILE* in = std::fopen(path.c_str(), "rb");
        if (!in) continue;
        std::string bytes;
        if (std::fseek(in, 0, SEEK_END) == 0)
            bytes.resize(static_cast<std::size_t>(std::ftell(in)));
        std::rewind(in);
        const bool read = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
        std::fclose(in);
        if (!read || !UnpackWave(bytes)) continue;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (!out) continue;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (std::fclose(out) == 0 && written) ++restored;
    }
    return restored;
}

}  // namespace tsukikage::web
