#include "scenario/choices.h"

#include <string>

#include "app/engine.h"
#include "platform/runtime_error.h"

namespace tsukikage {

void Choices::ShowChoices() {
    e_.platform.beeper.Beep();
    Form& form = e_.form;
    form[ControlId::txtTell].visible = false;
    form[ControlId::imgAhead].visible = false;
    form[ControlId::imgAhead].enabled = false;
    for (int i = 0; i < 2; ++i) {
        form[ImgSel(i)].visible = true;
        form[ImgSel(i)].enabled = true;
        form[LblSel(i)].visible = true;
        form[LblSel(i)].enabled = true;
    }
    form[ControlId::Label1].visible = false;
    form.Changed();
    try {
        // The block's lines are taken whole: a line starting with a dot is no command here.
        for (int i = 0; i < 2; ++i) {
            e_.state.ChoiceTargets[static_cast<std::size_t>(i)] = e_.reader.ReadLine();
            form[LblSel(i)].caption = e_.reader.ReadLine();
        }
        e_.reader.ReadLine();  // the block's closing line
    } catch (const RuntimeError& error) {
        e_.reader.FailScenario(error);
    }
}

void Choices::lblSel_Click(int index) {
    Pick(index);
}

void Choices::imgSel_Click(int index) {
    Pick(index);
}

void Choices::Pick(int index) {
    if (e_.state.Loading) return;
    Form& form = e_.form;
    for (int i = 0; i < 2; ++i) form[LblSel(i)].caption.clear();
    form[ControlId::txtTell].visible = true;
    form[ControlId::imgAhead].enabled = true;
    form[ControlId::imgAhead].visible = true;
    for (int i = 0; i < 2; ++i) {
        form[ImgSel(i)].visible = false;
        form[ImgSel(i)].enabled = false;
    }
    form.Changed();
    // A copy: the reading that follows may reach the next block and replace the targets.
    const std::string target = e_.state.ChoiceTargets[static_cast<std::size_t>(index)];
    if (target != "Skip") {
        e_.reader.JumpLabel(target);
    } else {
        e_.reader.imgAhead_Click();
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
        Control& member = e_.form[static_cast<ControlId>(first + i)];
        changed = changed || member.pointer != Pointer::Custom;
        member.pointer = Pointer::Custom;
    }
    if (changed) e_.form.Changed();
}

}  // namespace tsukikage
