#pragma once

#include <QImage>

namespace tsukikage::demo {

// The window's background picture: the whole 662 x 601 client area, a dark blue-grey
// gradient with a thin lattice frame around the message area.
QImage DrawWindowPicture();

}  // namespace tsukikage::demo
