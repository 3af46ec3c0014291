#include "os/file_error.h"

#include <string_view>

#include "os/system_error_text.h"

namespace tv {

namespace {

constexpr std::string_view kNumbered = "I/O エラー (";

}  // namespace

InOutError inOutError(int code) {
    switch (code) {
        case 2:
            return InOutError(2, "ファイルが見つかりません");
        case 3:
            return InOutError(3, "不正なファイル名です");
        case 4:
            return InOutError(4, "オープンしたファイルが多すぎます");
        case 5:
            return InOutError(5, "ファイルへのアクセスが拒否されました");
        default:
            return numberedInOutError(code);
    }
}

InOutError numberedInOutError(int code) {
    return InOutError(code, std::string(kNumbered) + std::to_string(code) + ")");
}

InOutError fileErrorWithCause(int systemCode) {
    InOutError error = fileError(systemCode);
    const std::string cause = systemErrorText(systemCode);
    if (cause.empty() || !std::string_view(error.what()).starts_with(kNumbered)) return error;
    return InOutError(error.code(), error.what() + (": " + cause));
}

}  // namespace tv
