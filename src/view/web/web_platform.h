#pragma once

#include <functional>

#include "platform/interfaces.h"
#include "view/web/decoded_pictures.h"

namespace tsukikage::web {

// The platform doors in the browser. The page (web/player.js) answers the calls each makes
// through its `Module.page` object.

// An HTML dialog over the page. The engine's call waits in it through Asyncify while the
// page's event loop runs and the window's timers keep ticking, as under the desktop's box.
class WebMessageBox : public MessageBox {
  public:
    // `before_show` brings the page's picture up to date; `tick_due` ticks the timers that
    // came due while the box waits.
    WebMessageBox(std::function<void()> before_show, std::function<void()> tick_due)
        : before_show_(std::move(before_show)), tick_due_(std::move(tick_due)) {}
    void Show(std::string_view text, MessageIcon icon, std::string_view title) override;
    bool Ask(std::string_view text, std::string_view title) override;

  private:
    // Opens the box (with Yes and No when `question`) and waits for its answer: 1 for yes.
    int Wait(std::string_view text, MessageIcon icon, std::string_view title, bool question);

    std::function<void()> before_show_;
    std::function<void()> tick_due_;
};

// The game's sounds come with a later step of the page; until then the bell is silent too.
class WebBeeper : public Beeper {
  public:
    void Beep() override {}
};

class WebBusyPointer : public BusyPointer {
  public:
    void SetBusy(bool busy) override;
};

// The game has ended: the page shows the status and offers to start again. The engine's call
// is unwound by GameEnded to the page's entry point, and nothing more reaches that engine; the
// page's runtime lives on, so the game can start again on the folder it was played from.
struct GameEnded {
    ExitStatus status;
};

class WebProcessControl : public ProcessControl {
  public:
    [[noreturn]] void End(ExitStatus status) override;
};

// The browser decodes pictures only asynchronously: the engine's call waits through Asyncify
// while the page decodes the file's bytes (createImageBitmap), so each picture is decoded
// when the game first asks for it, exactly as on the desktop, and no picture is held before.
// Files decoded before come back from memory without the wait.
class WebPictureDecoder : public PictureDecoder {
  public:
    std::shared_ptr<const Surface> Decode(const std::filesystem::path& path) override;

  private:
    // Some twenty full-screen pictures with their files.
    DecodedPictures decoded_{32u << 20};
};

}  // namespace tsukikage::web
