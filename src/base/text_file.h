#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tsukikage {

// A sequential text file opened for input, read whole into memory when opened.
//
// Line reads end at CR LF or at a lone CR; a lone LF stays part of the line. Field reads take
// values separated by commas or line ends (CR, LF or CR LF), skipping leading blanks; a value
// in double quotes is taken verbatim and may hold commas. Reading at the end raises error 62.
// Text is CP932 on disk and UTF-8 in the program.
class TextInput {
  public:
    // Opens a file; a missing file raises 53, a folder or unreadable file 75.
    static TextInput Open(const std::filesystem::path& path);
    explicit TextInput(std::string bytes);

    bool AtEnd() const { return pos_ >= bytes_.size(); }
    void Rewind() { pos_ = 0; }
    // Goes on reading from a place that position() gave; past the end is the end.
    void Seek(std::size_t position) { pos_ = std::min(position, bytes_.size()); }
    // How many bytes have been read: where the next read starts.
    std::size_t position() const { return pos_; }
    // The whole file as it is on disk.
    std::string_view bytes() const { return bytes_; }

    // The next line, decoded to UTF-8.
    std::string ReadLine();
    // The next line as raw CP932 bytes; valid until the next read or rewind.
    std::string_view ReadRawLine();

    // The next field as text (quoted text without its quotes; an unquoted field with
    // trailing blanks removed, "#TRUE#" and "#FALSE#" as written).
    std::string ReadField();
    // Numeric fields: an unquoted number ends at a blank, comma or line end. "#TRUE#" reads
    // as -1 and "#FALSE#" as 0; text that is no number raises 13, out of range raises 6.
    std::int16_t ReadInteger();
    std::int32_t ReadLong();
    std::uint8_t ReadByte();
    // "#TRUE#" / "#FALSE#", or a number (non-zero is true); anything else raises 13.
    bool ReadBoolean();

  private:
    std::string_view ReadRawField(bool numeric, bool* quoted);

    std::string bytes_;
    std::size_t pos_ = 0;
};

// Builds the bytes of a record file in the original's sequential output forms.
class TextOutput {
  public:
    // Write form: values of one statement separated by commas, line ended by CR LF; numbers
    // plain, booleans "#TRUE#"/"#FALSE#", text in double quotes (CP932).
    TextOutput& WriteNumber(long long value);
    TextOutput& WriteBoolean(bool value);
    TextOutput& WriteText(std::string_view utf8);
    TextOutput& EndLine();

    // Print form: a number with a leading blank for its sign (or "-") and a trailing blank.
    TextOutput& PrintNumber(long long value);
    TextOutput& PrintText(std::string_view utf8);

    const std::string& bytes() const { return bytes_; }

  private:
    void Separate();
    std::string bytes_;
    bool line_has_value_ = false;
};

// Replaces a file's content safely: the bytes go to a temporary file in the same folder,
// are flushed to disk, and the temporary file is renamed over the target, so a crash or a
// full disk never leaves a half-written file. Raises 61 (disk full), 70 (not writable),
// 76 (folder missing) or 57 (other I/O failure); the old file then stays as it was. A regular
// file that holds exactly these bytes already is not written again (a read-only one still
// raises 70).
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

// One record file that the game writes again and again, mostly with the bytes it holds
// already (the seen pictures on every picture shown, the endings on every ending reached): a
// write of the bytes written last is passed over while the file is still the one written then
// (the same file, unchanged since: its device, inode, size and change time, and, while that
// change time is too recent to tell a later change in the same clock tick, its bytes), so the
// file holds them all the same. Any other write goes through ReplaceFile, with its errors.
class RecordWriter {
  public:
    void Write(const std::filesystem::path& path, std::string_view bytes);
    // The file last written still holds exactly these bytes, as written: a write of them
    // would be passed over, so the caller need not even find the file's path again.
    bool Holds(std::string_view bytes) const;

    // What identifies one state of a file on disk.
    struct Stamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t changed_s = 0;
        std::int64_t changed_ns = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

  private:
    bool written_ = false;  // the members below describe the last write
    std::string path_;
    std::string bytes_;
    Stamp stamp_;
};

// Keeps a damaged record before it is rewritten: a copy beside it named "<name>.damaged",
// made only once, so a later damage never replaces the first copy. Nothing happens when the
// record is missing. Raises the errors of ReplaceFile when the copy cannot be written.
void KeepDamagedCopy(const std::filesystem::path& path);

}  // namespace tsukikage
