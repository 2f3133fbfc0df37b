#include "engine/engine.h"

namespace tsukikage {

// The scenario's command letters and what each runs. A continuing command lets the reader
// read on at once; the others make it wait for the player.
void Engine::FillCommandTable() {
    const auto continuing = [](auto run) {
        return [run](std::string_view argument) {
            run(argument);
            return Then::Continue;
        };
    };
    CommandTable& c = commands;
    c.Add('l', continuing([this](std::string_view a) { page.SetWindowPicture(a); }));
    c.Add('a', continuing([this](std::string_view a) { graphics.EffectA(a); }));
    c.Add('b', continuing([this](std::string_view a) { graphics.EffectB(a); }));
    c.Add('c', continuing([this](std::string_view a) { graphics.CGLoad(a); }));
    c.Add('d', continuing([this](std::string_view a) { graphics.EffectC(a); }));
    c.Add('v', continuing([this](std::string_view a) { sound.SoundSE(a); }));
    c.Add('r', continuing([this](std::string_view a) { sound.SoundSELoop(a); }));
    c.Add('x', continuing([this](std::string_view a) { sound.SoundBGM(a); }));
    // Looping music holds the reader: the next line waits for the player's advance.
    c.Add('y', [this](std::string_view a) {
        sound.SoundBGMLoop(a);
        return Then::Stop;
    });
    c.Add('j',
          [this](std::string_view a) { return reader.SeekLabel(a) ? Then::Continue : Then::Stop; });
    // During a scene replay the block's lines are read as ordinary lines by the next advance.
    c.Add('s', [this](std::string_view) {
        if (!state.SceneMode) choices.ShowChoices();
        return Then::Stop;
    });
    c.Add('f', continuing([this](std::string_view a) { extras.Finish(a); }));
    c.Add('p', continuing([this](std::string_view a) { new_game.SaveDeal(a); }));
    c.Add('h', continuing([this](std::string_view a) { extras.SceneMarker(a); }));
    c.Add('E', [this](std::string_view) {
        new_game.EndOfScenario();
        return Then::Stop;
    });
}

}  // namespace tsukikage
