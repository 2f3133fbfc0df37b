#include "base/runtime_error.h"

#include <algorithm>
#include <iterator>

namespace tsukikage {
namespace {

struct Description {
    int number;
    std::string_view text;
};

constexpr Description kDescriptions[] = {
    {err::kInvalidCall, "プロシージャの呼び出し、または引数が不正です。"},
    {err::kOverflow, "オーバーフローしました。"},
    {err::kOutOfMemory, "メモリが不足しています。"},
    {err::kSubscriptOutOfRange, "インデックスが有効範囲にありません。"},
    {err::kDivisionByZero, "0 で除算しました。"},
    {err::kTypeMismatch, "型が一致しません。"},
    {err::kOutOfStackSpace, "スタック領域が不足しています。"},
    {err::kBadFileNameOrNumber, "ファイル名または番号が不正です。"},
    {err::kFileNotFound, "ファイルが見つかりません。"},
    {err::kBadFileMode, "ファイル モードが不正です。"},
    {err::kFileAlreadyOpen, "ファイルは既に開かれています。"},
    {err::kDeviceIoError, "デバイス I/O エラーです。"},
    {err::kDiskFull, "ディスクの空き容量が不足しています。"},
    {err::kInputPastEndOfFile, "ファイルにこれ以上データがありません。"},
    {err::kPermissionDenied, "書き込みできません。"},
    {err::kPathFileAccessError, "パス名が無効です。"},
    {err::kPathNotFound, "パスが見つかりません。"},
    {err::kInvalidPicture, "ピクチャが不正です。"},
};

}  // namespace

std::string ErrorDescription(int number) {
    const auto* found = std::find_if(std::begin(kDescriptions), std::end(kDescriptions),
                                     [number](const Description& d) { return d.number == number; });
    if (found != std::end(kDescriptions)) return std::string(found->text);
    return "アプリケーション定義またはオブジェクト定義のエラーです。 (" + std::to_string(number) +
           ")";
}

RuntimeError::RuntimeError(int number) : number_(number), description_(ErrorDescription(number)) {}

void Raise(int number) {
    throw RuntimeError(number);
}

}  // namespace tsukikage
