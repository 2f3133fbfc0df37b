#include "graphics/picture_names.h"

#include "base/numeric.h"

namespace tsukikage {
namespace {

std::string PaddedName(std::string_view folder, std::string_view number_text, long long value) {
    std::string name(folder);
    if (value <= 9) {
        name += "00";
    } else if (value <= 99) {
        name += "0";
    }
    name += number_text;
    name += ".jpg";
    return name;
}

}  // namespace

std::string PictureFileName(std::string_view number_text, long long value) {
    return PaddedName(kPictureFolder, number_text, value);
}

std::string PictureFileName(long long number) {
    return PaddedName(kPictureFolder, DecimalText(number), number);
}

std::string PictureBaseName(long long number) {
    return PaddedName("", DecimalText(number), number);
}

std::string ThumbnailFileName(long long number) {
    return PaddedName("\\data\\smallsize\\", DecimalText(number), number);
}

}  // namespace tsukikage
