#include "graphics/picture_box.h"

#include <algorithm>
#include <memory>

#include "base/surface_ops.h"

namespace tsukikage {
namespace {

// The picture covers every pixel of the image it would make: the image is the picture.
bool PictureFillsArea(const Control& box) {
    return box.picture && box.picture->width == DrawingWidth(box) &&
           box.picture->height == DrawingHeight(box);
}

}  // namespace

int DrawingWidth(const Control& box) {
    return std::max(0, box.rect.width - 2 * kPictureBoxBorder);
}

int DrawingHeight(const Control& box) {
    return std::max(0, box.rect.height - 2 * kPictureBoxBorder);
}

Surface& DrawingImage(Control& box) {
    if (box.ShownImage()) return *box.image;
    std::shared_ptr<Surface> image;
    if (PictureFillsArea(box)) {
        image = std::make_shared<Surface>(*box.picture);
    } else {
        image = std::make_shared<Surface>(DrawingWidth(box), DrawingHeight(box),
                                          0xFF000000u | (box.back_color & 0xFFFFFFu));
        if (box.picture) {
            CopySurface(*image, 0, 0, *box.picture,
                        {0, 0, box.picture->width, box.picture->height});
        }
    }
    box.image = std::move(image);
    box.image_source = box.picture;
    return *box.image;
}

const Surface& ShownPixels(Control& box) {
    if (!box.ShownImage() && PictureFillsArea(box)) return *box.picture;
    return DrawingImage(box);
}

std::shared_ptr<const Surface> ShownPicture(Control& box) {
    if (!box.ShownImage() && PictureFillsArea(box)) return box.picture;
    return std::make_shared<const Surface>(DrawingImage(box));
}

}  // namespace tsukikage
