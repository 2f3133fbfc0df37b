// Game-folder names as a scenario writes them: whatever the name, a lookup finds only entries
// inside the game folder, and a path for writing lies inside it too. Files beside the folder
// and above it exist, so a lookup that leaves the folder would find them.
#include "base/game_folder.h"
#include "fuzz/fuzz_support.h"

namespace tsukikage::fuzz {
namespace {

const std::filesystem::path& GameRoot() {
    static const std::filesystem::path root = [] {
        const std::filesystem::path base = ScratchFolder() / "names";
        for (const char* name :
             {"secret.dat", "game/data/001.jpg", "game/Data/waku.bmp", "game/se/chime.wav",
              "game/bgm/theme", "game/save1.dat", "gamez/secret.dat", "game/data/sub/deep.bmp"}) {
            WriteScratchFile(base / name, "x");
        }
        WriteScratchFile(base / "game" / "\x8c\x8e.wav", "x");  // a raw CP932 name: 月
        return std::filesystem::canonical(base / "game");
    }();
    return root;
}

void CheckInside(const std::optional<std::filesystem::path>& found, std::string_view what) {
    if (!found) return;
    const std::filesystem::path normal = found->lexically_normal();
    const std::filesystem::path relative = normal.lexically_relative(GameRoot());
    if (relative.empty() || *relative.begin() == "..") Fail(what);
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::weakly_canonical(normal, ec);
    if (!ec) {
        const std::filesystem::path real_relative = real.lexically_relative(GameRoot());
        if (real_relative.empty() || *real_relative.begin() == "..") Fail(what);
    }
}

}  // namespace
}  // namespace tsukikage::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tsukikage;
    using namespace tsukikage::fuzz;
    if (size > 4096) return 0;
    const std::string_view name = AsText(data, size);
    const GameFolder folder(GameRoot());
    CheckInside(folder.Find(name), "Find reached outside the game folder");
    CheckInside(folder.FindSound(name), "FindSound reached outside the game folder");
    CheckInside(folder.PathForWriting(name), "a path for writing outside the game folder");
    return 0;
}
