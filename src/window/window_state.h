#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tsukikage {

// Pictures are numbered 1 to kLastPicture; endings 1 to kEndingCount.
inline constexpr int kLastPicture = 250;
inline constexpr int kEndingCount = 3;
// Indexed by picture number; entry 0 is unused.
using SeenFlags = std::array<bool, kLastPicture + 1>;
// Indexed by ending number; entry 0 is unused.
using EndingFlags = std::array<std::uint8_t, kEndingCount + 1>;

// The screens the window can show. A replay is the game screen started from the scene list:
// the game and the scene list flags are both set.
enum class Mode { Title, Game, Load, Gallery, MusicRoom, SceneList, Replay };

// The shared members of the main window, under their own names. All start false or zero.
struct WindowState {
    // Screen modes; ModeSelect applies the first true one in this order.
    bool TitleMode = false;
    bool GameMode = false;
    bool LoadMode = false;
    bool CGMode = false;
    bool MusicMode = false;
    bool SceneMode = false;

    bool StartupRunning = false;
    std::int16_t StepCount = 0;  // the start-up's tick counter

    std::int16_t PartNo = 0;  // last part marker passed
    std::array<std::string, 2> ChoiceTargets;
    bool Loading = false;

    SeenFlags CGSeen{};
    std::int16_t CGCount = 0;

    std::uint8_t EffectMode = 0;
    std::uint8_t EffectStep = 0;
    std::uint8_t CGPage = 0;

    bool MidiOpen = false;

    std::uint8_t EndCount = 0;
    EndingFlags EndFlags{};
    std::uint8_t SceneMarker = 0;

    // Written and never read. The original kept the result of every wave-sound and drawing
    // call, the number of the scenario file it opened and the index of a buffer; nothing
    // decides anything by them. They are kept only so the state reads as the original's:
    // nothing may read them, and tests do not look at them.
    struct WrittenOnly {
        std::int32_t SndResult = 0;
        std::int16_t ScenarioFile = 0;
        std::uint8_t EffectBuffer = 0;
    } written_only;
};

// Sets the six mode flags for a screen: its own flag true, the others false.
void SetModeFlags(WindowState& state, Mode mode);

}  // namespace tsukikage
