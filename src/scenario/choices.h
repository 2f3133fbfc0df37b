#pragma once

namespace tsukikage {

class Engine;

// Two-way choices: command "s", the caption labels lblSel and the markers imgSel.
class Choices {
public:
    explicit Choices(Engine& engine) : e_(engine) {}

    void ShowChoices();
    void lblSel_Click(int index);
    void imgSel_Click(int index);
    void lblSel_MouseMove(int index);
    void imgSel_MouseMove(int index);

private:
    Engine& e_;
};

}  // namespace tsukikage
