#pragma once

#include <string_view>

namespace tsukikage {

class Engine;

// Numbered pictures on the game screen and the transitions.
class Graphics {
public:
    explicit Graphics(Engine& engine) : e_(engine) {}

    void CGLoad(std::string_view argument);
    void EffectA(std::string_view argument);
    void EffectB(std::string_view argument);
    void EffectC(std::string_view argument);
    void Timer1_Timer();

private:
    [[maybe_unused]] Engine& e_;
};

}  // namespace tsukikage
