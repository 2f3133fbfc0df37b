#pragma once

#include <string>
#include <string_view>

#include "app/window_state.h"

namespace tsukikage {

class Engine;

// The record of the endings reached, "\endlist.dat": EndCount on the first line, then
// EndFlags(1) to EndFlags(EndCount), one plain decimal number per line, each line ending in
// CR LF. The count is written back exactly as it was read; flags only ever go from 0 to 1.
class EndingRecord {
  public:
    explicit EndingRecord(Engine& engine) : e_(engine) {}

    // Reads the record into EndCount and EndFlags. Never fails: a missing or unreadable
    // record is a record of three endings, none reached; flags the file holds beyond the
    // third are skipped; a record cut short keeps the flags read before the cut.
    void Load();
    bool loaded() const { return loaded_; }

    // Command "f": marks ending N reached (the argument rounded to the nearest integer, a
    // half to the even one) and rewrites the record. Raises 13 for an argument that is no
    // number, 9 for an ending outside 1 to 3 or a count above 3, and the file errors of
    // ReplaceFile; the record on disk then stays as it was.
    void Finish(std::string_view argument);

  private:
    Engine& e_;
    bool loaded_ = false;
};

// The record's bytes for the given state; raises 9 when EndCount is above 3.
std::string EndingRecordBytes(const WindowState& state);

}  // namespace tsukikage
