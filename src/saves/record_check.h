#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tsukikage {

// The records a game keeps, each under one name that does not depend on where it lives: the
// game's own files, the player's read pages of its scenario and the player's settings. A copy
// of them (an export, or the files of a desktop game folder) is checked against their formats
// before it may replace what the player has.
inline constexpr std::string_view kKeptRecords[] = {"cgmode.dat", "endlist.dat",    "save1.dat",
                                                    "save2.dat",  "save3.dat",      "save4.dat",
                                                    "save5.dat",  "read-pages.txt", "settings.ini"};

// The kept record a file of a desktop game folder or data folder stands for, by its name in
// any letter case: the game's record files as they are, the read pages of this scenario by
// `read_pages_name` (ReadPagesFileName) and the desktop's settings file. Nothing for any
// other file.
std::optional<std::string> KeptRecordName(std::string_view file_name,
                                          std::string_view read_pages_name);

// What is wrong with the bytes of a kept record, as a sentence for the player; nothing when
// they read as the game reads them, whole.
std::optional<std::string> RecordProblem(std::string_view record, std::string_view bytes);

}  // namespace tsukikage
