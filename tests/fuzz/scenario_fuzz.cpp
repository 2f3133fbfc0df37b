// A scenario file as the reader walks it: lines, CP932 text, command letters and their
// arguments, labels and jumps, on the recording fakes. The player clicks on through pages and
// choices. The fake process end throws, so an input that ends the program (a jump loop among
// them) ends only the run.
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "base/folder_entries.h"
#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "fuzz/fuzz_support.h"
#include "graphics/seen_record.h"

namespace tsukikage::fuzz {
namespace {

constexpr int kClicks = 48;

// The folder the scenario plays in: a picture, a sound and the seen-picture record of a game
// played before (its one picture not yet seen) beside "datafile".
const std::filesystem::path& GameFolderForScenarios() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path root = ScratchFolder() / "game";
        const std::string picture = fakes::TestPictureBytes(4, 3, 0xFF336699);
        WriteScratchFile(root / "data" / "001.jpg", picture);
        WriteScratchFile(root / "Data" / "waku.bmp", picture);
        WriteScratchFile(root / "se" / "chime.wav", "RIFF");
        return root;
    }();
    return folder;
}

const std::string& SeenRecord() {
    static const std::string bytes = [] {
        WindowState state;
        state.CGCount = 1;
        return SeenRecordBytes(state);
    }();
    return bytes;
}

// Every run starts from the same folder, so a finding replays on its own: what the run
// before wrote beside "datafile" (the records, the save slot, their damaged copies) is
// removed, and the seen-picture record is written anew. Read and removed entry by entry with
// the system's calls, as the folder is reset for every input.
void ResetGameFolder(const std::filesystem::path& root) {
    FolderEntries dir(root);
    if (!dir.is_open()) Fail("the game folder cannot be read");
    std::vector<std::string> folders;
    while (const char* entry = dir.Next()) {
        const std::string_view name = entry;
        if (name == "data" || name == "Data" || name == "se" || name == "datafile" ||
            name == "cgmode.dat") {
            continue;
        }
        if (::unlinkat(dir.fd(), entry, 0) != 0) folders.emplace_back(name);
    }
    for (const std::string& name : folders) std::filesystem::remove_all(root / name);
    static const std::filesystem::path record = root / "cgmode.dat";
    WriteScratchFile(record, SeenRecord());
}

void Play(std::string_view scenario) {
    const std::filesystem::path& root = GameFolderForScenarios();
    ResetGameFolder(root);
    static const std::filesystem::path datafile = root / "datafile";
    WriteScratchFile(datafile, scenario);
    fakes::RecordingPlatform platform;
    platform.StopRecording();  // nothing looks at the calls
    Engine engine(platform.platform, root);
    try {
        engine.Form_Load();
        for (int tick = 0; tick < 3; ++tick) engine.Tick(TimerId::Timer2);
        engine.Click(ControlId::NewGameImage);
        for (int click = 0; click < kClicks; ++click) {
            if (engine.form.IsShown(ControlId::lblSel0)) {
                engine.Click(click % 2 ? ControlId::lblSel1 : ControlId::lblSel0);
            } else {
                engine.Click(ControlId::imgAhead);
            }
            engine.Tick(TimerId::Timer1);
        }
        engine.MenuCommand(MenuId::save1);
        engine.MenuCommand(MenuId::load1);
    } catch (const fakes::ProcessEnded&) {
        // The program ended, as a scenario error makes it do.
    }
}

}  // namespace
}  // namespace tsukikage::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tsukikage::fuzz;
    const std::string_view bytes = AsText(data, size);
    if (size > 64 * 1024) return 0;  // a jump loop ends in the reader itself
    Play(bytes);
    return 0;
}
