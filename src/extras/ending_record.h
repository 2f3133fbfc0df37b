#pragma once

#include <string>
#include <string_view>

#include "window/main_window.h"

namespace tsukikage {

// The record of the endings reached, "\endlist.dat": EndCount on the first line, then
// EndFlags(1) to EndFlags(EndCount), one plain decimal number per line, each line ending in
// CR LF. The count is written back exactly as it was read; flags only ever go from 0 to 1.
class EndingRecord {
  public:
    explicit EndingRecord(MainWindow& window) : w_(window) {}

    // Reads the record into EndCount and EndFlags. Never fails: a missing or unreadable
    // record is a record of three endings, none reached; flags the file holds beyond the
    // third are skipped; a record cut short keeps the flags read before the cut.
    void Load();

    // Command "f": marks ending N reached (the argument rounded to the nearest integer, a
    // half to the even one) and rewrites the record. Raises 13 for an argument that is no
    // number, 9 for an ending outside 1 to 3, and the file errors of ReplaceFile; the record
    // on disk then stays as it was. A count above 3 keeps its number and writes three marks.
    void Finish(std::string_view argument);

  private:
    MainWindow& w_;
    bool loaded_ = false;
};

// The record's bytes for the given state.
std::string EndingRecordBytes(const WindowState& state);

}  // namespace tsukikage
