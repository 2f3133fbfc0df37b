#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/messages.h"

namespace tsukikage {

// How the window shows: `--scale N` and `--fullscreen`.
struct WindowOptions {
    static constexpr int kMinScale = 1;
    static constexpr int kMaxScale = 8;
    int scale = 0;  // screen pixels per game pixel, 1 to 8; 0: the display's own choice
    bool fullscreen = false;
};

// What the program was asked to do: `tsukikage [options] [game folder]`.
struct CommandLine {
    enum class Action { Play, Help, Version, Check };
    Action action = Action::Play;
    std::optional<std::filesystem::path> game_folder;  // nothing: the program's own folder
    WindowOptions window;
};

// Parses the arguments after the program name. Nothing, with `error` set to a one-line
// message in `language`, for an unknown option, a scale that is no whole number from 1 to 8,
// or more than one folder.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string_view>& arguments,
                                            Language language, std::string& error);

// The game folder to play or check; nothing, with `error` set, when it is no folder or holds
// no scenario.
std::optional<std::filesystem::path> GameFolderToUse(const CommandLine& command_line,
                                                     const std::filesystem::path& program_folder,
                                                     Language language, std::string& error);

std::string HelpText(std::string_view program, Language language);
std::string VersionText();

// Runs everything that needs no window: help, version, the scenario check, and the errors of
// the command line. Returns the exit status, or nothing when the game is to be played in
// `game_folder` with the `window` options. Messages go to `out` and `err`, in `language`; a
// clean check says so in one line.
std::optional<int> RunWithoutWindow(const std::vector<std::string_view>& arguments,
                                    std::string_view program,
                                    const std::filesystem::path& program_folder, std::string& out,
                                    std::string& err, std::filesystem::path& game_folder,
                                    WindowOptions& window, Language language);

}  // namespace tsukikage
