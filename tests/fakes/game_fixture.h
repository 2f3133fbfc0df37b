#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "fakes/test_support.h"

namespace tsukikage::fakes {

using test_support::TempFolder;

// Scenario text from lines written in UTF-8: each line ends in CR LF, stored as CP932.
std::string Scenario(std::initializer_list<std::string_view> lines);

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);

// An engine on recording fakes and a temporary game folder.
class GameTest : public ::testing::Test {
  protected:
    GameTest();

    void WriteGameFile(std::string_view relative, std::string_view bytes);
    void WriteScenario(std::initializer_list<std::string_view> lines);

    // Starts a new game the way a player would on the screen shown.
    void NewGame();
    void Advance() { engine->Click(ControlId::imgAhead); }
    const std::string& Label() const { return engine->form[ControlId::Label1].caption; }
    Control& control(ControlId id) { return engine->form[id]; }

    TempFolder folder;
    RecordingPlatform fakes;
    std::unique_ptr<Engine> engine;
};

}  // namespace tsukikage::fakes
