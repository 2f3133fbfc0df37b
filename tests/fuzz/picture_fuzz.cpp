// A picture file through the decoder the window uses: any bytes give an opaque surface no
// wider or taller than the decoder's bound, or run-time error 481, and never take more memory
// than that bound allows, whatever size the header declares.
#include <QtGlobal>

#include "base/runtime_error.h"
#include "fuzz/fuzz_support.h"
#include "view/qt/qt_platform.h"

namespace tsukikage::fuzz {
namespace {

constexpr int kMaxSide = 8192;

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

void Check(const Surface& surface) {
    if (surface.width < 1 || surface.height < 1 || surface.width > kMaxSide ||
        surface.height > kMaxSide) {
        Fail("a picture with no pixels or beyond the largest side");
    }
    if (surface.pixels.size() != static_cast<std::size_t>(surface.width) * surface.height) {
        Fail("a picture whose pixels do not fill its size");
    }
    for (const std::uint32_t pixel : surface.pixels) {
        if (pixel >> 24 != 0xFF) Fail("a picture pixel that is not opaque");
    }
}

}  // namespace
}  // namespace tsukikage::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tsukikage;
    // Qt's warnings on each refused picture would bury the fuzzer's own lines.
    static const QtMessageHandler previous = qInstallMessageHandler(fuzz::Quiet);
    (void)previous;
    static const std::filesystem::path file = fuzz::ScratchFolder() / "picture";
    fuzz::WriteScratchFile(file, fuzz::AsText(data, size));
    QtPictureDecoder decoder;
    try {
        fuzz::Check(*decoder.Decode(file));
    } catch (const RuntimeError& error) {
        if (error.number() != err::kInvalidPicture) fuzz::Fail("a picture error other than 481");
    }
    return 0;
}
