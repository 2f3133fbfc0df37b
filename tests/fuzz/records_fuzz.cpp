// The sequential field reader behind every record, save slot and list file. The first byte
// chooses the order of the reads; the rest is the file. The same bytes are then read as each
// record the player keeps (the seen pictures, the endings, the lists, a save slot), and what
// they hold afterwards must stay within the records' limits.
#include "base/runtime_error.h"
#include "base/text_file.h"
#include "engine/engine.h"
#include "extras/name_list.h"
#include "fakes/recording_platform.h"
#include "fuzz/fuzz_support.h"
#include "graphics/seen_record.h"

namespace tsukikage::fuzz {
namespace {

void ReadFields(unsigned order, std::string_view bytes) {
    TextInput input{std::string(bytes)};
    for (int read = 0; read < 4096 && !input.AtEnd(); ++read) {
        try {
            switch ((order >> ((read % 4) * 2) & 3) + (read & 4)) {
                case 0:
                    input.ReadField();
                    break;
                case 1:
                    input.ReadInteger();
                    break;
                case 2:
                    input.ReadLong();
                    break;
                case 3:
                    input.ReadByte();
                    break;
                case 4:
                    input.ReadBoolean();
                    break;
                case 5:
                    input.ReadLine();
                    break;
                case 6:
                    input.ReadRawLine();
                    break;
                default:
                    input.ReadField();
                    break;
            }
        } catch (const RuntimeError& error) {
            const int n = error.number();
            if (n != err::kTypeMismatch && n != err::kOverflow && n != err::kInputPastEndOfFile) {
                Fail("a field read raised an error other than 13, 6 or 62");
            }
        }
    }
}

void ReadRecords(std::string_view bytes) {
    const std::filesystem::path root = ScratchFolder() / "records";
    static const bool laid_out = [&root] {
        WriteScratchFile(root / "datafile", ".p 1\r\ntext\r\n.y x\r\n");
        return true;
    }();
    (void)laid_out;
    for (const char* name : {"cgmode.dat", "endlist.dat", "list.dat", "save1.dat"}) {
        WriteScratchFile(root / name, bytes);
    }
    std::filesystem::remove(root / "endlist.dat.damaged");
    std::filesystem::remove(root / "cgmode.dat.damaged");

    const GameFolder folder(root);
    WindowState state;
    LoadSeenRecord(folder, state);
    if (state.CGCount < 0 || state.CGCount > 250) Fail("a seen-picture count out of 0..250");
    if (ReadNameList(folder, "\\list.dat").size() > kMaxListNames) Fail("a list too long");

    fakes::RecordingPlatform platform;
    Engine engine(platform.platform, root);
    try {
        engine.extras.LoadEndingRecord();
        if (engine.state.EndCount > 3) Fail("an ending count above 3");
        engine.MenuCommand(MenuId::load1);
    } catch (const fakes::ProcessEnded&) {
    }
}

}  // namespace
}  // namespace tsukikage::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tsukikage::fuzz;
    if (size == 0 || size > 16 * 1024) return 0;
    const std::string_view bytes = AsText(data + 1, size - 1);
    ReadFields(data[0], bytes);
    ReadRecords(bytes);
    return 0;
}
