#include "platform/interfaces.h"

namespace tsukikage {
namespace {

class UnchangingSoundLevels : public SoundLevels {
  public:
    void SetMusicLevel(int) override {}
    void SetVoiceLevel(int) override {}
};

}  // namespace

SoundLevels& FixedSoundLevels() {
    static UnchangingSoundLevels levels;
    return levels;
}

}  // namespace tsukikage
