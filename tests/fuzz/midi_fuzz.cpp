// The Standard MIDI File reader: any bytes give a length within 0 and the largest 32-bit
// value, or nothing, and are never read past.
#include <cstdint>
#include <limits>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "sound/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tsukikage;
    // An exact-size copy, so that a read one past the end is caught by the address checks.
    const std::unique_ptr<char[]> copy(new char[size]);
    std::copy(data, data + size, copy.get());
    const std::string_view bytes(copy.get(), size);
    const std::optional<std::int64_t> length = MidiLengthMs(bytes);
    if (length && (*length < 0 || *length > std::numeric_limits<std::int32_t>::max())) {
        fuzz::Fail("a MIDI length outside 0 and the largest 32-bit value");
    }
    if (length && !LooksLikeMidi(bytes)) fuzz::Fail("a length for bytes that are no MIDI file");
    return 0;
}
