#include "base/picture_file.h"

#include <fstream>

#include "base/runtime_error.h"

namespace tsukikage {

std::string ReadPictureFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Raise(err::kFileNotFound);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0 || size > kMaxPictureFileBytes) Raise(err::kInvalidPicture);
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), size)) Raise(err::kInvalidPicture);
    return bytes;
}

}  // namespace tsukikage
