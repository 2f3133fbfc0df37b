#pragma once

#include <string>
#include <string_view>

namespace tsukikage::demo {

// Game-folder names of the demo's sounds, as the scenario writes them.
inline constexpr std::string_view kChimeSound = "se\\chime.wav";
inline constexpr std::string_view kWindSound = "se\\wind.wav";
inline constexpr std::string_view kDawnMusic = "midi\\dawn.mid";
inline constexpr std::string_view kThemeMusic = "midi\\theme.mid";

// A wind-bell chime of about a second and a half (mono 16-bit wave).
std::string ChimeWave();
// Soft night wind that loops without a seam (mono 16-bit wave, a few seconds).
std::string WindWave();
// The looping pieces on the wave voice: each ends where it begins, so a loop has no seam
// (mono 16-bit waves, 22050 Hz, 9 to 16 seconds).
// The title theme: an evening temple bell under a chime melody and a soft pad.
std::string ThemeWave();
// The music room's other tracks: a slow flute over a drone, koto arpeggios, and warm chords
// with a rising chime at daybreak.
std::string CorridorWave();
std::string GardenWave();
std::string DawnWave();

// A short koto phrase of about five seconds, played once (Standard MIDI File, format 0).
std::string DawnMidi();
// The corridor theme, about fifteen seconds, for looping: a tempo track with a tempo change,
// a flute melody and a pad (Standard MIDI File, format 1, running status).
std::string ThemeMidi();

}  // namespace tsukikage::demo
