#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace tsukikage::demo {

// Game-folder names of the files the scenario refers to, written the way the scenario
// writes them (backslash separated).
inline constexpr std::string_view kWindowPicture = "Data\\window.bmp";

// The demo game's scenario, one UTF-8 string per line, without line ends.
std::span<const std::string_view> ScenarioLines();

// The scenario as the game stores it: CP932, every line ending in CR LF.
std::string ScenarioFile();

// Lines written in UTF-8 as a text file of the game: CP932, every line ending in CR LF.
std::string GameText(std::span<const std::string_view> lines);
std::string GameText(std::span<const std::string> lines);

// A backslash-separated game-folder name as a relative path.
std::filesystem::path GamePath(std::string_view name);

}  // namespace tsukikage::demo
