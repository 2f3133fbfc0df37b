#include "audio/decode/wave_decoder.h"

#include <mpg123.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>

#include "sound/riff.h"
#include "sound/wave_file.h"

namespace tsukikage {
namespace {

constexpr std::size_t kMaxSamples = kMaxDecodedBytes / sizeof(std::int16_t);

void Put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

// libsndfile reading from memory.
struct Memory {
    std::string_view bytes;
    sf_count_t at = 0;
};

sf_count_t MemoryLength(void* user) {
    return static_cast<sf_count_t>(static_cast<Memory*>(user)->bytes.size());
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* user) {
    Memory& m = *static_cast<Memory*>(user);
    const auto size = static_cast<sf_count_t>(m.bytes.size());
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m.at : size;
    m.at = std::clamp<sf_count_t>(base + offset, 0, size);
    return m.at;
}

sf_count_t MemoryRead(void* out, sf_count_t count, void* user) {
    Memory& m = *static_cast<Memory*>(user);
    const sf_count_t n =
        std::clamp<sf_count_t>(count, 0, static_cast<sf_count_t>(m.bytes.size()) - m.at);
    std::memcpy(out, m.bytes.data() + m.at, static_cast<std::size_t>(n));
    m.at += n;
    return n;
}

sf_count_t MemoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t MemoryTell(void* user) {
    return static_cast<Memory*>(user)->at;
}

// The same wave with its chunks in the order every reader expects: "fmt ", then "fact" when
// there is one, then "data"; libsndfile wants the format before the samples.
std::string InReadingOrder(std::string_view file) {
    const std::optional<RiffFile> riff = ReadRiff(file);
    std::string body = "WAVE";
    for (std::string_view id : {"fmt ", "fact", "data"}) {
        const std::optional<std::string_view> chunk = riff->Find(id);
        if (!chunk) continue;
        body += id;
        Put32(body, static_cast<std::uint32_t>(chunk->size()));
        body += *chunk;
        if (chunk->size() % 2 != 0) body += '\0';
    }
    std::string out = "RIFF";
    Put32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

std::optional<DecodedWave> DecodeBySndfile(std::string_view original) {
    const std::string file = InReadingOrder(original);
    SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
    Memory memory{file};
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> sound(
        sf_open_virtual(&io, SFM_READ, &info, &memory), sf_close);
    if (!sound || info.channels <= 0 || info.samplerate <= 0) return std::nullopt;
    // Read as float, which every encoding gives at full scale 1 (libsndfile's float-to-short
    // reading leaves float files at their raw values), then rounded and clipped here.
    DecodedWave wave{info.samplerate, info.channels, {}};
    std::vector<float> block(4096 * static_cast<std::size_t>(info.channels));
    const sf_count_t frames = static_cast<sf_count_t>(block.size()) / info.channels;
    while (wave.samples.size() < kMaxSamples) {
        const sf_count_t read = sf_readf_float(sound.get(), block.data(), frames);
        if (read <= 0) break;
        for (sf_count_t i = 0; i < read * info.channels; ++i) {
            const float raw = block[static_cast<std::size_t>(i)];
            const float value = std::isnan(raw) ? 0.0f : std::clamp(raw, -1.0f, 1.0f);
            wave.samples.push_back(static_cast<std::int16_t>(std::lrint(value * 32767.0f)));
        }
    }
    return wave;
}

std::optional<DecodedWave> DecodeByMpg123(std::string_view data) {
    int error = MPG123_OK;
    const std::unique_ptr<mpg123_handle, void (*)(mpg123_handle*)> handle(
        mpg123_new(nullptr, &error), mpg123_delete);
    if (!handle) return std::nullopt;
    mpg123_handle* h = handle.get();
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // 16-bit samples at the stream's own rate and channels.
    mpg123_format_none(h);
    const long* rates = nullptr;
    std::size_t rate_count = 0;
    mpg123_rates(&rates, &rate_count);
    for (std::size_t i = 0; i < rate_count; ++i) {
        mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    if (mpg123_open_feed(h) != MPG123_OK) return std::nullopt;
    if (mpg123_feed(h, reinterpret_cast<const unsigned char*>(data.data()), data.size()) !=
        MPG123_OK) {
        return std::nullopt;
    }
    DecodedWave wave;
    std::vector<std::int16_t> block(8192);
    while (wave.samples.size() < kMaxSamples) {
        std::size_t done = 0;
        const int result = mpg123_read(h, block.data(), block.size() * sizeof(std::int16_t), &done);
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(h, &rate, &channels, &encoding);
            // The first format holds; a stream that changes it later ends there.
            if (wave.channels != 0 && (rate != wave.sample_rate || channels != wave.channels)) {
                break;
            }
            wave.sample_rate = static_cast<int>(rate);
            wave.channels = channels;
        }
        wave.samples.insert(
            wave.samples.end(), block.begin(),
            block.begin() + static_cast<std::ptrdiff_t>(done / sizeof(std::int16_t)));
        // All fed: needing more is the end; an error ends at the damage.
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
    }
    if (wave.channels == 0 || wave.sample_rate == 0) return std::nullopt;
    return wave;
}

}  // namespace

std::optional<DecodedWave> DecodeWave(std::string_view file) {
    const std::optional<WaveFormat> format = ReadWaveFormat(file);
    if (!format || !IsPlayableWaveEncoding(*format)) return std::nullopt;
    const bool mpeg = format->tag == wave::kMpeg || format->tag == wave::kMpegLayer3;
    std::optional<DecodedWave> wave = mpeg ? DecodeByMpg123(format->data) : DecodeBySndfile(file);
    if (!wave || wave->samples.empty()) return std::nullopt;
    wave->samples.resize(wave->samples.size() -
                         wave->samples.size() % static_cast<std::size_t>(wave->channels));
    return wave;
}

std::optional<std::string> ReadAsPcmWave(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxDecodedBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string file(static_cast<std::size_t>(size), '\0');
    if (!in.read(file.data(), static_cast<std::streamsize>(size))) return std::nullopt;
    const std::optional<DecodedWave> wave = DecodeWave(file);
    if (!wave) return std::nullopt;
    return PcmWaveFile(*wave);
}

std::string PcmWaveFile(const DecodedWave& wave) {
    const auto data_bytes = static_cast<std::uint32_t>(wave.samples.size() * 2);
    const auto channels = static_cast<std::uint16_t>(wave.channels);
    const auto rate = static_cast<std::uint32_t>(wave.sample_rate);
    std::string out = "RIFF";
    Put32(out, 36 + data_bytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, wave::kPcm);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * channels * 2);
    Put16(out, static_cast<std::uint16_t>(channels * 2));
    Put16(out, 16);
    out += "data";
    Put32(out, data_bytes);
    for (const std::int16_t sample : wave.samples) Put16(out, static_cast<std::uint16_t>(sample));
    return out;
}

}  // namespace tsukikage
