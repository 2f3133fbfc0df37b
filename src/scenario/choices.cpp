#include "scenario/choices.h"

#include "app/engine.h"

namespace tsukikage {

// The choice block is read and shown by the choices of a later stage; until then the reader
// simply waits at command "s".
void Choices::ShowChoices() {}

void Choices::lblSel_Click(int) {}

void Choices::imgSel_Click(int) {}

void Choices::lblSel_MouseMove(int) {}

void Choices::imgSel_MouseMove(int) {}

}  // namespace tsukikage
