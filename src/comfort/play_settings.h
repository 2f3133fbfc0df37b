#pragma once

#include <algorithm>
#include <cstddef>

namespace tsukikage {

// The player's own settings. None of them is the game's: the defaults leave the game exactly
// as it plays without them.
struct PlaySettings {
    int music_volume = 100;  // 0 to 100
    bool music_muted = false;
    int effects_volume = 100;  // 0 to 100
    bool effects_muted = false;
    // Skip goes through pages never shown before as well.
    bool skip_unread = false;
    // Auto mode's wait for each character of a page, on top of a fixed wait.
    int auto_ms_per_character = 60;
    // On the full screen, the picture as large as the screen allows, smoothed, rather than
    // at the largest whole factor, sharp.
    bool fit_screen = false;
    // Each new page and the choices are read aloud.
    bool self_voicing = false;

    bool operator==(const PlaySettings&) const = default;
};

inline constexpr int kMaxVolume = 100;
inline constexpr int kAutoBaseWaitMs = 1000;
inline constexpr int kMinAutoMsPerCharacter = 10;
inline constexpr int kMaxAutoMsPerCharacter = 200;

// The settings with every number brought into its range.
inline PlaySettings Clamped(PlaySettings settings) {
    settings.music_volume = std::clamp(settings.music_volume, 0, kMaxVolume);
    settings.effects_volume = std::clamp(settings.effects_volume, 0, kMaxVolume);
    settings.auto_ms_per_character =
        std::clamp(settings.auto_ms_per_character, kMinAutoMsPerCharacter, kMaxAutoMsPerCharacter);
    return settings;
}

// How long auto mode leaves a page of so many characters on screen.
inline long long AutoWaitMs(const PlaySettings& settings, std::size_t characters) {
    return kAutoBaseWaitMs +
           static_cast<long long>(characters) * Clamped(settings).auto_ms_per_character;
}

}  // namespace tsukikage
