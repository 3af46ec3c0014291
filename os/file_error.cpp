#include "os/file_error.h"

namespace tv {

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
    return InOutError(code, "I/O エラー (" + std::to_string(code) + ")");
}

}  // namespace tv
