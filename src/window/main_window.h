#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "base/game_folder.h"
#include "base/record_folder.h"
#include "base/surface.h"
#include "platform/interfaces.h"
#include "window/about_form.h"
#include "window/event_table.h"
#include "window/form.h"
#include "window/window_state.h"

namespace tsukikage {

// The main window as its subsystems share it: the doors to the platform, the game folder,
// the form model, the shared state, the table of event handlers, and the one way to change
// the screen mode. The subsystems work on it; the engine builds it and routes events.
class MainWindow {
  public:
    // `user_records`: the player's own folder for the records, used when the game folder
    // cannot be written (see RecordFolder); empty keeps them beside the game always.
    MainWindow(Platform& platform, std::filesystem::path game_folder,
               std::filesystem::path user_records = {});
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Loads a picture file named the game's way (see GameFolder). Raises 53 when it is
    // missing and 481 when it is no picture.
    std::shared_ptr<const Surface> LoadPicture(std::string_view name);
    // As LoadPicture, but a missing file gives nothing instead of raising 53: for the pictures
    // a game may leave out, which the window then draws or leaves empty itself.
    std::shared_ptr<const Surface> LoadPictureIfPresent(std::string_view name);

    // Every change of screen: ends a running transition where it stands, sets the six mode
    // flags, then lays the window out for them.
    void SelectMode(Mode mode);
    // The procedure that lays the window out for the mode flags (ModeSelect).
    void SetModeLayout(std::function<void()> layout) { mode_layout_ = std::move(layout); }
    // Lays the window out for the flags as they stand.
    void ModeSelect();

    Platform& platform;
    GameFolder folder;
    RecordFolder records;
    Form form;
    // The about box, a window of its own.
    AboutForm about_form;
    WindowState state;
    EventTable events;

  private:
    std::function<void()> mode_layout_;
};

}  // namespace tsukikage
