#include "view/qt/game_window.h"

namespace tsukikage {

void GameWindow::ShowContextMenu(const QPoint&) {}

void GameWindow::OpenSettings() {}

}  // namespace tsukikage
