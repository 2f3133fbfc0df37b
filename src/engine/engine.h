#pragma once

#include <filesystem>

#include "comfort/comfort.h"
#include "comfort/conveniences_menu.h"
#include "comfort/self_voicing.h"
#include "extras/extras.h"
#include "graphics/graphics.h"
#include "platform/interfaces.h"
#include "saves/saves.h"
#include "scenario/choices.h"
#include "scenario/commands.h"
#include "scenario/new_game.h"
#include "scenario/page.h"
#include "scenario/reader.h"
#include "sound/sound.h"
#include "title/about_box.h"
#include "title/quit.h"
#include "title/title.h"
#include "window/main_window.h"

namespace tsukikage {

// The main window with all its subsystems. The view feeds it events (clicks and mouse moves
// at client-area points or on controls, menu commands, timer ticks, window creation and
// closing) and paints `form`; tests drive it the same way against fakes.
//
// Every event goes through the event table to the handler its subsystem claimed, inside the
// one error guard: a run-time error that no handler caught shows the platform's run-time
// error box and ends the program.
class Engine : public MainWindow {
  public:
    // `read_pages`: the player's folder for the records of read pages (see ReadPages).
    Engine(Platform& platform, std::filesystem::path game_folder,
           std::filesystem::path user_records = {}, std::filesystem::path read_pages = {});

    void Form_Load();
    void Form_Unload();
    // A click or mouse move on a control: ignored unless it is shown and enabled.
    void Click(ControlId control);
    void MouseMove(ControlId control, int x, int y);
    // The left mouse button and the pointer at client-area points, each going to the
    // front-most shown and enabled control there. A click is a press and a release over the
    // same control; the second press of a double click makes none. While the button is held,
    // the pressed control keeps the mouse moves, as with capture.
    void MouseDown(int x, int y, bool double_click);
    void MouseUp(int x, int y);
    void MouseMoveAt(int x, int y);
    // A press and a release at one point.
    void ClickAt(int x, int y);
    void MenuCommand(MenuId item);
    // A key or a wheel turn: each stands for a click the original took with the mouse (the
    // advance marker; with choices shown, a caption), and does nothing the click would not.
    // The text history takes keys and the wheel while it is open, and opens with wheel up,
    // Page Up and Up (with no choice shown); A turns auto mode on and off. The title's new
    // game and end images, chosen with a key, ask first.
    void KeyPress(Key key);
    // The right button: closes the history; false when it was not open.
    bool RightClick();
    // The player's conveniences from the view (see Comfort).
    void SetSkipHeld(bool held);
    void StartSkip();
    void ToggleAuto();
    void OpenHistory();
    void ApplySettings(const PlaySettings& settings);
    // The right button's menu as it stands, and the item the player chose from it by name;
    // false for a name the engine does not act on (the view's own items).
    std::vector<ConvenienceItem> ConveniencesMenu(const ConvenienceViewState& view) const;
    bool ChooseConvenience(std::string_view name);
    // Back to the title screen from the game screen, as the scenario's end goes, once the
    // player has said yes.
    void BackToTitle();
    void Tick(TimerId timer);
    // The timer's tick would change nothing now (no transition runs; the start-up sequence is
    // over): a view may leave it asleep rather than wake for it, since it follows the form
    // after every event and so wakes it when a handler changes that.
    bool TimerIdle(TimerId timer) const;
    // The wait until the timer's next tick that may change something, in whole intervals: the
    // interval itself, or more while the ticks would only find the looping piece playing on.
    // A view may wait that long, since a handler that changes anything makes it ask again.
    int TimerWaitMs(TimerId timer);
    // The about box's OK button and its close box.
    void AboutOK();
    void AboutClosed();

    Sound sound;
    Graphics graphics;
    CommandTable commands;
    Page page;
    Reader reader;
    Choices choices;
    NewGame new_game;
    Saves saves;
    Extras extras;
    Title title;
    Quit quit;
    AboutBox about_box;
    Comfort comfort;
    SelfVoicing voicing;

  private:
    void FillCommandTable();
    // Asks the player a yes-or-no question; true for yes.
    bool Confirm(std::string_view question);
    // A title image chosen with the keys: true when it may be clicked.
    bool ConfirmKeyedTitleImage(ControlId image);
    // A key the conveniences take before the game sees it.
    bool ComfortKeyPress(Key key, bool choosing);
    // A key on the gallery, the music room or the scene list: true when one of them is shown.
    bool ExtrasKeyPress(Key key);
    // The control under a press, while the button is held.
    std::optional<ControlId> pressed_;
    bool pressing_ = false;
    bool double_click_ = false;
    // Handlers running: more than one while a message box has the window waiting.
    int handling_ = 0;

    template <typename Handler>
    void Guarded(Handler&& handler);
};

}  // namespace tsukikage
