#include <algorithm>

#include "platform/interfaces.h"

namespace tsukikage {
namespace {

class UnchangingSoundLevels : public SoundLevels {
  public:
    void SetMusicLevel(int) override {}
    void SetVoiceLevel(int) override {}
};

}  // namespace

double LevelGain(int percent) {
    // Squared: the middle of the range plays 12 dB quieter, about half as loud to the ear.
    const double share = std::clamp(percent, 0, 100) / 100.0;
    return share * share;
}

SoundLevels& FixedSoundLevels() {
    static UnchangingSoundLevels levels;
    return levels;
}

}  // namespace tsukikage
