// Wave and RIFF files as the player reads them: the RIFF chunks, a WAVE file's format, the
// MIDI file inside a RIFF wrapper, and both wave decoders that turn every encoding into PCM
// (the desktop's libraries and the engine's own, which the browser uses).
// Any bytes give a format whose data lies inside them, or none, and decode to whole frames
// within the decoder's bound, or to nothing.
#include <cstdint>
#include <memory>

#include "audio/decode/wave_decoder.h"
#include "fuzz/fuzz_support.h"
#include "sound/midi_file.h"
#include "sound/wave_decode.h"
#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tsukikage;
    if (size > 1 << 20) return 0;
    // An exact-size copy, so that a read one past the end is caught by the address checks.
    const std::unique_ptr<char[]> copy(new char[size]);
    std::copy(data, data + size, copy.get());
    const std::string_view bytes(copy.get(), size);
    if (const std::optional<WaveFormat> format = ReadWaveFormat(bytes)) {
        if (format->data.data() < bytes.data() ||
            format->data.data() + format->data.size() > bytes.data() + bytes.size()) {
            fuzz::Fail("a wave's data outside its file");
        }
        WaveEncodingName(format->tag);
    }
    if (const std::optional<std::string_view> midi = StandardMidiBytes(bytes)) {
        if (midi->substr(0, 4) != "MThd") fuzz::Fail("a wrapped MIDI file that is none");
    }
    if (const std::optional<DecodedWave> wave = DecodeWave(bytes)) {
        if (wave->channels <= 0 || wave->sample_rate <= 0 ||
            wave->samples.size() % static_cast<std::size_t>(wave->channels) != 0 ||
            wave->samples.size() * 2 > kMaxDecodedBytes) {
            fuzz::Fail("a decoded wave of broken frames");
        }
    }
    if (const std::optional<WaveSamples> wave = DecodeWaveSamples(bytes)) {
        if (wave->channels <= 0 || wave->sample_rate <= 0 || wave->Frames() == 0 ||
            wave->samples.size() % static_cast<std::size_t>(wave->channels) != 0 ||
            wave->samples.size() > kMaxWaveSamples) {
            fuzz::Fail("a wave decoded by the engine of broken frames");
        }
    }
    return 0;
}
