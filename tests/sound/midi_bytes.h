#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace tsukikage::testing_midi {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes += static_cast<char>(v);
    return bytes;
}

inline std::string Big(std::uint32_t value, int size) {
    std::string bytes;
    for (int i = size - 1; i >= 0; --i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

inline std::string Header(int format, int tracks, int division) {
    return "MThd" + Big(6, 4) + Big(format, 2) + Big(tracks, 2) + Big(division, 2);
}

// A track chunk whose length field tells the truth.
inline std::string Track(const std::string& events) {
    return "MTrk" + Big(events.size(), 4) + events;
}

inline std::string TempoEvent(int delta, std::uint32_t tempo) {
    return Bytes({delta, 0xFF, 0x51, 0x03}) + Big(tempo, 3);
}

inline std::string EndOfTrack(int delta) {
    return Bytes({delta, 0xFF, 0x2F, 0x00});
}

// One note held for `ticks` (below 128) with running status for the release.
inline std::string HeldNote(int ticks) {
    return Bytes({0x00, 0x90, 60, 100, ticks, 60, 0});
}

}  // namespace tsukikage::testing_midi
