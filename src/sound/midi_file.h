#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tsukikage {

// True when the bytes begin like a Standard MIDI File ("MThd") or like one in a RIFF wrapper
// (an .rmi file: "RIFF" ... "RMID"). Twelve bytes tell.
bool LooksLikeMidi(std::string_view bytes);

// The Standard MIDI File itself: the bytes as they are, or the "data" chunk of a RIFF MIDI
// file. Nothing when the wrapper holds no Standard MIDI File, or the bytes are no MIDI.
std::optional<std::string_view> StandardMidiBytes(std::string_view bytes);

// The playing time of a Standard MIDI File (or a RIFF MIDI file) in milliseconds, from its own
// tempo map: the time of the last event of the longest track. Formats 0, 1 and 2, running status,
// metrical and SMPTE time division. Malformed input never reads past the bytes: a track stops at
// its first bad event or at the end of its chunk, whichever comes first, and keeps the events
// before it; a tempo of zero is ignored. Nothing when the header is unusable or no track holds an
// event. The result is capped at the largest 32-bit value.
std::optional<std::int64_t> MidiLengthMs(std::string_view bytes);

// The tick reached `ms` milliseconds into a Standard MIDI File by the same tempo map, at most
// the last event's tick: where a player seeks to start part-way. Nothing when MidiLengthMs
// has no length for the file.
std::optional<std::uint64_t> MidiTickAtMs(std::string_view bytes, std::int64_t ms);

}  // namespace tsukikage
