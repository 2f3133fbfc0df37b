#pragma once

#include <string>
#include <string_view>

namespace tsukikage {

// Shift-JIS (code page 932, as glibc iconv's "CP932") to UTF-8. Bytes that form no CP932
// character become U+FFFD; a lead byte never swallows a following byte that cannot be a
// trail byte (so a CR after a broken lead byte survives). Never throws on bad input.
std::string Cp932ToUtf8(std::string_view bytes);
// The same, appended to `out`: for text gathered from many pieces, with no string made for each.
void AppendCp932AsUtf8(std::string_view bytes, std::string& out);

// UTF-8 to CP932. Characters that CP932 cannot hold, and invalid UTF-8, become '?'.
std::string Utf8ToCp932(std::string_view text);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

}  // namespace tsukikage
