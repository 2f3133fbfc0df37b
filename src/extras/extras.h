#pragma once

#include <string_view>

#include "extras/ending_record.h"

namespace tsukikage {

class Engine;

// The ending record and the scene replay's end check.
class Extras {
  public:
    explicit Extras(Engine& engine) : ending_record(engine), e_(engine) {}

    // Command "f": records an ending.
    void Finish(std::string_view argument) { ending_record.Finish(argument); }
    // Reads "\endlist.dat" into EndCount and EndFlags, as the start-up does.
    void LoadEndingRecord() { ending_record.Load(); }
    // Command "h" during a scene replay.
    void Check(std::string_view argument);

    EndingRecord ending_record;

  private:
    [[maybe_unused]] Engine& e_;
};

}  // namespace tsukikage
