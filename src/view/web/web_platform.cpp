#include "view/web/web_platform.h"

#include <emscripten.h>

#include <memory>
#include <string>
#include <utility>

#include "base/picture_file.h"
#include "base/runtime_error.h"
#include "view/web/modal_wait.h"

namespace tsukikage::web {
namespace {

// clang-format off
EM_JS(int, OpenBox, (const char* text, int text_size, int icon, const char* title,
                     int title_size, int question), {
    return Module.page.openBox(UTF8ToString(text, text_size), icon,
                               UTF8ToString(title, title_size), question !== 0);
});
EM_JS(int, BoxClosed, (int box), { return Module.page.boxClosed(box) ? 1 : 0; });
EM_JS(int, BoxAnswer, (), { return Module.page.boxAnswer ? 1 : 0; });
EM_JS(void, ShowBusy, (int busy), { Module.page.setBusy(busy !== 0); });
EM_JS(void, ShowEnded, (int status), { Module.page.ended(status); });
// Decodes the bytes; 1 and the picture kept for TakeDecoded, or 0 when they are no picture
// the browser can read. The page reads them in place, copying them only to decode them.
EM_ASYNC_JS(int, DecodeBytes, (const unsigned char* bytes, int size), {
    return await Module.page.decodePicture(HEAPU8.subarray(bytes, bytes + size));
});
EM_JS(int, DecodedWidth, (), { return Module.page.decoded.width; });
EM_JS(int, DecodedHeight, (), { return Module.page.decoded.height; });
// Copies the decoded picture's opaque 0xAARRGGBB pixels, and lets it go.
EM_JS(void, TakeDecoded, (std::uint32_t* pixels), {
    HEAPU32.set(Module.page.decoded.pixels, pixels >> 2);
    Module.page.decoded = null;
});
EM_JS(void, DropDecoded, (), { Module.page.decoded = null; });
// clang-format on

// The box's wait wakes this often to tick the timers that came due.
constexpr int kBoxStepMs = 10;

}  // namespace

void WebMessageBox::Show(std::string_view text, MessageIcon icon, std::string_view title) {
    Wait(text, icon, title, false);
}

bool WebMessageBox::Ask(std::string_view text, std::string_view title) {
    return Wait(text, MessageIcon::Question, title, true) != 0;
}

int WebMessageBox::Wait(std::string_view text, MessageIcon icon, std::string_view title,
                        bool question) {
    if (before_show_) before_show_();
    const int box = OpenBox(text.data(), static_cast<int>(text.size()), static_cast<int>(icon),
                            title.data(), static_cast<int>(title.size()), question ? 1 : 0);
    WaitWhileTicking([box] { return BoxClosed(box) != 0; },
                     [this] {
                         if (tick_due_) tick_due_();
                     },
                     kBoxStepMs);
    return BoxAnswer();
}

void WebBusyPointer::SetBusy(bool busy) {
    ShowBusy(busy ? 1 : 0);
}

void WebProcessControl::End(ExitStatus status) {
    ShowEnded(static_cast<int>(status));
    throw GameEnded{status};
}

std::shared_ptr<const Surface> WebPictureDecoder::Decode(const std::filesystem::path& path) {
    std::string bytes = ReadPictureFile(path);
    if (std::shared_ptr<const Surface> known = decoded_.Find(bytes)) return known;
    if (DecodeBytes(reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<int>(bytes.size())) == 0) {
        Raise(err::kInvalidPicture);
    }
    const int width = DecodedWidth();
    const int height = DecodedHeight();
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        DropDecoded();
        Raise(err::kInvalidPicture);
    }
    auto surface = std::make_shared<Surface>(width, height);
    TakeDecoded(surface->pixels.data());
    decoded_.Keep(std::move(bytes), surface);
    return surface;
}

}  // namespace tsukikage::web
