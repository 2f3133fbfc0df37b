#include "base/runtime_error.h"

namespace tsukikage {

std::string ErrorDescription(int number) {
    switch (number) {
        case err::kInvalidCall:
            return "プロシージャの呼び出し、または引数が不正です。";
        case err::kOverflow:
            return "オーバーフローしました。";
        case err::kOutOfMemory:
            return "メモリが不足しています。";
        case err::kSubscriptOutOfRange:
            return "インデックスが有効範囲にありません。";
        case err::kDivisionByZero:
            return "0 で除算しました。";
        case err::kTypeMismatch:
            return "型が一致しません。";
        case err::kBadFileNameOrNumber:
            return "ファイル名または番号が不正です。";
        case err::kFileNotFound:
            return "ファイルが見つかりません。";
        case err::kBadFileMode:
            return "ファイル モードが不正です。";
        case err::kFileAlreadyOpen:
            return "ファイルは既に開かれています。";
        case err::kDeviceIoError:
            return "デバイス I/O エラーです。";
        case err::kDiskFull:
            return "ディスクの空き容量が不足しています。";
        case err::kInputPastEndOfFile:
            return "ファイルにこれ以上データがありません。";
        case err::kPermissionDenied:
            return "書き込みできません。";
        case err::kPathFileAccessError:
            return "パス名が無効です。";
        case err::kPathNotFound:
            return "パスが見つかりません。";
        case err::kInvalidPicture:
            return "ピクチャが不正です。";
        default:
            return "アプリケーション定義またはオブジェクト定義のエラーです。 (" +
                   std::to_string(number) + ")";
    }
}

RuntimeError::RuntimeError(int number) : number_(number), description_(ErrorDescription(number)) {}

void Raise(int number) {
    throw RuntimeError(number);
}

}  // namespace tsukikage
