#include "cli/default_game.h"

#include "base/game_folder.h"

namespace tsukikage {

std::filesystem::path DefaultGameFolder(const std::filesystem::path& program_folder) {
    const std::filesystem::path installed =
        (program_folder / ".." / "share" / "tsukikage" / "demo").lexically_normal();
    for (const std::filesystem::path& folder : {program_folder, installed}) {
        std::error_code error;
        if (std::filesystem::is_directory(folder, error) && GameFolder(folder).Find("datafile")) {
            return folder;
        }
    }
    return program_folder;
}

}  // namespace tsukikage
