#pragma once

#include <cstdint>
#include <string_view>

namespace tsukikage {

class Engine;

// Sound effects on the wave voice and background music on the music device.
class Sound {
public:
    explicit Sound(Engine& engine) : e_(engine) {}

    void SoundSE(std::string_view argument);
    void SoundSELoop(std::string_view argument);
    void SoundBGM(std::string_view argument);
    void SoundBGMLoop(std::string_view argument);

    // Sends one command string to the music device; a failure shows the device's error text.
    std::uint32_t MciCommand(std::string_view command);

    // The wave voice's stop.
    void StopSound();
    // The stop of the music: "Stop MIDI1" and "Close MIDI1" while MidiOpen is set.
    void StopMusic();
    // Both, the wave voice first.
    void StopAllSound();

private:
    Engine& e_;
};

}  // namespace tsukikage
