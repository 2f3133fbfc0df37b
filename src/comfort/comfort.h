#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

#include "comfort/play_settings.h"
#include "comfort/read_pages.h"
#include "comfort/text_history.h"
#include "window/main_window.h"

namespace tsukikage {

class Graphics;
class Page;
class Reader;

// The player's conveniences on the game screen: the text history, skip, auto mode and the
// sound levels. Each acts only through what the player could do with the mouse (the advance
// comes through `advance`, the click on the marker), so none changes what the game does.
class Comfort {
  public:
    // `read_folder`: where the records of read pages live; empty keeps them in memory only.
    Comfort(MainWindow& window, Reader& reader, Page& page, Graphics& graphics,
            std::filesystem::path read_folder);

    // The click on the advance marker, as the player makes it.
    std::function<void()> advance;
    // A page of text brought on the game screen.
    std::function<void(std::string_view)> page_shown;

    // Claims the comfort timer.
    void ClaimEvents(EventTable& events);

    // After every event the window handled: takes note of an opened scenario, a new page and
    // a change of screen, and keeps the timer and the sign up to date.
    void AfterEvent();
    // A pick taken: it goes into the history.
    void RecordPick(std::string_view caption);

    // A key, before the game sees it; true when it was the history's or a convenience's.
    bool KeyPress(Key key, bool choosing);
    // Left button presses: they stop a skip started from the menu.
    void MouseDown();

    bool history_open() const { return history_.open(); }
    // Opens the history on the game screen; false when there is nothing to show.
    bool OpenHistory();
    void CloseHistory();
    const TextHistory& history() const { return history_; }

    // Skip while Control is held, or from the menu until something stops it.
    void SetSkipHeld(bool held);
    void StartSkip();
    bool skipping() const { return skip_held_ || skip_started_; }
    void ToggleAuto();
    bool auto_on() const { return auto_on_; }

    void Apply(const PlaySettings& settings);
    const PlaySettings& settings() const { return settings_; }

    // Writes the record of read pages when it changed.
    void SaveReadPages();
    const ReadPages& read_pages() const { return read_; }

  private:
    // The comfort timer: one skip or auto step.
    void Tick();
    void SkipStep();
    void AutoStep();
    // The marker is up and nothing else is asked of the player.
    bool CanAdvance() const;
    void StopStartedSkip();
    void NotePage();
    void ApplyLevels();
    void UpdateTimerAndSign();
    void ShowHistory();

    MainWindow& w_;
    Reader& reader_;
    Page& page_;
    Graphics& graphics_;
    TextHistory history_;
    ReadPages read_;
    PlaySettings settings_;

    int seen_open_count_ = 0;
    int seen_page_count_ = 0;
    // The page on screen had been shown before.
    bool page_read_before_ = false;
    bool skip_held_ = false;
    bool skip_started_ = false;
    bool auto_on_ = false;
    long long auto_waited_ms_ = 0;
    bool music_room_levels_ = false;
    bool read_error_shown_ = false;
};

}  // namespace tsukikage
