#include "view/web/kept_records.h"

#include <fstream>
#include <iterator>

#include "base/game_folder.h"
#include "base/runtime_error.h"
#include "base/text_file.h"
#include "comfort/read_pages.h"
#include "comfort/settings_text.h"
#include "saves/record_check.h"

namespace tsukikage::web {
namespace {

std::optional<std::string> ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::string> ScenarioRecordName(const std::filesystem::path& game_folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(game_folder, error)) return std::nullopt;
    const std::optional<std::filesystem::path> scenario = GameFolder(game_folder).Find("datafile");
    if (!scenario || !std::filesystem::is_regular_file(*scenario, error)) return std::nullopt;
    const std::optional<std::string> bytes = ReadWhole(*scenario);
    if (!bytes) return std::nullopt;
    return ReadPagesFileName(*bytes);
}

std::optional<std::string> KeptRecordProblem(std::string_view record,
                                             const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadWhole(file);
    if (!bytes) return std::string(record) + " を読めません。";
    return RecordProblem(record, *bytes);
}

std::optional<PlaySettings> KeptSettings::Load() {
    const std::optional<std::string> text = ReadWhole(file_);
    if (!text) return std::nullopt;
    kept_ = ParsePlaySettings(*text);
    return kept_;
}

void KeptSettings::Keep(const PlaySettings& settings) {
    if (kept_ == settings) return;
    // Before the player changed anything, nothing needs keeping.
    if (!kept_ && settings == PlaySettings{}) return;
    try {
        std::error_code ignored;
        std::filesystem::create_directories(file_.parent_path(), ignored);
        ReplaceFile(file_, PlaySettingsText(settings));
        kept_ = settings;
    } catch (const RuntimeError&) {
        // Kept in play; the next event tries again.
    }
}

}  // namespace tsukikage::web
