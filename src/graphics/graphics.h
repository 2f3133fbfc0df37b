#pragma once

#include <cstdint>
#include <string_view>

#include "base/text_file.h"
#include "window/main_window.h"

namespace tsukikage {

struct EffectFrame;

// Numbered pictures on the game screen `Picture1`, the seen-picture record and the
// transitions between two numbered pictures, drawn frame by frame under `Timer1`.
class Graphics {
  public:
    // Gives the two transition buffers `Master`(0) and `Master`(1) their design picture.
    explicit Graphics(MainWindow& window);

    // Claims Timer1.
    void ClaimEvents(EventTable& events);

    // Reads the seen-picture record, as the start-up does (see LoadSeenRecord).
    void LoadRecord();

    // Command c: records the picture as seen, saves the record, then shows the picture.
    void CGLoad(std::string_view argument);
    // The gallery's full view: hides the frame and shows the picture when it has been seen.
    // Raises the picture's load error before anything changes.
    void ShowPicture(std::uint8_t number);

    // Commands a, b and d: prepare a transition from picture N to N + 1 and return.
    void EffectA(std::string_view argument);
    void EffectB(std::string_view argument);
    void EffectC(std::string_view argument);
    // One frame of the running transition, or nothing.
    void Timer1_Timer();
    // Brings a running transition to its end at once: the screen shows the incoming picture
    // as the last frame leaves it, and the advance marker returns.
    void FinishRunningEffect();

  private:
    // The values of EffectMode: no transition, or the one running.
    enum Effect : std::uint8_t { kNoEffect = 0, kSqueeze = 1, kShrink = 2, kTurn = 3 };

    void PrepareEffect(std::string_view argument, Effect effect);
    void DrawFrame(const EffectFrame& frame);
    void FinishEffect();
    void Refresh();
    // Marks pictures seen and rewrites the record; a damaged record is kept aside first,
    // and a record never read is read before it is written over.
    void MarkSeenAndSave(long long first, long long last);

    MainWindow& w_;
    bool record_read_ = false;
    bool record_damaged_ = false;
    // The seen-picture record, written on every picture shown.
    RecordWriter record_writer_;
};

}  // namespace tsukikage
