#pragma once

#include <cstdint>

#include "window/main_window.h"

namespace tsukikage {

class Graphics;

// The CG gallery: pages of 4 x 4 thumbnails on the game screen, the frame that follows the
// pointer, the full view of a seen picture, paging, and the way back (SystemBack).
class Gallery {
  public:
    Gallery(MainWindow& window, Graphics& graphics) : w_(window), graphics_(graphics) {}

    // Claims, in the gallery, CGGo, CGBack, SystemBack and the clicks and moves of Picture1.
    void ClaimEvents(EventTable& events);

    // Opens the gallery on its first page (the title image once ending 1 is reached).
    void Open();
    void CGGo_Click();
    void CGBack_Click();
    // x, y in client-area pixels.
    void Picture1_MouseMove(int x, int y);
    void Picture1_Click();
    void SystemBack_Click();

    bool viewing() const { return CGViewing; }

  private:
    void LoadThumbnails();
    void PaintThumbnailPage();
    void ShowPage();
    void TurnPage(int by);

    MainWindow& w_;
    Graphics& graphics_;
    bool CGViewing = false;
    std::uint8_t CGNumber = 0;
    std::int16_t CGMouseX = 0;
    std::int16_t CGMouseY = 0;
    std::int16_t CGCellCol = 0;
    std::int16_t CGCellRow = 0;
};

}  // namespace tsukikage
