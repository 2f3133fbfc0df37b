#include "cli/default_game.h"

#include "base/game_folder.h"

namespace tsukikage {

namespace {

std::filesystem::path InstalledDemo(const std::filesystem::path& program_folder) {
    return (program_folder / ".." / "share" / "tsukikage" / "demo").lexically_normal();
}

}  // namespace

std::filesystem::path DefaultGameFolder(const std::filesystem::path& program_folder) {
    const std::filesystem::path installed = InstalledDemo(program_folder);
    for (const std::filesystem::path& folder : {program_folder, installed}) {
        std::error_code error;
        if (std::filesystem::is_directory(folder, error) && GameFolder(folder).Find("datafile")) {
            return folder;
        }
    }
    return program_folder;
}

bool IsInstalledDemo(const std::filesystem::path& program_folder,
                     const std::filesystem::path& game_folder) {
    std::error_code error;
    const bool same =
        std::filesystem::equivalent(InstalledDemo(program_folder), game_folder, error);
    return same && !error;
}

}  // namespace tsukikage
