#pragma once
// The one place where the errno of a failed file step becomes the error the
// operator sees.
#include "synth/errors.h"

namespace tv {

// ENOENT -> 2 "ファイルが見つかりません"; ENOTDIR, ENAMETOOLONG, EINVAL -> 3 "不正なファイル名です";
// EMFILE, ENFILE -> 4 "オープンしたファイルが多すぎます"; EACCES, EPERM, EROFS -> 5
// "ファイルへのアクセスが拒否されました"; any other errno n -> code n, "I/O エラー (n)".
InOutError fileError(int errnoValue);

}  // namespace tv
