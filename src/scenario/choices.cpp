#include "scenario/choices.h"

#include <string>

#include "base/runtime_error.h"
#include "scenario/reader.h"

namespace tsukikage {

void Choices::ClaimEvents(EventTable& events) {
    for (int i = 0; i < 2; ++i) {
        events.OnClick(LblSel(i), {"Choices::lblSel_Click", i}, [this, i] { lblSel_Click(i); });
        events.OnClick(ImgSel(i), {"Choices::imgSel_Click", i}, [this, i] { imgSel_Click(i); });
        events.OnMouseMove(LblSel(i), {"Choices::lblSel_MouseMove", i},
                           [this, i](int, int) { lblSel_MouseMove(i); });
        events.OnMouseMove(ImgSel(i), {"Choices::imgSel_MouseMove", i},
                           [this, i](int, int) { imgSel_MouseMove(i); });
    }
}

void Choices::ShowChoices() {
    w_.platform.beeper.Beep();
    Form& form = w_.form;
    form[ControlId::txtTell].visible = false;
    form.Hide(ControlId::imgAhead);
    form.key_focus.reset();
    for (int i = 0; i < 2; ++i) {
        form.Show(ImgSel(i));
        form.Show(LblSel(i));
    }
    form[ControlId::Label1].visible = false;
    form.Changed();
    try {
        // The block's lines are taken whole: a line starting with a dot is no command here.
        for (int i = 0; i < 2; ++i) {
            w_.state.ChoiceTargets[static_cast<std::size_t>(i)] = reader_.ReadLine();
            form[LblSel(i)].caption = reader_.ReadLine();
        }
        reader_.ReadLine();  // the block's closing line
    } catch (const RuntimeError& error) {
        reader_.FailScenario(error);
    }
}

void Choices::lblSel_Click(int index) {
    Pick(index);
}

void Choices::imgSel_Click(int index) {
    Pick(index);
}

void Choices::Pick(int index) {
    if (w_.state.Loading) return;
    Form& form = w_.form;
    if (on_pick) on_pick(form[LblSel(index)].caption);
    for (int i = 0; i < 2; ++i) form[LblSel(i)].caption.clear();
    form[ControlId::txtTell].visible = true;
    form.Show(ControlId::imgAhead);
    form.key_focus.reset();
    for (int i = 0; i < 2; ++i) form.Hide(ImgSel(i));
    form.Changed();
    // A copy: the reading that follows may reach the next block and replace the targets.
    const std::string target = w_.state.ChoiceTargets[static_cast<std::size_t>(index)];
    if (target != "Skip") {
        reader_.JumpLabel(target);
    } else {
        reader_.imgAhead_Click();
    }
}

void Choices::lblSel_MouseMove(int) {
    UseCustomPointer(ControlId::lblSel0);
}

void Choices::imgSel_MouseMove(int) {
    UseCustomPointer(ControlId::imgSel0);
}

// Whichever member the pointer is over, both members of the array take the custom pointer.
void Choices::UseCustomPointer(ControlId first_member) {
    const int first = static_cast<int>(first_member);
    bool changed = false;
    for (int i = 0; i < 2; ++i) {
        Control& member = w_.form[static_cast<ControlId>(first + i)];
        changed = changed || member.pointer != Pointer::Custom;
        member.pointer = Pointer::Custom;
    }
    if (changed) w_.form.Changed();
}

}  // namespace tsukikage
