#include <stdexcept>

#include "engine/engine.h"

namespace tsukikage {

// Each command letter (see kCommandLetters) bound to the procedure it runs.
void Engine::FillCommandTable() {
    CommandTable& c = commands;
    c.Add('l', [this](std::string_view a) { page.SetWindowPicture(a); });
    c.Add('a', [this](std::string_view a) { graphics.EffectA(a); });
    c.Add('b', [this](std::string_view a) { graphics.EffectB(a); });
    c.Add('c', [this](std::string_view a) { graphics.CGLoad(a); });
    c.Add('d', [this](std::string_view a) { graphics.EffectC(a); });
    c.Add('v', [this](std::string_view a) { sound.SoundSE(a); });
    c.Add('r', [this](std::string_view a) { sound.SoundSELoop(a); });
    c.Add('x', [this](std::string_view a) { sound.SoundBGM(a); });
    c.Add('y', [this](std::string_view a) { sound.SoundBGMLoop(a); });
    c.AddJump('j', [this](std::string_view a) { return reader.SeekLabel(a); });
    c.Add('s', [this](std::string_view) {
        if (!state.SceneMode) choices.ShowChoices();
    });
    c.Add('f', [this](std::string_view a) { extras.Finish(a); });
    c.Add('p', [this](std::string_view a) { new_game.SaveDeal(a); });
    c.Add('h', [this](std::string_view a) { extras.SceneMarker(a); });
    c.Add('E', [this](std::string_view) { new_game.EndOfScenario(); });
    if (!c.Complete()) throw std::logic_error("a command letter without its procedure");
}

}  // namespace tsukikage
