#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace tsukikage {

// One chunk of a RIFF file: its four-letter id and its body.
struct RiffChunk {
    std::string_view id;
    std::string_view body;
};

// The form type ("WAVE", "RMID") and the top-level chunks of a RIFF file, in file order.
// Chunks of odd size are followed by a pad byte, which is passed over; a chunk that claims more
// than the file holds is cut at its end, as are a declared RIFF size that is too large or too
// small. Nothing when the bytes do not begin with "RIFF" and a form type.
struct RiffFile {
    std::string_view form;
    std::vector<RiffChunk> chunks;

    // The first chunk with the id, or nothing.
    std::optional<std::string_view> Find(std::string_view id) const;
};

std::optional<RiffFile> ReadRiff(std::string_view bytes);

}  // namespace tsukikage
