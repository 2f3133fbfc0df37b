#include "view/pad/sdl_pad.h"

#include <SDL.h>

#include <utility>

namespace tsukikage {
namespace {

constexpr std::pair<SDL_GameControllerButton, PadButton> kButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, PadButton::A},
    {SDL_CONTROLLER_BUTTON_B, PadButton::B},
    {SDL_CONTROLLER_BUTTON_X, PadButton::X},
    {SDL_CONTROLLER_BUTTON_Y, PadButton::Y},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
    {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadButton::LeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadButton::RightShoulder},
};

constexpr std::pair<SDL_GameControllerButton, PadButton> kDpad[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::Up},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::Down},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::Left},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::Right},
};

}  // namespace

SdlPad::SdlPad(Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler)) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The window is Qt's, so SDL never sees it focused: the pad plays whenever it is pressed.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    initialised_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (initialised_) {
        // Nothing reads SDL's event queue: the pad is looked at, so nothing piles up there.
        SDL_JoystickEventState(SDL_IGNORE);
        SDL_GameControllerEventState(SDL_IGNORE);
    }
    clock_.start();
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &SdlPad::Poll);
    if (initialised_) {
        timer_.start(kClosedPollMs);
        Poll();
    }
}

SdlPad::~SdlPad() {
    Close();
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlPad::Poll() {
    if (!initialised_) return;
    // Finds devices plugged in and pulled out, and reads the open one's state.
    SDL_GameControllerUpdate();
    if (controller_ && !SDL_GameControllerGetAttached(controller_)) Close();
    if (!controller_) OpenFirst();
    timer_.setInterval(controller_ ? kOpenPollMs : kClosedPollMs);
    if (!controller_) return;
    for (const auto& [sdl, button] : kButtons) {
        const bool down = SDL_GameControllerGetButton(controller_, sdl) != 0;
        bool& held = held_[static_cast<std::size_t>(button)];
        if (down != held) {
            held = down;
            Hand(button, down);
        }
    }
    std::optional<PadButton> direction;
    for (const auto& [sdl, button] : kDpad) {
        if (SDL_GameControllerGetButton(controller_, sdl) != 0) direction = button;
    }
    if (!direction) {
        direction =
            StickDirection(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX),
                           SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY));
    }
    if (const std::optional<PadButton> pressed = repeat_.Update(direction, clock_.elapsed())) {
        Hand(*pressed, true);
    }
}

void SdlPad::OpenFirst() {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i)) continue;
        controller_ = SDL_GameControllerOpen(i);
        if (controller_) return;
    }
}

// A controller pulled out lets go of what it held: a skip held with it ends.
void SdlPad::Close() {
    if (!controller_) return;
    SDL_GameControllerClose(controller_);
    controller_ = nullptr;
    for (std::size_t i = 0; i < held_.size(); ++i) {
        if (held_[i]) Hand(static_cast<PadButton>(i), false);
        held_[i] = false;
    }
    repeat_.Update(std::nullopt, clock_.elapsed());
}

void SdlPad::Hand(PadButton button, bool pressed) {
    QMetaObject::invokeMethod(
        this, [this, button, pressed] { handler_(button, pressed); }, Qt::QueuedConnection);
}

}  // namespace tsukikage
