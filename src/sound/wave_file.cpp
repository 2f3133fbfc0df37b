#include "sound/wave_file.h"

#include <cstdio>

#include "sound/riff.h"

namespace tsukikage {
namespace {

std::uint16_t Little16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

std::uint32_t Little32(std::string_view bytes, std::size_t at) {
    return Little16(bytes, at) | std::uint32_t{Little16(bytes, at + 2)} << 16;
}

struct Encoding {
    std::uint16_t tag;
    std::string_view name;
};

constexpr Encoding kEncodings[] = {
    {wave::kPcm, "PCM"},
    {wave::kMsAdpcm, "MS ADPCM"},
    {wave::kIeeeFloat, "IEEE float"},
    {wave::kALaw, "A-law"},
    {wave::kMuLaw, "u-law"},
    {wave::kImaAdpcm, "IMA ADPCM"},
    {0x0022, "TrueSpeech"},
    {wave::kGsm610, "GSM 6.10"},
    {0x0040, "G.721 ADPCM"},
    {wave::kMpeg, "MPEG"},
    {wave::kMpegLayer3, "MPEG layer 3"},
    {0x0092, "Dolby AC3"},
    {0x0161, "Windows Media Audio"},
    {wave::kExtensible, "extensible"},
};

}  // namespace

bool LooksLikeWave(std::string_view bytes) {
    return bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WAVE";
}

std::optional<WaveFormat> ReadWaveFormat(std::string_view bytes) {
    if (!LooksLikeWave(bytes)) return std::nullopt;
    const std::optional<RiffFile> riff = ReadRiff(bytes);
    const std::optional<std::string_view> fmt = riff->Find("fmt ");
    const std::optional<std::string_view> data = riff->Find("data");
    if (!fmt || fmt->size() < 16 || !data) return std::nullopt;
    WaveFormat format;
    format.tag = Little16(*fmt, 0);
    format.channels = Little16(*fmt, 2);
    format.sample_rate = Little32(*fmt, 4);
    format.bits_per_sample = Little16(*fmt, 14);
    // WAVEFORMATEXTENSIBLE: the sub-format GUID begins with the tag it stands for.
    if (format.tag == wave::kExtensible && fmt->size() >= 26) format.tag = Little16(*fmt, 24);
    format.data = *data;
    if (format.channels == 0 || format.sample_rate == 0) return std::nullopt;
    return format;
}

bool IsPlayableWaveEncoding(const WaveFormat& format) {
    const std::uint16_t bits = format.bits_per_sample;
    switch (format.tag) {
        case wave::kPcm:
            return bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case wave::kIeeeFloat:
            return bits == 32 || bits == 64;
        case wave::kMsAdpcm:
        case wave::kImaAdpcm:
        case wave::kALaw:
        case wave::kMuLaw:
        case wave::kGsm610:
        case wave::kMpeg:
        case wave::kMpegLayer3:
            return true;
        default:
            return false;
    }
}

std::string WaveEncodingName(std::uint16_t tag) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", tag);
    for (const Encoding& encoding : kEncodings) {
        if (encoding.tag == tag) return std::string(encoding.name) + " (" + code + ")";
    }
    return code;
}

}  // namespace tsukikage
