#include "os/file_error.h"

#include <cerrno>
#include <string>

namespace tv {

InOutError fileError(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return InOutError(2, "ファイルが見つかりません");
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return InOutError(3, "不正なファイル名です");
        case EMFILE:
        case ENFILE:
            return InOutError(4, "オープンしたファイルが多すぎます");
        case EACCES:
        case EPERM:
        case EROFS:
            return InOutError(5, "ファイルへのアクセスが拒否されました");
        default:
            return InOutError(errnoValue, "I/O エラー (" + std::to_string(errnoValue) + ")");
    }
}

}  // namespace tv
