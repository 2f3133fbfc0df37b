#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "comfort/play_settings.h"

namespace tsukikage::web {

// The name of the record of read pages of a folder's scenario (ReadPagesFileName); it also
// tells one game's records from another's. Nothing when the folder holds no scenario.
std::optional<std::string> ScenarioRecordName(const std::filesystem::path& game_folder);

// What is wrong with a file as the kept record (RecordProblem); a file that cannot be read is
// wrong too.
std::optional<std::string> KeptRecordProblem(std::string_view record,
                                             const std::filesystem::path& file);

// The player's settings kept in a file in the desktop's words (PlaySettingsText), so the
// page can store them with the other records.
class KeptSettings {
  public:
    explicit KeptSettings(std::filesystem::path file) : file_(std::move(file)) {}

    // The settings the file holds, when there is one.
    std::optional<PlaySettings> Load();
    // Writes the settings when they differ from what the file holds.
    void Keep(const PlaySettings& settings);

  private:
    std::filesystem::path file_;
    std::optional<PlaySettings> kept_;
};

}  // namespace tsukikage::web
