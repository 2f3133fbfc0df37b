#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tsukikage {

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
    std::int16_t StepCount = 0;

    std::int16_t ScenarioFile = 0;  // file number of the open scenario
    std::int16_t PartNo = 0;        // last part marker passed
    std::array<std::string, 2> ChoiceTargets;
    bool Loading = false;

    std::array<bool, 251> CGSeen{};  // 1 to 250 used
    std::int16_t CGCount = 0;

    std::uint8_t EffectMode = 0;
    std::uint8_t EffectStep = 0;
    std::uint8_t EffectBuffer = 0;
    std::uint8_t CGPage = 0;

    std::int32_t SndResult = 0;
    bool MidiOpen = false;

    std::uint8_t EndCount = 0;
    std::array<std::uint8_t, 4> EndFlags{};  // 1 to 3 used
    std::uint8_t SceneMarker = 0;
};

}  // namespace tsukikage
