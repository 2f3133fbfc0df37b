#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

#include "engine/pad.h"

struct _SDL_GameController;

namespace tsukikage {

// The first game controller SDL knows (its own mapping database), plugged in before the
// start or at any time after. It looks about 60 times a second while a controller is open,
// and once a second for one plugged in otherwise, so an idle window without one stays idle.
// Each button comes out as a press and a release; a direction of the d-pad or the left stick
// as presses, repeated while held.
class SdlPad : public QObject {
    Q_OBJECT

  public:
    static constexpr int kOpenPollMs = 16;
    static constexpr int kClosedPollMs = 1000;

    using Handler = std::function<void(PadButton button, bool pressed)>;
    // Starts looking at once; without SDL's game controller support it never finds one.
    explicit SdlPad(Handler handler, QObject* parent = nullptr);
    ~SdlPad() override;
    SdlPad(const SdlPad&) = delete;
    SdlPad& operator=(const SdlPad&) = delete;

    // One look: opens a controller plugged in, closes one pulled out, hands on what changed.
    // The handler is called later, from the event loop, so a menu it opens never holds a look.
    void Poll();
    bool open() const { return controller_ != nullptr; }
    int interval_ms() const { return timer_.interval(); }

  private:
    void OpenFirst();
    void Close();
    void Hand(PadButton button, bool pressed);

    Handler handler_;
    bool initialised_ = false;
    _SDL_GameController* controller_ = nullptr;
    QTimer timer_;
    QElapsedTimer clock_;
    // The buttons held at the last look (those that are not directions).
    std::array<bool, kPadButtonCount> held_{};
    PadRepeat repeat_;
};

}  // namespace tsukikage
