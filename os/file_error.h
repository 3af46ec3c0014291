#pragma once
// The one place where the errno of a failed file step becomes the error the
// operator sees.
#include <stdexcept>
#include <string>

namespace tv {

// A failed file step, carrying the platform-neutral code its message was made from
// (2 not found, 3 bad name, 4 too many open files, 5 access denied, other: errno).
class InOutError : public std::runtime_error {
public:
    InOutError(int code, const std::string& message) : std::runtime_error(message), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};

// ENOENT -> 2 "ファイルが見つかりません"; ENOTDIR, ENAMETOOLONG, EINVAL -> 3 "不正なファイル名です";
// EMFILE, ENFILE -> 4 "オープンしたファイルが多すぎます"; EACCES, EPERM, EROFS -> 5
// "ファイルへのアクセスが拒否されました"; any other errno n -> code n, "I/O エラー (n)".
InOutError fileError(int errnoValue);

}  // namespace tv
