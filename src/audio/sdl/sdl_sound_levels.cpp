#include "audio/sdl/sdl_sound_levels.h"

#include <algorithm>

namespace tsukikage {

double LevelGain(int percent) {
    // Squared: the middle of the range plays 12 dB quieter, about half as loud to the ear.
    const double share = std::clamp(percent, 0, 100) / 100.0;
    return share * share;
}

}  // namespace tsukikage
