#include "base/runtime_error.h"

#include <algorithm>
#include <iterator>

namespace tsukikage {
namespace {

struct Description {
    int number;
    std::string_view text;
    std::string_view english;
};

constexpr Description kDescriptions[] = {
    {err::kInvalidCall, "プロシージャの呼び出し、または引数が不正です。",
     "Invalid procedure call or argument"},
    {err::kOverflow, "オーバーフローしました。", "Overflow"},
    {err::kOutOfMemory, "メモリが不足しています。", "Out of memory"},
    {err::kSubscriptOutOfRange, "インデックスが有効範囲にありません。", "Subscript out of range"},
    {err::kDivisionByZero, "0 で除算しました。", "Division by zero"},
    {err::kTypeMismatch, "型が一致しません。", "Type mismatch"},
    {err::kOutOfStackSpace, "スタック領域が不足しています。", "Out of stack space"},
    {err::kBadFileNameOrNumber, "ファイル名または番号が不正です。", "Bad file name or number"},
    {err::kFileNotFound, "ファイルが見つかりません。", "File not found"},
    {err::kBadFileMode, "ファイル モードが不正です。", "Bad file mode"},
    {err::kFileAlreadyOpen, "ファイルは既に開かれています。", "File already open"},
    {err::kDeviceIoError, "デバイス I/O エラーです。", "Device I/O error"},
    {err::kDiskFull, "ディスクの空き容量が不足しています。", "Disk full"},
    {err::kInputPastEndOfFile, "ファイルにこれ以上データがありません。", "Input past end of file"},
    {err::kPermissionDenied, "書き込みできません。", "Permission denied"},
    {err::kPathFileAccessError, "パス名が無効です。", "Path/File access error"},
    {err::kPathNotFound, "パスが見つかりません。", "Path not found"},
    {err::kInvalidPicture, "ピクチャが不正です。", "Invalid picture"},
};

const Description* Find(int number) {
    const auto* found = std::find_if(std::begin(kDescriptions), std::end(kDescriptions),
                                     [number](const Description& d) { return d.number == number; });
    return found != std::end(kDescriptions) ? found : nullptr;
}

}  // namespace

std::string ErrorDescription(int number) {
    if (const Description* found = Find(number)) return std::string(found->text);
    return "アプリケーション定義またはオブジェクト定義のエラーです。 (" + std::to_string(number) +
           ")";
}

std::string EnglishErrorDescription(int number) {
    if (const Description* found = Find(number)) return std::string(found->english);
    return "Application-defined or object-defined error (" + std::to_string(number) + ")";
}

RuntimeError::RuntimeError(int number) : number_(number), description_(ErrorDescription(number)) {}

void Raise(int number) {
    throw RuntimeError(number);
}

}  // namespace tsukikage
