#include "graphics/picture_box.h"

#include <algorithm>
#include <memory>

#include "base/surface_ops.h"

namespace tsukikage {

Surface& DrawingImage(Control& box) {
    if (box.ShownImage()) return *box.image;
    const int width = std::max(0, box.rect.width - 2 * kPictureBoxBorder);
    const int height = std::max(0, box.rect.height - 2 * kPictureBoxBorder);
    auto image =
        std::make_shared<Surface>(width, height, 0xFF000000u | (box.back_color & 0xFFFFFFu));
    if (box.picture) {
        CopySurface(*image, 0, 0, *box.picture, {0, 0, box.picture->width, box.picture->height});
    }
    box.image = std::move(image);
    box.image_source = box.picture;
    return *box.image;
}

}  // namespace tsukikage
