#pragma once

#include <string_view>

namespace tsukikage {

class Engine;

// The ending record and the scene replay's end check.
class Extras {
public:
    explicit Extras(Engine& engine) : e_(engine) {}

    // Command "f": records an ending.
    void Finish(std::string_view argument);
    // Command "h" during a scene replay.
    void Check(std::string_view argument);

private:
    [[maybe_unused]] Engine& e_;
};

}  // namespace tsukikage
