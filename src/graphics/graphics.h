#pragma once

#include <cstdint>
#include <string_view>

namespace tsukikage {

class Engine;
struct EffectFrame;

// Numbered pictures on the game screen `Picture1`, the seen-picture record and the
// transitions between two numbered pictures, drawn frame by frame under `Timer1`.
class Graphics {
  public:
    // Gives the two transition buffers `Master`(0) and `Master`(1) their design picture.
    explicit Graphics(Engine& engine);

    // Command c: records the picture as seen, saves the record, then shows the picture.
    void CGLoad(std::string_view argument);
    // The gallery's full view of picture `CGNumber`, when it has been seen.
    void ShowPicture();

    // Commands a, b and d: prepare a transition from picture N to N + 1 and return.
    void EffectA(std::string_view argument);
    void EffectB(std::string_view argument);
    void EffectC(std::string_view argument);
    // One frame of the running transition, or nothing.
    void Timer1_Timer();

    // Gallery state: the picture `ShowPicture` shows, and whether the full view is open.
    std::uint8_t CGNumber = 0;
    bool CGViewing = false;

  private:
    void PrepareEffect(std::string_view argument, std::uint8_t effect);
    void DrawFrame(const EffectFrame& frame);
    void FinishEffect();
    void Refresh();

    Engine& e_;
    // Stretch mode of the screen's drawing surface: the platform's default until the first
    // tick sets pixel dropping (3).
    std::int32_t stretch_mode_ = 1;
};

}  // namespace tsukikage
