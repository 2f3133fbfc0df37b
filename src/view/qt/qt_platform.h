#pragma once

#include <functional>

#include "platform/interfaces.h"

class QWidget;

namespace tsukikage {

// The platform doors on the Qt desktop.

class QtMessageBox : public MessageBox {
  public:
    // The window the boxes stand over, and what brings its picture up to date first: a box
    // must cover the screen as the game left it, not a frame from before the event.
    void SetOwner(QWidget* owner, std::function<void()> before_show);
    void Show(std::string_view text, MessageIcon icon, std::string_view title) override;
    bool Ask(std::string_view text, std::string_view title) override;

  private:
    QWidget* owner_ = nullptr;
    std::function<void()> before_show_;
};

class QtBeeper : public Beeper {
  public:
    void Beep() override;
};

// Kept balanced: Qt stacks override cursors, the game only switches busy on and off.
class QtBusyPointer : public BusyPointer {
  public:
    QtBusyPointer() = default;
    QtBusyPointer(const QtBusyPointer&) = delete;
    QtBusyPointer& operator=(const QtBusyPointer&) = delete;
    ~QtBusyPointer() override;
    void SetBusy(bool busy) override;

  private:
    bool busy_ = false;
};

class QtProcessControl : public ProcessControl {
  public:
    [[noreturn]] void End(ExitStatus status) override;
};

class QtPictureDecoder : public PictureDecoder {
  public:
    std::shared_ptr<const Surface> Decode(const std::filesystem::path& path) override;
};

// Makes the design's Japanese font names find the installed Japanese font.
void InstallFontSubstitutions();

}  // namespace tsukikage
