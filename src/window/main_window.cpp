#include "window/main_window.h"

#include "base/runtime_error.h"

namespace tsukikage {

MainWindow::MainWindow(Platform& platform_, std::filesystem::path game_folder,
                       std::filesystem::path user_records)
    : platform(platform_),
      folder(std::move(game_folder)),
      records(folder, std::move(user_records)) {}

std::shared_ptr<const Surface> MainWindow::LoadPicture(std::string_view name) {
    std::shared_ptr<const Surface> picture = LoadPictureIfPresent(name);
    if (!picture) Raise(err::kFileNotFound);
    return picture;
}

std::shared_ptr<const Surface> MainWindow::LoadPictureIfPresent(std::string_view name) {
    const std::filesystem::path* path = folder.Lookup(name);
    if (!path) return nullptr;
    return platform.picture_decoder.Decode(*path);
}

void MainWindow::SelectMode(Mode mode) {
    // A transition belongs to the screen it began on: its remaining frames would draw over
    // the new one (and bring back the advance marker there).
    state.EffectMode = 0;
    SetModeFlags(state, mode);
    ModeSelect();
}

void MainWindow::ModeSelect() {
    if (mode_layout_) mode_layout_();
    form.Changed();
}

}  // namespace tsukikage
