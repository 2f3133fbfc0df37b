#pragma once

#include <QImage>

#include <filesystem>

namespace tsukikage::demo {

// The window's background picture: the whole 662 x 601 client area, a dark blue-grey
// gradient with a thin lattice frame around the message area.
QImage DrawWindowPicture();

// The numbered pictures of the demo game, 640 x 480, from 1 to kNumberedPictures.
inline constexpr int kNumberedPictures = 9;
QImage DrawNumberedPicture(int number);
// The gallery thumbnail of a picture: 160 x 120.
QImage Thumbnail(const QImage& picture);
// The full-size and thumbnail placeholders of pictures not yet seen, and the picture shown
// while a saved game loads.
QImage DrawPlaceholderPicture();
QImage DrawLoadingPicture();

// Writes the numbered pictures (Data\001.jpg ...), their thumbnails under Data\smallsize,
// the placeholders Data\nothing.jpg and Data\smallsize\nothing.jpg, Data\nowload.jpg, and a
// seen-picture record "cgmode.dat" of nothing seen unless the folder already holds one.
void WritePictureFiles(const std::filesystem::path& game_folder);

}  // namespace tsukikage::demo
