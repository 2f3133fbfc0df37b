#include "cli/command_line.h"

#include "base/game_folder.h"
#include "base/messages.h"
#include "checker/scenario_check.h"
#include "platform/application.h"

namespace tsukikage {
namespace {

// A whole number from kMinScale to kMaxScale (one digit), as it is written.
std::optional<int> ScaleFactor(std::string_view text) {
    static_assert(WindowOptions::kMaxScale <= 9);
    if (text.size() != 1 || text[0] < '0' + WindowOptions::kMinScale ||
        text[0] > '0' + WindowOptions::kMaxScale) {
        return std::nullopt;
    }
    return text[0] - '0';
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string_view>& arguments,
                                            Language language, std::string& error) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--scale" || argument.starts_with("--scale=")) {
            std::optional<std::string_view> value;
            if (argument != "--scale") {
                value = argument.substr(std::string_view("--scale=").size());
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            }
            const std::optional<int> factor = value ? ScaleFactor(*value) : std::nullopt;
            if (!factor) {
                error = value ? Text(language, Message::ScaleNotThis, {*value})
                              : Text(language, Message::ScaleNeeded);
                return std::nullopt;
            }
            line.window.scale = *factor;
        } else if (argument == "--fullscreen") {
            line.window.fullscreen = true;
        } else if (argument == "--help" || argument == "-h") {
            line.action = CommandLine::Action::Help;
        } else if (argument == "--version") {
            line.action = CommandLine::Action::Version;
        } else if (argument == "--check") {
            line.action = CommandLine::Action::Check;
        } else if (argument.starts_with("-") && argument != "-") {
            error = Text(language, Message::UnknownOption, {argument});
            return std::nullopt;
        } else if (line.game_folder) {
            error = Text(language, Message::OneFolderOnly);
            return std::nullopt;
        } else {
            line.game_folder = std::filesystem::path(argument);
        }
    }
    return line;
}

std::optional<std::filesystem::path> GameFolderToUse(const CommandLine& command_line,
                                                     const std::filesystem::path& program_folder,
                                                     Language language, std::string& error) {
    const std::filesystem::path folder = command_line.game_folder.value_or(program_folder);
    std::error_code code;
    if (!std::filesystem::is_directory(folder, code)) {
        error = Text(language, Message::NotAFolder, {folder.string()});
        return std::nullopt;
    }
    if (!GameFolder(folder).Find("datafile")) {
        error = Text(language, Message::NoGameHere, {folder.string()});
        return std::nullopt;
    }
    return folder;
}

std::string HelpText(std::string_view program, Language language) {
    return Text(language, Message::Usage, {program});
}

std::string VersionText() {
    return "tsukikage " + std::to_string(application::kMajor) + "." +
           std::to_string(application::kMinor) + "." + std::to_string(application::kPatch) + "." +
           std::to_string(application::kRevision) + "\n";
}

std::optional<int> RunWithoutWindow(const std::vector<std::string_view>& arguments,
                                    std::string_view program,
                                    const std::filesystem::path& program_folder, std::string& out,
                                    std::string& err, std::filesystem::path& game_folder,
                                    WindowOptions& window, Language language) {
    std::string error;
    const std::optional<CommandLine> line = ParseCommandLine(arguments, language, error);
    if (!line) {
        err += std::string(program) + ": " + error + "\n";
        return 2;
    }
    if (line->action == CommandLine::Action::Help) {
        out += HelpText(program, language);
        return 0;
    }
    if (line->action == CommandLine::Action::Version) {
        out += VersionText();
        return 0;
    }
    const std::optional<std::filesystem::path> folder =
        GameFolderToUse(*line, program_folder, language, error);
    if (!folder) {
        err += std::string(program) + ": " + error + "\n";
        return 2;
    }
    if (line->action == CommandLine::Action::Check) {
        const std::vector<std::string> findings = CheckGame(GameFolder(*folder), language);
        for (const std::string& finding : findings) out += finding + "\n";
        if (findings.empty()) out += Text(language, Message::CheckClean) + "\n";
        return findings.empty() ? 0 : 1;
    }
    game_folder = *folder;
    window = line->window;
    return std::nullopt;
}

}  // namespace tsukikage
