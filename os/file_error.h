#pragma once
// The one place where the system's code of a failed file step becomes the error
// the operator sees.
#include <stdexcept>
#include <string>

namespace tv {

// A failed file step, carrying the platform-neutral code its message was made from
// (2 not found, 3 bad name, 4 too many open files, 5 access denied, other: the
// system's own code).
class InOutError : public std::runtime_error {
public:
    InOutError(int code, const std::string& message) : std::runtime_error(message), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};

// The error for a platform-neutral code: 2 "ファイルが見つかりません", 3 "不正なファイル名です",
// 4 "オープンしたファイルが多すぎます", 5 "ファイルへのアクセスが拒否されました", any other
// code n "I/O エラー (n)".
InOutError inOutError(int code);
// "I/O エラー (n)" whatever the code.
InOutError numberedInOutError(int code);

// The error for the system's code of a failed step.
// POSIX, an errno: ENOENT -> 2; ENOTDIR, ENAMETOOLONG, EINVAL -> 3; EMFILE,
// ENFILE -> 4; EACCES, EPERM, EROFS -> 5; any other errno keeps its own number
// (ENOSPC 28, EFBIG 27 when a file-size limit is reached).
// Windows, a GetLastError() code: 2 to 5 are the neutral codes themselves;
// ERROR_INVALID_NAME, ERROR_BAD_PATHNAME, ERROR_FILENAME_EXCED_RANGE,
// ERROR_DIRECTORY -> 3; ERROR_WRITE_PROTECT -> 5; any other code keeps its own
// number (ERROR_DISK_FULL 112).
InOutError fileError(int systemCode);

// fileError, but a numbered message also names the cause in the system's own
// words, which a number alone does not tell an operator: "I/O エラー (40): Too
// many levels of symbolic links". For reading, where the message is not fixed.
InOutError fileErrorWithCause(int systemCode);

}  // namespace tv
