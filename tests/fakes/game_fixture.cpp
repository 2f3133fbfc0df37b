#include "fakes/game_fixture.h"

#include <fstream>

#include "base/text_codec.h"

namespace tsukikage::fakes {

std::string Scenario(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += Utf8ToCp932(line);
        text += "\r\n";
    }
    return text;
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

GameTest::GameTest() {
    engine = std::make_unique<Engine>(fakes.platform, folder.path());
    engine->Form_Load();
    for (int tick = 0; tick < 3; ++tick) engine->Tick(TimerId::Timer2);
    // The tests begin on the first title screen, with nothing recorded yet.
    fakes.Clear();
}

void GameTest::NewGame() {
    // The title image on the first title screen, where the menu is still disabled.
    if (engine->form.IsShown(ControlId::NewGameImage) && !engine->state.LoadMode) {
        engine->Click(ControlId::NewGameImage);
    } else {
        engine->MenuCommand(MenuId::NewGame);
    }
}

void GameTest::WriteGameFile(std::string_view relative, std::string_view bytes) {
    const std::filesystem::path file = folder.path() / std::filesystem::path(std::string(relative));
    WriteBytes(file, bytes);
    // The engine caches folder listings (a game folder does not change while it runs); a
    // test that changes it tells the engine, as the engine does for its own records.
    for (std::filesystem::path dir = file.parent_path();; dir = dir.parent_path()) {
        engine->folder.Forget(dir);
        if (dir == folder.path() || !dir.has_parent_path() || dir == dir.parent_path()) break;
    }
}

void GameTest::WriteScenario(std::initializer_list<std::string_view> lines) {
    WriteGameFile("datafile", Scenario(lines));
}

}  // namespace tsukikage::fakes
