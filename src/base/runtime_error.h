#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace tsukikage {

// Error numbers of the original run-time library that this program raises.
namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kOutOfStackSpace = 28;
inline constexpr int kBadFileNameOrNumber = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kBadFileMode = 54;
inline constexpr int kFileAlreadyOpen = 55;
inline constexpr int kDeviceIoError = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEndOfFile = 62;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccessError = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidPicture = 481;
}  // namespace err

// The Japanese description of a run-time error number, as the original run-time library
// words it (UTF-8). Unknown numbers get a generic text that names the number.
std::string ErrorDescription(int number);
// The same in English, for the terminal, as the English run-time library words it.
std::string EnglishErrorDescription(int number);

// A run-time error: the engine's only exception type. Handlers show its description.
class RuntimeError : public std::exception {
  public:
    explicit RuntimeError(int number);
    int number() const noexcept { return number_; }
    const char* what() const noexcept override { return description_.c_str(); }

  private:
    int number_;
    std::string description_;
};

[[noreturn]] void Raise(int number);

}  // namespace tsukikage
