#pragma once

#include <QImage>
#include <QPainter>

#include <filesystem>

#include "demo_files.h"

namespace tsukikage::demo {

// The window's background picture: the whole 662 x 601 client area, a dark blue-grey
// gradient with a thin lattice frame clear of the choice captions in the message area.
QImage DrawWindowPicture();

// The numbered pictures of the demo game, 640 x 480, from 1 to kNumberedPictures.
QImage DrawNumberedPicture(int number);
// The gallery thumbnail of a picture: 160 x 120.
QImage Thumbnail(const QImage& picture);
// The full-size and thumbnail placeholders of pictures not yet seen, and the picture shown
// while a saved game loads.
QImage DrawPlaceholderPicture();
QImage DrawLoadingPicture();

// Writes the numbered pictures (Data\001.jpg ...), their thumbnails under Data\smallsize,
// the placeholders Data\nothing.jpg and Data\smallsize\nothing.jpg, and Data\nowload.jpg.
void WritePictureFiles(const std::filesystem::path& game_folder);

// The start-up and title pictures (640 x 480): the title lettering on paper, the disclaimer,
// and the title screen, whose lower right quarter stays quiet under the title images.
QImage DrawTitleLettering();
QImage DrawDisclaimer();
QImage DrawTitlePicture();
// A 211 x 26 title image: the caption on a dark band with a fine gold frame.
QImage DrawTitleImage(const TitleImage& image);

// A picture of the given size, painted by `paint` with smooth edges and text.
template <typename Paint>
QImage PaintedPicture(int width, int height, Paint&& paint) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(painter);
    painter.end();
    return image;
}

// Painting shared by the 640 x 480 pictures.
void Sky(QPainter& p, QColor top, QColor bottom, int horizon = 480);
void Stars(QPainter& p, int count, int max_y, unsigned seed);
void Moon(QPainter& p, QPointF at, qreal r);
// A small four-petal lattice knot, the kind found on temple screens, centred on `at`.
void DrawKnot(QPainter& painter, QPointF at, qreal size);

}  // namespace tsukikage::demo
