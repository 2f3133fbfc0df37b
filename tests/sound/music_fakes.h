#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sound/music_command.h"

namespace tsukikage::fakes {

class FakeMusicClock : public MusicClock {
  public:
    std::int64_t NowMs() override { return now; }
    std::int64_t now = 100000;
};

// Records what the device asks of the mixer, as text: "load <file name>", "play 0", "stop".
class FakeMusicPlayer : public MusicPlayer {
  public:
    bool Load(const std::filesystem::path& path) override {
        calls.push_back("load " + path.filename().string());
        loaded = accepts;
        return accepts;
    }
    std::optional<std::int64_t> LengthMs() override { return length; }
    void Play(std::int64_t from_ms) override { calls.push_back("play " + std::to_string(from_ms)); }
    void Stop() override { calls.push_back("stop"); }
    void Unload() override {
        calls.push_back("unload");
        loaded = false;
    }

    std::vector<std::string> calls;
    bool accepts = true;
    bool loaded = false;
    std::optional<std::int64_t> length;  // what the mixer knows of a file that is not MIDI
};

}  // namespace tsukikage::fakes
