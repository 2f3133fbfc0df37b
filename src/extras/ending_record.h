#pragma once

#include <string>
#include <string_view>

#include "base/text_file.h"
#include "window/main_window.h"

namespace tsukikage {

// The record of the endings reached, "\endlist.dat": EndCount on the first line, then
// EndFlags(1) to EndFlags(EndCount), one plain decimal number per line, each line ending in
// CR LF. Flags only ever go from 0 to 1.
class EndingRecord {
  public:
    explicit EndingRecord(MainWindow& window) : w_(window) {}

    // Reads the record into EndCount and EndFlags, and never fails. A missing or unreadable
    // file, or a count that is no number, is a record of three endings, none reached; a count
    // above 3 is taken as 3. Every flag that reads as a byte is kept; one that does not, or
    // that is missing because the file ends early, counts as not reached. A damaged record is
    // kept aside before its first rewrite.
    void Load();

    // Command "f": marks ending N reached (the argument rounded to the nearest integer, a
    // half to the even one) and rewrites the record. Raises 13 for an argument that is no
    // number, 9 for an ending outside 1 to 3, and the file errors of ReplaceFile; the record
    // on disk then stays as it was.
    void Finish(std::string_view argument);

  private:
    MainWindow& w_;
    bool loaded_ = false;
    bool damaged_ = false;
    RecordWriter writer_;
};

// The record's bytes for the given state: the count, then as many marks as it says (three
// at the most).
std::string EndingRecordBytes(const WindowState& state);

}  // namespace tsukikage
